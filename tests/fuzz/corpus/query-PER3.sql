TRANSFORM Sum(PER2.Lessons) AS Lessons
SELECT tblTutors.Tutor, tblDisciplines.Discipline, Nz((SELECT Sum(tblJobList.Hours) FROM tblJobList
    WHERE tblJobList.Key_Job = tblJob.Key),0) AS всего, Sum(PER2.Lessons) AS отраб, Nz((SELECT
    Sum(tblJobList.Hours) FROM tblJobList WHERE tblJobList.Key_Job = tblJob.Key),0) -
    Sum(PER2.Lessons) AS остат
FROM ((PER2 INNER JOIN tblJob ON PER2.Key_Job = tblJob.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor
    = tblTutors.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key
GROUP BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblJob.Key
ORDER BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblJob.Key
PIVOT PER2.Group;

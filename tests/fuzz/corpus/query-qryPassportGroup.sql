PARAMETERS pKeyGroup Long;
SELECT tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Hours, (SELECT Count(*) FROM
    tblTimeTableContent WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND
    tblTimeTableContent.Key_Group = tblJobList.Key_Group) AS [Count-Lesson], (SELECT
    Max(tblTimeTableList.Date) FROM tblTimeTableList INNER JOIN tblTimeTableContent ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableContent.Key_Job =
    tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group) AS [Max-Date],
    tblJobList.DateExam, tblJobList.Key AS KeyJobList, tblDisciplines.Discipline1, tblGroups.Group,
    tblGroups.Course
FROM (((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines
    ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor =
    tblTutors.Key) INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key
WHERE (((tblJobList.Key_Group)=[pKeyGroup]))
ORDER BY tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Key;

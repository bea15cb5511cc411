PARAMETERS pKeyGroup Long;
SELECT tblJobList.Key AS KeyJobList, tblDisciplines.Discipline, tblDisciplines.Discipline1,
    tblDisciplines.LevelDiff, tblTutors.Tutor, tblTutors.Key AS KeyTutor, tblAuditories.Auditoria,
    tblAuditories.Corpus, tblAuditories.Key AS KeyAud, tblJobList.Hours, (SELECT Count(*) FROM
    tblTimeTableContent WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND
    tblTimeTableContent.Key_Group = tblJobList.Key_Group) AS CountLesson, tblJob.Key AS KeyJob,
    tblDisciplines.Key AS KeyDiscipline
FROM ((((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines
    ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor =
    tblTutors.Key) LEFT JOIN tblAuditories ON tblTutors.DefaultAud = tblAuditories.Auditoria & ' ('
    & tblAuditories.Corpus & ')')
WHERE (((tblJobList.Key_Group)=[pKeyGroup]))
ORDER BY tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Key;

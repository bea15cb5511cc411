PARAMETERS pKeyTutor Long;
SELECT tblJobList.Key AS KeyJobList, tblGroups.Group, tblGroups.Course, tblGroups.Key AS KeyGroup,
    tblDisciplines.Discipline, tblDisciplines.Discipline1, tblDisciplines.LevelDiff,
    tblJobList.Hours, (SELECT Count(*) FROM tblTimeTableContent WHERE tblTimeTableContent.Key_Job =
    tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group) AS CountLesson,
    tblAuditories.Auditoria, tblAuditories.Corpus, tblAuditories.Key AS KeyAud, tblJob.Key AS
    KeyJob, tblDisciplines.Key AS KeyDiscipline, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty
FROM ((((((tblJob INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job) INNER JOIN tblGroups ON
    tblJobList.Key_Group = tblGroups.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline =
    tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) LEFT JOIN
    tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblAuditories ON
    tblTutors.DefaultAud = tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')')
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key, tblDisciplines.Discipline,
    tblJobList.Key;

SELECT tblTutors.Tutor, tblDisciplines.Discipline, tblGroups.Group, tblGroups.Course,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty, tblJobList.Hours,
    TutorAud.Auditoria, TutorAud.Corpus, tblTutors.Key AS KeyTutor, tblDisciplines.Key AS
    KeyDiscipline, tblGroups.Key AS KeyGroup, tblJob.Key AS KeyJob, tblJobList.Key AS KeyJobList,
    tblJobList.DateExam, (SELECT Count(*) FROM tblTimeTableContent WHERE tblTimeTableContent.Key_Job
    = tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group) AS CountLesson,
    tblDisciplines.DiscType, tblGroups.Key_TypeTuition, tblGroups.Key_TypeFinance
FROM ((((((tblTutors INNER JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN
    tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblJobList ON
    tblJob.Key = tblJobList.Key_Job) INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key)
    LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN (SELECT
    T.Key AS KeyTutorAud, A.Key AS KeyAud, A.Auditoria, A.Corpus FROM tblTutors AS T INNER JOIN
    tblAuditories AS A ON T.DefaultAud = A.Auditoria & ' (' & A.Corpus & ')') AS TutorAud ON
    tblTutors.Key = TutorAud.KeyTutorAud)
ORDER BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblDisciplines.Key,
    tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

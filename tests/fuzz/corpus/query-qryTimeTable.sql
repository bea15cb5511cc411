PARAMETERS pDate DateTime;
SELECT tblGroups.Group, tblGroups.Course, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty, tblTutors.Tutor, tblDisciplines.Discipline, tblDisciplines.Discipline1,
    tblAuditories.Auditoria AS Aud, tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson,
    tblTimeTableContent.Lesson, tblTimeTableContent.SubGroup, tblDisciplines.DiscColor,
    tblGroups.GroupColor, tblAuditories.Corpus, tblTimeTableContent.Key,
    tblTimeTableContent.Key_Group, tblGroups.Key_TypeFaculty, tblJob.Key_Tutor,
    tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Aud, tblTimeTableContent.Key_TypeLesson
FROM ((((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblGroups ON tblTimeTableContent.Key_Group =
    tblGroups.Key) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN
    tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) LEFT JOIN tblTypeFaculty ON
    tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblAuditories ON
    tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key)
WHERE (((tblTimeTableList.Date)=[pDate]))
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key, tblTimeTableContent.Lesson,
    tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

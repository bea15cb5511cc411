PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT tblTypeLesson.LongTypeLesson, tblDisciplines.Discipline, [Group] & '  (' & [Course] & ')' AS
    GroupCourse, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Count(tblTimeTableContent.Key) AS CountLessons, tblTimeTableContent.Key_TypeLesson,
    tblGroups.Key AS KeyGroup
FROM ((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblTypeFaculty ON
    tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key)
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND ((tblTimeTableList.Date) Between [pStartDate] And
    [pEndDate]))
GROUP BY tblTimeTableContent.Key_TypeLesson, tblTypeLesson.LongTypeLesson,
    tblDisciplines.Discipline, tblGroups.Key, tblGroups.Group, tblGroups.Course,
    tblTypeFaculty.TypeFaculty
ORDER BY tblTimeTableContent.Key_TypeLesson, tblDisciplines.Discipline, tblGroups.Course,
    Len(tblGroups.Group), tblGroups.Group, tblGroups.Key;

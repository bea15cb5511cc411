SELECT tblTimeTableList.Date, Weekday(tblTimeTableList.Date, 2) AS WeekDayN,
    tblTimeTableContent.Lesson, (SELECT First(tblTimeLesson.TimeLesson) FROM tblTimeLesson WHERE
    tblTimeLesson.Lesson = tblTimeTableContent.Lesson) AS TimeLesson, tblTutors.Tutor,
    tblGroups.Group, tblGroups.Course, [Group] & '  (' & [Course] & ')' AS GroupCourse,
    tblDisciplines.Discipline, tblDisciplines.Discipline1, tblAuditories.Auditoria AS Aud,
    tblAuditories.Corpus, tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson,
    tblTimeTableContent.SubGroup, tblJob.Key_Tutor, tblTimeTableContent.Key_Group,
    tblTimeTableContent.Key_Aud
FROM ((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblAuditories ON
    tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key;

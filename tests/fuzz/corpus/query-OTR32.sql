SELECT tblJob.Key_Tutor, tblTutors.Tutor, tblDisciplines.Discipline, tblTimeTableList.Date,
    tblTimeTableContent.Lesson, Count(tblTimeTableContent.Key_Group) AS CountGroups
FROM ((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key
WHERE (((tblTypeLesson.ShortTypeLesson) LIKE 'Лек*') OR ((tblTypeLesson.LongTypeLesson) LIKE
    'Лекц*'))
GROUP BY tblJob.Key_Tutor, tblTutors.Tutor, tblDisciplines.Discipline, tblTimeTableList.Date,
    tblTimeTableContent.Lesson
ORDER BY tblTutors.Tutor, tblTimeTableList.Date, tblTimeTableContent.Lesson,
    tblDisciplines.Discipline;

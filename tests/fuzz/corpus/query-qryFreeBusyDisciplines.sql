PARAMETERS pLesson Short, pDate DateTime;
SELECT tblDisciplines.Key, tblDisciplines.Discipline, tblDisciplines.Discipline1, Not
    (tblDisciplines.Key In (SELECT tblJob.Key_Discipline FROM (tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList) INNER JOIN tblJob
    ON tblTimeTableContent.Key_Job = tblJob.Key WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblJob.Key_Discipline Is Not Null)) AS FreeItem,
    tblDisciplines.DiscColor
FROM tblDisciplines
ORDER BY tblDisciplines.Discipline, tblDisciplines.Key;

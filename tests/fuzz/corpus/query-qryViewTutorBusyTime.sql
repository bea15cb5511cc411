SELECT tblTutors.Tutor, Count(tblTimeTableContent.Lesson) AS CountLesson, Min(tblTimeTableList.Date)
    AS MinDate, Max(tblTimeTableList.Date) AS MaxDate, DateDiff('d',[MinDate],[MaxDate]) AS
    CountDays
FROM tblTutors INNER JOIN (tblTimeTableList INNER JOIN (tblJob INNER JOIN tblTimeTableContent ON
    tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor
GROUP BY tblTutors.Tutor
HAVING (((tblTutors.Tutor)=''));

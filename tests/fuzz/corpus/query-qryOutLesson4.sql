PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND ((tblTimeTableList.Date) Between [pStartDate] And
    [pEndDate]))
ORDER BY tblTimeTableList.Date, tblTimeTableContent.Lesson;

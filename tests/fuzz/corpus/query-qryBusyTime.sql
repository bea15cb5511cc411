PARAMETERS pStartDate DateTime, pEndDate DateTime, pKeyTutor Long;
SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblTimeTableList.Date) Between [pStartDate] And [pEndDate]) AND
    ((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblTimeTableList.Date, tblTimeTableContent.Lesson;

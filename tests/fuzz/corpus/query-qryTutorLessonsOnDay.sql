PARAMETERS pLesson Short, pDate DateTime, pKeyTutor Long;
SELECT tblTimeTableContent.*
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblTimeTableContent.Lesson)=[pLesson]) AND ((tblTimeTableList.Date)=[pDate]) AND
    ((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

PARAMETERS pDate DateTime, pKeyTutor Long;
SELECT Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTimeTableContent.Lesson FROM (tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList) INNER JOIN tblJob
    ON tblTimeTableContent.Key_Job = tblJob.Key WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND
    ((tblTimeTableList.Date)=[pDate]))) AS TutorLessons;

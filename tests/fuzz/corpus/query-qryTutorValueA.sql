PARAMETERS pTutor Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblTutors INNER JOIN
    tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblTimeTableContent ON tblJob.Key =
    tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON tblTimeTableContent.Key_TTList =
    tblTimeTableList.Key WHERE (((tblTutors.Tutor)=[pTutor]) AND ((tblTimeTableList.Date)>Now())))
    AS Future;

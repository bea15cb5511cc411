PARAMETERS pKeyGroup Long, pDate DateTime;
SELECT Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTimeTableContent.Lesson FROM tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE
    (((tblTimeTableContent.Key_Group)=[pKeyGroup]) AND ((tblTimeTableList.Date)=[pDate]))) AS
    GroupLessons;

PARAMETERS pDate DateTime;
SELECT tblTimeTableList.*
FROM tblTimeTableList
WHERE (((tblTimeTableList.Date)=[pDate]));

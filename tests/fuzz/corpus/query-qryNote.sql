PARAMETERS pDate DateTime;
SELECT tblNotes.Note, tblNotes.Key_TTL, tblTimeTableList.Date
FROM tblTimeTableList INNER JOIN tblNotes ON tblTimeTableList.Key = tblNotes.Key_TTL
WHERE (((tblTimeTableList.Date)=[pDate]));

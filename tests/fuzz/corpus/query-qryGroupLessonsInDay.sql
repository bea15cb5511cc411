PARAMETERS pLesson Short, pDate DateTime, pKeyGroup Long;
SELECT tblTimeTableContent.*
FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableContent.Lesson)=[pLesson]) AND ((tblTimeTableList.Date)=[pDate]) AND
    ((tblTimeTableContent.Key_Group)=[pKeyGroup]))
ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

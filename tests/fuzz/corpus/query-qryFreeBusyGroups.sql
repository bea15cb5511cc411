PARAMETERS pLesson Short, pDate DateTime;
SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, Not (tblGroups.Key In (SELECT
    tblTimeTableContent.Key_Group FROM tblTimeTableList INNER JOIN tblTimeTableContent ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblTimeTableContent.Key_Group Is Not Null)) AS
    FreeItem, tblGroups.Key_TypeFaculty, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty, tblGroups.GroupColor
FROM tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

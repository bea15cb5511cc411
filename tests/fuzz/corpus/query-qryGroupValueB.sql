PARAMETERS pGroup Text, pCourse Text, pFaculty Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblGroups LEFT JOIN
    tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER JOIN tblTimeTableContent
    ON tblGroups.Key = tblTimeTableContent.Key_Group) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE (((tblGroups.Group)=[pGroup]) AND
    ((tblGroups.Course)=[pCourse]) AND
    ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует'))=IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])) AND ((tblTimeTableList.Date)<=Now()))) AS Held;

PARAMETERS pKeyTTL Long, pLesson Long, pKeyGroup Long, pSubGroup Short, pKeyJob Long;
SELECT tblTimeTableContent.*
FROM tblTimeTableContent
WHERE (((tblTimeTableContent.Key_TTList)=[pKeyTTL]) AND ((tblTimeTableContent.Lesson)=[pLesson]) AND
    ((tblTimeTableContent.Key_Group)=[pKeyGroup]) AND ((IIf(Nz(tblTimeTableContent.SubGroup, 0) = 0,
    1, tblTimeTableContent.SubGroup) = IIf(Nz([pSubGroup], 0) = 0, 1, [pSubGroup])) OR
    (tblTimeTableContent.Key_Job=[pKeyJob])))
ORDER BY tblTimeTableContent.Key;

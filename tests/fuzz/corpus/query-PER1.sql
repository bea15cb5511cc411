SELECT tblTimeTableList.Date, tblTimeTableContent.Key_Job, tblGroups.Group,
    tblTimeTableContent.Lesson
FROM tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#))
ORDER BY tblTimeTableList.Date, Len(tblGroups.Group), tblGroups.Group;

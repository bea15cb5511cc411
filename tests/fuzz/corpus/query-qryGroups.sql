SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, tblGroups.GroupColor, tblGroups.Comment,
    tblGroups.Key_TypeFaculty, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Nz(tblTypeTuition.TypeTuition,'Очная') AS TypeTuition,
    Nz(tblTypeFinance.TypeFinance,'Бюджетная') AS TypeFinance, tblGroups.Key_TypeTuition,
    tblGroups.Key_TypeFinance, [Group] & '  (' & [Course] & ')' AS GroupCourse
FROM ((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT
    JOIN tblTypeTuition ON tblGroups.Key_TypeTuition = tblTypeTuition.Key) LEFT JOIN tblTypeFinance
    ON tblGroups.Key_TypeFinance = tblTypeFinance.Key
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

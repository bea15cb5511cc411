PARAMETERS pGroup Text, pCourse Text, pFaculty Text, pTuition Text, pFinance Text;
SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Nz(tblTypeTuition.TypeTuition,'Очная') AS TypeTuition,
    Nz(tblTypeFinance.TypeFinance,'Бюджетная') AS TypeFinance
FROM ((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT
    JOIN tblTypeTuition ON tblGroups.Key_TypeTuition = tblTypeTuition.Key) LEFT JOIN tblTypeFinance
    ON tblGroups.Key_TypeFinance = tblTypeFinance.Key
WHERE (((tblGroups.Group)=[pGroup]) AND ((tblGroups.Course)=[pCourse]) AND
    ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])) OR (IIf(Nz([pFaculty], '') = '', 'отсутствует', [pFaculty])='отсутствует')))
ORDER BY IIf(Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty]),0,1),
    IIf(Nz(tblTypeTuition.TypeTuition,'Очная')=Nz([pTuition],'Очная'),0,1),
    IIf(Nz(tblTypeFinance.TypeFinance,'Бюджетная')=Nz([pFinance],'Бюджетная'),0,1), tblGroups.Key;

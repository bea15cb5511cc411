PARAMETERS pGroup Text, pCourse Text, pFaculty Text;
SELECT tblJobList.DateExam, tblDisciplines.Discipline, tblGroups.Key AS KeyGroup
FROM (((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER
    JOIN tblJobList ON tblGroups.Key = tblJobList.Key_Group) INNER JOIN tblJob ON tblJobList.Key_Job
    = tblJob.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key
WHERE (((tblGroups.Group)=[pGroup]) AND ((tblGroups.Course)=[pCourse]) AND ((tblJobList.DateExam) Is
    Not Null) AND ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty])) OR (IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])='отсутствует')))
ORDER BY IIf(Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty]),0,1), IIf(tblJobList.DateExam>=Date(),0,1),
    Abs(DateDiff('d',Date(),tblJobList.DateExam)), tblJobList.Key;

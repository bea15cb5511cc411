PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.FreeLesson, tblTutorOut.KeyTypeOut
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((Nz(tblTutorOut.FreeDay,0))=0) AND ((tblTutorOut.FreeLesson)>0))
ORDER BY tblTutorOut.FreeLesson;

PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.KeyTypeOut, tblTutorOut.FreeDay
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((tblTutorOut.FreeDay) Between 1 And 7) AND ((Nz(tblTutorOut.FreeLesson,0))=0))
ORDER BY tblTutorOut.FreeDay;

PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.FreeLesson, tblTutorOut.KeyTypeOut, tblTutorOut.FreeDay
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((tblTutorOut.FreeDay) Between 1 And 7) AND ((tblTutorOut.FreeLesson)>0))
ORDER BY tblTutorOut.FreeDay, tblTutorOut.FreeLesson;

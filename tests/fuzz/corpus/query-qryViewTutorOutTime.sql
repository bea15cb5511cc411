SELECT tblTutors.Tutor, tblTutorOut.FreeDay, tblTutorOut.FreeLesson, tblTutorOut.FreeLocalDate,
    tblTutorOut.KeyTypeOut
FROM tblTutors INNER JOIN tblTutorOut ON tblTutors.Key = tblTutorOut.KeyTutor
WHERE (((tblTutors.Tutor)=''));

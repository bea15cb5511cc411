PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.*
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]));

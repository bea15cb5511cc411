SELECT tblTutors.Key, tblTutors.Tutor, tblTutors.DefaultAud
FROM tblTutors
ORDER BY tblTutors.Tutor, tblTutors.Key;

PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT DaysOff.KeyTypeOut, Count(*) AS CountDays
FROM (SELECT DISTINCT tblTutorOut.KeyTypeOut, tblTutorOut.FreeLocalDate FROM tblTutorOut WHERE
    (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Between [pStartDate] And
    [pEndDate]) AND ((Nz(tblTutorOut.FreeLesson,0))=0))) AS DaysOff
GROUP BY DaysOff.KeyTypeOut
ORDER BY DaysOff.KeyTypeOut;

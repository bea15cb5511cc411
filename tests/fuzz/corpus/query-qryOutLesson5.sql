PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT LessonsOff.KeyTypeOut, Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTutorOut.KeyTypeOut, tblTutorOut.FreeLocalDate, tblTutorOut.FreeLesson FROM
    tblTutorOut WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Between
    [pStartDate] And [pEndDate]) AND ((tblTutorOut.FreeLesson)>0))) AS LessonsOff
GROUP BY LessonsOff.KeyTypeOut
ORDER BY LessonsOff.KeyTypeOut;

PARAMETERS pLesson Short, pDate DateTime;
SELECT tblTutors.Key, tblTutors.Tutor, (Not (tblTutors.Key In (SELECT tblJob.Key_Tutor FROM
    (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
    WHERE tblTimeTableList.Date = [pDate] AND tblTimeTableContent.Lesson = [pLesson] AND
    tblJob.Key_Tutor Is Not Null))) And (Not (tblTutors.Key In (SELECT tblTutorOut.KeyTutor FROM
    tblTutorOut WHERE tblTutorOut.KeyTutor Is Not Null AND (Nz(tblTutorOut.FreeLesson,0) = 0 OR
    tblTutorOut.FreeLesson = [pLesson]) AND ((tblTutorOut.FreeLocalDate = [pDate]) OR
    (tblTutorOut.FreeLocalDate Is Null AND tblTutorOut.FreeDay = Weekday([pDate],2)) OR
    (tblTutorOut.FreeLocalDate Is Null AND Nz(tblTutorOut.FreeDay,0) = 0 AND
    Nz(tblTutorOut.FreeLesson,0) > 0))))) AS FreeItem, tblTutors.DefaultAud
FROM tblTutors
ORDER BY tblTutors.Tutor, tblTutors.Key;

SELECT DISTINCT tblTimeTableList.Date, Weekday([Date],2) AS WeekDayN
FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN tblTimeTableContent ON tblJob.Key =
    tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# And #8/31/2001#) AND ((tblJob.Key_Tutor)=0) AND
    ((Weekday([Date],2))=1))
ORDER BY tblTimeTableList.Date;

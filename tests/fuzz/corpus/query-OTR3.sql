SELECT tblTimeTableList.Date, tblJob.Key_Tutor, tblJob.Key_Discipline, tblGroups.Group,
    tblGroups.Course, tblJobList.Hours AS Всего
FROM (tblJob INNER JOIN (tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN
    tblJobList ON (tblJob.Key = tblJobList.Key_Job) AND (tblGroups.Key = tblJobList.Key_Group)
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#) AND ((tblJob.Key_Tutor)=0))
ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group;

SELECT tblTimeTableList.Date, tblJob.Key_Tutor, [Group] & '  (' & [Course] & ')' AS GroupCourse,
    tblTimeTableContent.Lesson
FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN (tblGroups INNER JOIN tblTimeTableContent ON
    tblGroups.Key = tblTimeTableContent.Key_Group) ON tblJob.Key = tblTimeTableContent.Key_Job) ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#) AND ((tblJob.Key_Tutor)=0))
ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    tblTimeTableContent.Lesson;

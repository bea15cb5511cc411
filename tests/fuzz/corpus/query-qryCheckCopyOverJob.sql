PARAMETERS pKeyGroup Long, pKeyJob Long;
SELECT tblJobList.Key AS KeyJobList, tblJobList.Hours, (SELECT Count(*) FROM tblTimeTableContent
    WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND tblTimeTableContent.Key_Group =
    tblJobList.Key_Group) AS CountHours
FROM tblJobList
WHERE (((tblJobList.Key_Job)=[pKeyJob]) AND ((tblJobList.Key_Group)=[pKeyGroup]));

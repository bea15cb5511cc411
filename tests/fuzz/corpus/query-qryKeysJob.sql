PARAMETERS pKeyJobList Long;
SELECT tblJobList.Key_Job, tblJobList.Key_Group, tblJobList.Hours
FROM tblJobList
WHERE (((tblJobList.Key)=[pKeyJobList]));

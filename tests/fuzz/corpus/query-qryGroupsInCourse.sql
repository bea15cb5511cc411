SELECT DISTINCT tblGroups.Course
FROM tblGroups
ORDER BY tblGroups.Course;

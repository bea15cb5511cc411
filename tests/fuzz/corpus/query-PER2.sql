SELECT PER1.Key_Job, PER1.Group, Count(PER1.Lesson) AS Lessons
FROM PER1
GROUP BY PER1.Key_Job, PER1.Group;

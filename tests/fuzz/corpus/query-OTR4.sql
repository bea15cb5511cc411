TRANSFORM Count(OTR3.Date) AS Lessons
SELECT tblDisciplines.Discipline, OTR3.Group, OTR3.Course, OTR3.Всего AS всего, Count(OTR3.Date) AS
    отраб, OTR3.Всего - Count(OTR3.Date) AS остат
FROM OTR3 INNER JOIN tblDisciplines ON OTR3.Key_Discipline = tblDisciplines.Key
GROUP BY tblDisciplines.Discipline, OTR3.Key_Discipline, OTR3.Course, OTR3.Group, OTR3.Всего
ORDER BY tblDisciplines.Discipline, OTR3.Key_Discipline, OTR3.Course, Len(OTR3.Group), OTR3.Group,
    OTR3.Всего
PIVOT OTR3.Date;

PARAMETERS pDiscipline Text, pDiscipline1 Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson, tblJob.Key_Tutor FROM
    ((tblDisciplines INNER JOIN tblJob ON tblDisciplines.Key = tblJob.Key_Discipline) INNER JOIN
    tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblDisciplines.Discipline)=[pDiscipline]) AND
    ((Nz(tblDisciplines.Discipline1,''))=Nz([pDiscipline1],'')) AND
    ((tblTimeTableList.Date)<=Now()))) AS Held;

PARAMETERS pAuditoria Text, pCorpus Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM (tblAuditories INNER
    JOIN tblTimeTableContent ON tblAuditories.Key = tblTimeTableContent.Key_Aud) INNER JOIN
    tblTimeTableList ON tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblAuditories.Auditoria)=[pAuditoria]) AND ((Nz(tblAuditories.Corpus,''))=Nz([pCorpus],''))
    AND ((tblTimeTableList.Date)>Now()))) AS Future;

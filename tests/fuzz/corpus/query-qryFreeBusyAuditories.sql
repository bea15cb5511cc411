PARAMETERS pLesson Short, pDate DateTime;
SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus, Not (tblAuditories.Key In
    (SELECT tblTimeTableContent.Key_Aud FROM tblTimeTableList INNER JOIN tblTimeTableContent ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblTimeTableContent.Key_Aud Is Not Null)) AS
    FreeItem, tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')' AS AudText
FROM tblAuditories
ORDER BY tblAuditories.Corpus, Len(tblAuditories.Auditoria), tblAuditories.Auditoria,
    tblAuditories.Key;

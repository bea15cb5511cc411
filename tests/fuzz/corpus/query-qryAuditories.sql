SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus, tblAuditories.CommentAud,
    tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')' AS AudText
FROM tblAuditories
ORDER BY tblAuditories.Corpus, Len(tblAuditories.Auditoria), tblAuditories.Auditoria,
    tblAuditories.Key;

SELECT Nz(tblDiscType.Type,'отсутствует') AS Type, tblDisciplines.Discipline,
    tblDisciplines.Discipline1, tblDisciplines.DiscColor, tblDisciplines.LevelDiff,
    tblDisciplines.Key, tblDisciplines.DiscType
FROM tblDisciplines LEFT JOIN tblDiscType ON tblDisciplines.DiscType = tblDiscType.Key
ORDER BY Nz(tblDiscType.Priory,0), Nz(tblDiscType.Type,'отсутствует'), tblDisciplines.Discipline,
    tblDisciplines.Key;

SELECT tblDiscType.Key, tblDiscType.Type, tblDiscType.Priory, tblDiscType.Visible
FROM tblDiscType
ORDER BY Nz(tblDiscType.Priory,0), tblDiscType.Type, tblDiscType.Key;

SELECT qryViewTutorBusyTime.Tutor, qryViewTutorBusyTime.CountLesson, qryViewTutorBusyTime.MinDate,
    qryViewTutorBusyTime.MaxDate, qryViewTutorBusyTime.CountDays, qryViewTutorOutTime.KeyTypeOut,
    tblTutorTypeOut.TypeOut, qryViewTutorOutTime.FreeDay, qryViewTutorOutTime.FreeLesson,
    qryViewTutorOutTime.FreeLocalDate
FROM (qryViewTutorBusyTime LEFT JOIN qryViewTutorOutTime ON qryViewTutorBusyTime.Tutor =
    qryViewTutorOutTime.Tutor) LEFT JOIN tblTutorTypeOut ON qryViewTutorOutTime.KeyTypeOut =
    tblTutorTypeOut.Key
ORDER BY qryViewTutorOutTime.KeyTypeOut, qryViewTutorOutTime.FreeLocalDate,
    qryViewTutorOutTime.FreeDay, qryViewTutorOutTime.FreeLesson;

SELECT IIf(Weeks - RestWeeks < 0, 0, Weeks - RestWeeks) AS WeekLessons, Weeks, RestWeeks,
    Sessions.DateStart, Sessions.DateEnd
FROM (SELECT S.DateStart, S.DateEnd, (DateDiff('d', S.DateStart, S.DateEnd) + 7) \ 7 AS Weeks,
    Nz((SELECT Sum((DateDiff('d', R.DateStart, R.DateEnd) + 1) \ 7 - IIf(Weekday(R.DateStart, 2) <>
    1 And Weekday(R.DateEnd, 2) <> 7, 1, 0)) FROM tblAutoTable AS R WHERE R.DateType = 'Rest' AND
    R.DateEnd Is Not Null AND DateDiff('d', R.DateStart, R.DateEnd) >= 6 AND R.DateStart Between
    S.DateStart And S.DateEnd), 0) AS RestWeeks FROM tblAutoTable AS S WHERE S.DateType = 'Session'
    AND S.DateStart Is Not Null AND S.DateEnd Is Not Null AND S.DateEnd >= S.DateStart) AS Sessions
ORDER BY Sessions.DateStart;

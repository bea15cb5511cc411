-- The saved queries of every new document, in the program's SQL dialect. Each begins with a
-- line "-- query: NAME"; other lines starting with "--" are comments.
--
-- Conventions kept by every query here:
-- * Groups are ordered by Course, Len(Group), Group (П-9 before П-10), then by faculty name
--   and Key, so that two groups of one name and course in different faculties always come
--   in the same order in the group list, the timetable and the free/busy list.
-- * A group, discipline or lesson without a type (key Null, 0 or 1) shows the first entry
--   of the type list: faculty "отсутствует", form of study "Очная", financing "Бюджетная",
--   specialization "отсутствует".
-- * A group's or a tutor's lessons on a day count lesson numbers, not rows: two subgroups at
--   lesson 3 are one lesson of the group, a lecture for three groups one lesson of the tutor.
-- * The hours given of a load line are the number of its placed rows (one row, one hour).
-- * The auditorium shown with a load line is the tutor's usual one (tblTutors.DefaultAud),
--   matched to tblAuditories by its display text "Auditoria (Corpus)".
-- * Held lessons are dated up to now (a lesson of today is held), future ones after Now().

-- Lesson limits -----------------------------------------------------------------------------

-- query: qryCountGroupLessonsInDay
PARAMETERS pKeyGroup Long, pDate DateTime;
SELECT Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTimeTableContent.Lesson FROM tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE
    (((tblTimeTableContent.Key_Group)=[pKeyGroup]) AND ((tblTimeTableList.Date)=[pDate]))) AS
    GroupLessons;

-- query: qryCountTutorLessonsInDay
PARAMETERS pDate DateTime, pKeyTutor Long;
SELECT Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTimeTableContent.Lesson FROM (tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList) INNER JOIN tblJob
    ON tblTimeTableContent.Key_Job = tblJob.Key WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND
    ((tblTimeTableList.Date)=[pDate]))) AS TutorLessons;

-- query: qryDateReadOnly
PARAMETERS pDate DateTime;
SELECT tblTimeTableList.*
FROM tblTimeTableList
WHERE (((tblTimeTableList.Date)=[pDate]));

-- query: qryTutorLessonsOnDay
PARAMETERS pLesson Short, pDate DateTime, pKeyTutor Long;
SELECT tblTimeTableContent.*
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblTimeTableContent.Lesson)=[pLesson]) AND ((tblTimeTableList.Date)=[pDate]) AND
    ((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

-- query: qryGroupLessonsInDay
PARAMETERS pLesson Short, pDate DateTime, pKeyGroup Long;
SELECT tblTimeTableContent.*
FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableContent.Lesson)=[pLesson]) AND ((tblTimeTableList.Date)=[pDate]) AND
    ((tblTimeTableContent.Key_Group)=[pKeyGroup]))
ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

-- Teaching load -----------------------------------------------------------------------------

-- query: qryKeysJob
PARAMETERS pKeyJobList Long;
SELECT tblJobList.Key_Job, tblJobList.Key_Group, tblJobList.Hours
FROM tblJobList
WHERE (((tblJobList.Key)=[pKeyJobList]));

-- The load lines of a tutor, with the lessons already placed for each in the study period.
-- query: qrySelJobTutor
PARAMETERS pKeyTutor Long;
SELECT tblJobList.Key AS KeyJobList, tblGroups.Group, tblGroups.Course, tblGroups.Key AS KeyGroup,
    tblDisciplines.Discipline, tblDisciplines.Discipline1, tblDisciplines.LevelDiff,
    tblJobList.Hours, (SELECT Count(*) FROM tblTimeTableContent WHERE tblTimeTableContent.Key_Job =
    tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group AND
    tblTimeTableContent.Key_TTList Between (SELECT Min(PeriodDay.Key) FROM tblTimeTableList AS
    PeriodDay WHERE PeriodDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable
    WHERE tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd)
    FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT
    Max(PeriodDay.Key) FROM tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (NOT EXISTS (SELECT OtherDay.Key FROM
    tblTimeTableList AS OtherDay WHERE OtherDay.Key Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (OtherDay.Date < Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) OR OtherDay.Date > Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#))) OR EXISTS (SELECT LessonDay.Key FROM
    tblTimeTableList AS LessonDay WHERE LessonDay.Key = tblTimeTableContent.Key_TTList AND
    LessonDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM
    tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)))) AS CountLesson,
    tblAuditories.Auditoria, tblAuditories.Corpus, tblAuditories.Key AS KeyAud, tblJob.Key AS
    KeyJob, tblDisciplines.Key AS KeyDiscipline, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty
FROM ((((((tblJob INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job) INNER JOIN tblGroups ON
    tblJobList.Key_Group = tblGroups.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline =
    tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) LEFT JOIN
    tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblAuditories ON
    tblTutors.DefaultAud = tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')')
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key, tblDisciplines.Discipline,
    tblJobList.Key;

-- The load lines of a group, with the lessons already placed for each in the study period.
-- query: qrySelJobGroup
PARAMETERS pKeyGroup Long;
SELECT tblJobList.Key AS KeyJobList, tblDisciplines.Discipline, tblDisciplines.Discipline1,
    tblDisciplines.LevelDiff, tblTutors.Tutor, tblTutors.Key AS KeyTutor, tblAuditories.Auditoria,
    tblAuditories.Corpus, tblAuditories.Key AS KeyAud, tblJobList.Hours, (SELECT Count(*) FROM
    tblTimeTableContent WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND
    tblTimeTableContent.Key_Group = tblJobList.Key_Group AND tblTimeTableContent.Key_TTList Between
    (SELECT Min(PeriodDay.Key) FROM tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between
    Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType =
    'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (NOT EXISTS (SELECT OtherDay.Key FROM
    tblTimeTableList AS OtherDay WHERE OtherDay.Key Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (OtherDay.Date < Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) OR OtherDay.Date > Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#))) OR EXISTS (SELECT LessonDay.Key FROM
    tblTimeTableList AS LessonDay WHERE LessonDay.Key = tblTimeTableContent.Key_TTList AND
    LessonDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM
    tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)))) AS CountLesson,
    tblJob.Key AS KeyJob, tblDisciplines.Key AS KeyDiscipline
FROM ((((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines
    ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor =
    tblTutors.Key) LEFT JOIN tblAuditories ON tblTutors.DefaultAud = tblAuditories.Auditoria & ' ('
    & tblAuditories.Corpus & ')')
WHERE (((tblJobList.Key_Group)=[pKeyGroup]))
ORDER BY tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Key;

-- The load lines of a group with what has been placed of each in the study period (every
-- lesson when the document has none), and the last date placed.
-- query: qryPassportGroup
PARAMETERS pKeyGroup Long;
SELECT tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Hours, (SELECT Count(*) FROM
    tblTimeTableContent WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND
    tblTimeTableContent.Key_Group = tblJobList.Key_Group AND tblTimeTableContent.Key_TTList Between
    (SELECT Min(PeriodDay.Key) FROM tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between
    Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType =
    'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (NOT EXISTS (SELECT OtherDay.Key FROM
    tblTimeTableList AS OtherDay WHERE OtherDay.Key Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (OtherDay.Date < Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) OR OtherDay.Date > Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#))) OR EXISTS (SELECT LessonDay.Key FROM
    tblTimeTableList AS LessonDay WHERE LessonDay.Key = tblTimeTableContent.Key_TTList AND
    LessonDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM
    tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)))) AS [Count-Lesson],
    (SELECT Max(tblTimeTableList.Date) FROM tblTimeTableContent INNER JOIN tblTimeTableList ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableContent.Key_Job =
    tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group AND
    tblTimeTableContent.Key_TTList Between (SELECT Min(PeriodDay.Key) FROM tblTimeTableList AS
    PeriodDay WHERE PeriodDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable
    WHERE tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd)
    FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT
    Max(PeriodDay.Key) FROM tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND tblTimeTableList.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AS [Max-Date], tblJobList.DateExam,
    tblJobList.Key AS KeyJobList, tblDisciplines.Discipline1, tblGroups.Group, tblGroups.Course
FROM (((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblDisciplines
    ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor =
    tblTutors.Key) INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key
WHERE (((tblJobList.Key_Group)=[pKeyGroup]))
ORDER BY tblDisciplines.Discipline, tblTutors.Tutor, tblJobList.Key;

-- The hours of a load line against the lessons placed for it in the study period (copying
-- under the overwork limit). No row when the group has no such load line.
-- query: qryCheckCopyOverJob
PARAMETERS pKeyGroup Long, pKeyJob Long;
SELECT tblJobList.Key AS KeyJobList, tblJobList.Hours, (SELECT Count(*) FROM tblTimeTableContent
    WHERE tblTimeTableContent.Key_Job = tblJobList.Key_Job AND tblTimeTableContent.Key_Group =
    tblJobList.Key_Group AND tblTimeTableContent.Key_TTList Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (NOT EXISTS (SELECT OtherDay.Key FROM
    tblTimeTableList AS OtherDay WHERE OtherDay.Key Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (OtherDay.Date < Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) OR OtherDay.Date > Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#))) OR EXISTS (SELECT LessonDay.Key FROM
    tblTimeTableList AS LessonDay WHERE LessonDay.Key = tblTimeTableContent.Key_TTList AND
    LessonDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM
    tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)))) AS CountHours
FROM tblJobList
WHERE (((tblJobList.Key_Job)=[pKeyJob]) AND ((tblJobList.Key_Group)=[pKeyGroup]));

-- What a copied lesson replaces on the destination date: the lesson of the same group and
-- subgroup at that lesson number (subgroup 0, the whole group, stands where 1 does), or of
-- the same load line.
-- query: qryCopyReWrite
PARAMETERS pKeyTTL Long, pLesson Long, pKeyGroup Long, pSubGroup Short, pKeyJob Long;
SELECT tblTimeTableContent.*
FROM tblTimeTableContent
WHERE (((tblTimeTableContent.Key_TTList)=[pKeyTTL]) AND ((tblTimeTableContent.Lesson)=[pLesson]) AND
    ((tblTimeTableContent.Key_Group)=[pKeyGroup]) AND ((IIf(Nz(tblTimeTableContent.SubGroup, 0) = 0,
    1, tblTimeTableContent.SubGroup) = IIf(Nz([pSubGroup], 0) = 0, 1, [pSubGroup])) OR
    (tblTimeTableContent.Key_Job=[pKeyJob])))
ORDER BY tblTimeTableContent.Key;

-- Number of weeks of the study period (the "Session" row) less the whole weeks of its rest
-- periods. A started week counts: a term from Monday to a Friday 17 weeks later is 17 weeks.
-- A rest period counts as the working-week number counts it: its days divided by 7, less one
-- when it neither starts on a Monday nor ends on a Sunday; periods shorter than a week are
-- not rest weeks. No row without a study period.
-- query: qryGetWorkWeeks
SELECT IIf(Weeks - RestWeeks < 0, 0, Weeks - RestWeeks) AS WeekLessons, Weeks, RestWeeks,
    Sessions.DateStart, Sessions.DateEnd
FROM (SELECT S.DateStart, S.DateEnd, (DateDiff('d', S.DateStart, S.DateEnd) + 7) \ 7 AS Weeks,
    Nz((SELECT Sum((DateDiff('d', R.DateStart, R.DateEnd) + 1) \ 7 - IIf(Weekday(R.DateStart, 2) <>
    1 And Weekday(R.DateEnd, 2) <> 7, 1, 0)) FROM tblAutoTable AS R WHERE R.DateType = 'Rest' AND
    R.DateEnd Is Not Null AND DateDiff('d', R.DateStart, R.DateEnd) >= 6 AND R.DateStart Between
    S.DateStart And S.DateEnd), 0) AS RestWeeks FROM tblAutoTable AS S WHERE S.DateType = 'Session'
    AND S.DateStart Is Not Null AND S.DateEnd Is Not Null AND S.DateEnd >= S.DateStart) AS Sessions
ORDER BY Sessions.DateStart;

-- Logical lists -----------------------------------------------------------------------------

-- query: qryGroups
SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, tblGroups.GroupColor, tblGroups.Comment,
    tblGroups.Key_TypeFaculty, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Nz(tblTypeTuition.TypeTuition,'Очная') AS TypeTuition,
    Nz(tblTypeFinance.TypeFinance,'Бюджетная') AS TypeFinance, tblGroups.Key_TypeTuition,
    tblGroups.Key_TypeFinance, [Group] & '  (' & [Course] & ')' AS GroupCourse
FROM ((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT
    JOIN tblTypeTuition ON tblGroups.Key_TypeTuition = tblTypeTuition.Key) LEFT JOIN tblTypeFinance
    ON tblGroups.Key_TypeFinance = tblTypeFinance.Key
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

-- query: qryGroupsInCourse
SELECT DISTINCT tblGroups.Course
FROM tblGroups
ORDER BY tblGroups.Course;

-- The disciplines of one specialization next to each other, specializations in their order.
-- query: qryDisciplines
SELECT Nz(tblDiscType.Type,'отсутствует') AS Type, tblDisciplines.Discipline,
    tblDisciplines.Discipline1, tblDisciplines.DiscColor, tblDisciplines.LevelDiff,
    tblDisciplines.Key, tblDisciplines.DiscType
FROM tblDisciplines LEFT JOIN tblDiscType ON tblDisciplines.DiscType = tblDiscType.Key
ORDER BY Nz(tblDiscType.Priory,0), Nz(tblDiscType.Type,'отсутствует'), tblDisciplines.Discipline,
    tblDisciplines.Key;

-- query: qryTutors
SELECT tblTutors.Key, tblTutors.Tutor, tblTutors.DefaultAud
FROM tblTutors
ORDER BY tblTutors.Tutor, tblTutors.Key;

-- The whole teaching load, one row per load line: a tutor's lines together and, within
-- them, the lines of one discipline together.
-- query: qryKorvesta
SELECT tblTutors.Tutor, tblDisciplines.Discipline, tblGroups.Group, tblGroups.Course,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty, tblJobList.Hours,
    TutorAud.Auditoria, TutorAud.Corpus, tblTutors.Key AS KeyTutor, tblDisciplines.Key AS
    KeyDiscipline, tblGroups.Key AS KeyGroup, tblJob.Key AS KeyJob, tblJobList.Key AS KeyJobList,
    tblJobList.DateExam, (SELECT Count(*) FROM tblTimeTableContent WHERE tblTimeTableContent.Key_Job
    = tblJobList.Key_Job AND tblTimeTableContent.Key_Group = tblJobList.Key_Group AND
    tblTimeTableContent.Key_TTList Between (SELECT Min(PeriodDay.Key) FROM tblTimeTableList AS
    PeriodDay WHERE PeriodDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable
    WHERE tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd)
    FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT
    Max(PeriodDay.Key) FROM tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (NOT EXISTS (SELECT OtherDay.Key FROM
    tblTimeTableList AS OtherDay WHERE OtherDay.Key Between (SELECT Min(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) And (SELECT Max(PeriodDay.Key) FROM
    tblTimeTableList AS PeriodDay WHERE PeriodDay.Date Between Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#)) AND (OtherDay.Date < Nz((SELECT
    Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = 'Session'),
    #1/1/1900#) OR OtherDay.Date > Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #12/31/9999#))) OR EXISTS (SELECT LessonDay.Key FROM
    tblTimeTableList AS LessonDay WHERE LessonDay.Key = tblTimeTableContent.Key_TTList AND
    LessonDay.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE
    tblAutoTable.DateType = 'Session'), #1/1/1900#) And Nz((SELECT Max(tblAutoTable.DateEnd) FROM
    tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #12/31/9999#)))) AS CountLesson,
    tblDisciplines.DiscType, tblGroups.Key_TypeTuition, tblGroups.Key_TypeFinance
FROM ((((((tblTutors INNER JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN
    tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblJobList ON
    tblJob.Key = tblJobList.Key_Job) INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key)
    LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN (SELECT
    T.Key AS KeyTutorAud, A.Key AS KeyAud, A.Auditoria, A.Corpus FROM tblTutors AS T INNER JOIN
    tblAuditories AS A ON T.DefaultAud = A.Auditoria & ' (' & A.Corpus & ')') AS TutorAud ON
    tblTutors.Key = TutorAud.KeyTutorAud)
ORDER BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblDisciplines.Key,
    tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

-- The auditoriums of one building together; 9 before 10 within a building.
-- query: qryAuditories
SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus, tblAuditories.CommentAud,
    tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')' AS AudText
FROM tblAuditories
ORDER BY tblAuditories.Corpus, Len(tblAuditories.Auditoria), tblAuditories.Auditoria,
    tblAuditories.Key;

-- query: qryDisciplineType
SELECT tblDiscType.Key, tblDiscType.Type, tblDiscType.Priory, tblDiscType.Visible
FROM tblDiscType
ORDER BY Nz(tblDiscType.Priory,0), tblDiscType.Type, tblDiscType.Key;

-- Lectures read to a stream for the timesheet: per tutor, discipline, date and lesson the
-- number of groups sitting the lecture together.
-- query: OTR32
SELECT tblJob.Key_Tutor, tblTutors.Tutor, tblDisciplines.Discipline, tblTimeTableList.Date,
    tblTimeTableContent.Lesson, Count(tblTimeTableContent.Key_Group) AS CountGroups
FROM ((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key
WHERE (((tblTypeLesson.ShortTypeLesson) LIKE 'Лек*') OR ((tblTypeLesson.LongTypeLesson) LIKE
    'Лекц*'))
GROUP BY tblJob.Key_Tutor, tblTutors.Tutor, tblDisciplines.Discipline, tblTimeTableList.Date,
    tblTimeTableContent.Lesson
ORDER BY tblTutors.Tutor, tblTimeTableList.Date, tblTimeTableContent.Lesson,
    tblDisciplines.Discipline;

-- Timetable ---------------------------------------------------------------------------------

-- The lessons of a date in the order of the group columns (the order of qryGroups), within
-- a group by lesson and subgroup.
-- query: qryTimeTable
PARAMETERS pDate DateTime;
SELECT tblGroups.Group, tblGroups.Course, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty, tblTutors.Tutor, tblDisciplines.Discipline, tblDisciplines.Discipline1,
    tblAuditories.Auditoria AS Aud, tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson,
    tblTimeTableContent.Lesson, tblTimeTableContent.SubGroup, tblDisciplines.DiscColor,
    tblGroups.GroupColor, tblAuditories.Corpus, tblTimeTableContent.Key,
    tblTimeTableContent.Key_Group, tblGroups.Key_TypeFaculty, tblJob.Key_Tutor,
    tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Aud, tblTimeTableContent.Key_TypeLesson
FROM ((((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblGroups ON tblTimeTableContent.Key_Group =
    tblGroups.Key) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN
    tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) LEFT JOIN tblTypeFaculty ON
    tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblAuditories ON
    tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key)
WHERE (((tblTimeTableList.Date)=[pDate]))
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key, tblTimeTableContent.Lesson,
    tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

-- The lessons of a date by tutor (the tutors' work schedule).
-- query: qryTimeTableWork
PARAMETERS pDate DateTime;
SELECT tblGroups.Group, tblGroups.Course, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty, tblTutors.Tutor, tblDisciplines.Discipline, tblDisciplines.Discipline1,
    tblAuditories.Auditoria AS Aud, tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson,
    tblTimeTableContent.Lesson, tblTimeTableContent.SubGroup, tblDisciplines.DiscColor,
    tblGroups.GroupColor, tblAuditories.Corpus, tblTimeTableContent.Key,
    tblTimeTableContent.Key_Group, tblGroups.Key_TypeFaculty, tblJob.Key_Tutor,
    tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Aud, tblTimeTableContent.Key_TypeLesson
FROM ((((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblGroups ON tblTimeTableContent.Key_Group =
    tblGroups.Key) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN
    tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) LEFT JOIN tblTypeFaculty ON
    tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblAuditories ON
    tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key)
WHERE (((tblTimeTableList.Date)=[pDate]))
ORDER BY tblTutors.Tutor, tblJob.Key_Tutor, tblTimeTableContent.Lesson, tblGroups.Course,
    Len(tblGroups.Group), tblGroups.Group, Nz(tblTypeFaculty.TypeFaculty,'отсутствует'),
    tblGroups.Key, tblTimeTableContent.SubGroup, tblTimeTableContent.Key;

-- The lessons of one tutor (the tutors' busy-time chart): one row per date and lesson.
-- query: qryBusyTime
PARAMETERS pStartDate DateTime, pEndDate DateTime, pKeyTutor Long;
SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblTimeTableList.Date) Between [pStartDate] And [pEndDate]) AND
    ((tblJob.Key_Tutor)=[pKeyTutor]))
ORDER BY tblTimeTableList.Date, tblTimeTableContent.Lesson;

-- query: qryFreeTimeTutor
PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.*
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]));

-- query: qryNote
PARAMETERS pDate DateTime;
SELECT tblNotes.Note, tblNotes.Key_TTL, tblTimeTableList.Date
FROM tblTimeTableList INNER JOIN tblNotes ON tblTimeTableList.Key = tblNotes.Key_TTL
WHERE (((tblTimeTableList.Date)=[pDate]));

-- Individual timetables (printed reports), each over the same rows of placed lessons. The name
-- is the list's text (a group's or an auditorium's name) or its display form ("П-9  (1)",
-- "101 (Главный)").

-- query: qrySDLLessons
SELECT tblTimeTableList.Date, Weekday(tblTimeTableList.Date, 2) AS WeekDayN,
    tblTimeTableContent.Lesson, (SELECT First(tblTimeLesson.TimeLesson) FROM tblTimeLesson WHERE
    tblTimeLesson.Lesson = tblTimeTableContent.Lesson) AS TimeLesson, tblTutors.Tutor,
    tblGroups.Group, tblGroups.Course, [Group] & '  (' & [Course] & ')' AS GroupCourse,
    tblDisciplines.Discipline, tblDisciplines.Discipline1, tblAuditories.Auditoria AS Aud,
    tblAuditories.Corpus, tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson,
    tblTimeTableContent.SubGroup, tblJob.Key_Tutor, tblTimeTableContent.Key_Group,
    tblTimeTableContent.Key_Aud
FROM ((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN tblDisciplines ON
    tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblAuditories ON
    tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key;

-- query: qrySDLTutor
PARAMETERS pTutor Text, pBeginDate DateTime, pEndDate DateTime;
SELECT qrySDLLessons.Date, qrySDLLessons.WeekDayN, qrySDLLessons.Lesson,
    qrySDLLessons.TimeLesson, qrySDLLessons.Tutor, qrySDLLessons.Group, qrySDLLessons.Course,
    qrySDLLessons.GroupCourse, qrySDLLessons.Discipline, qrySDLLessons.Discipline1,
    qrySDLLessons.Aud, qrySDLLessons.Corpus, qrySDLLessons.ShortTypeLesson,
    qrySDLLessons.LongTypeLesson, qrySDLLessons.SubGroup
FROM qrySDLLessons
WHERE (((qrySDLLessons.Key_Tutor) In (SELECT T.Key FROM tblTutors AS T WHERE T.Tutor = [pTutor]))
    AND ((qrySDLLessons.Date) Between [pBeginDate] And [pEndDate]))
ORDER BY qrySDLLessons.Date, qrySDLLessons.Lesson, qrySDLLessons.Course,
    Len(qrySDLLessons.Group), qrySDLLessons.Group, qrySDLLessons.Key_Group, qrySDLLessons.SubGroup;

-- query: qrySDLGroup
PARAMETERS pGroup Text, pBeginDate DateTime, pEndDate DateTime;
SELECT qrySDLLessons.Date, qrySDLLessons.WeekDayN, qrySDLLessons.Lesson,
    qrySDLLessons.TimeLesson, qrySDLLessons.Tutor, qrySDLLessons.Group, qrySDLLessons.Course,
    qrySDLLessons.GroupCourse, qrySDLLessons.Discipline, qrySDLLessons.Discipline1,
    qrySDLLessons.Aud, qrySDLLessons.Corpus, qrySDLLessons.ShortTypeLesson,
    qrySDLLessons.LongTypeLesson, qrySDLLessons.SubGroup
FROM qrySDLLessons
WHERE (((qrySDLLessons.Key_Group) In (SELECT G.Key FROM tblGroups AS G WHERE G.Group = [pGroup]
    OR (G.Group & '  (' & G.Course & ')') = [pGroup])) AND ((qrySDLLessons.Date) Between
    [pBeginDate] And [pEndDate]))
ORDER BY qrySDLLessons.Date, qrySDLLessons.Lesson, qrySDLLessons.Course,
    Len(qrySDLLessons.Group), qrySDLLessons.Group, qrySDLLessons.Key_Group, qrySDLLessons.SubGroup;

-- query: qrySDLAud
PARAMETERS pAud Text, pBeginDate DateTime, pEndDate DateTime;
SELECT qrySDLLessons.Date, qrySDLLessons.WeekDayN, qrySDLLessons.Lesson,
    qrySDLLessons.TimeLesson, qrySDLLessons.Tutor, qrySDLLessons.Group, qrySDLLessons.Course,
    qrySDLLessons.GroupCourse, qrySDLLessons.Discipline, qrySDLLessons.Discipline1,
    qrySDLLessons.Aud, qrySDLLessons.Corpus, qrySDLLessons.ShortTypeLesson,
    qrySDLLessons.LongTypeLesson, qrySDLLessons.SubGroup
FROM qrySDLLessons
WHERE (((qrySDLLessons.Key_Aud) In (SELECT A.Key FROM tblAuditories AS A WHERE A.Auditoria = [pAud]
    OR (A.Auditoria & ' (' & A.Corpus & ')') = [pAud])) AND ((qrySDLLessons.Date) Between
    [pBeginDate] And [pEndDate]))
ORDER BY qrySDLLessons.Date, qrySDLLessons.Lesson, qrySDLLessons.Course,
    Len(qrySDLLessons.Group), qrySDLLessons.Group, qrySDLLessons.Key_Group, qrySDLLessons.SubGroup;

-- Key lookups -------------------------------------------------------------------------------

-- A group by name and course, and by its type names. Callers that cannot tell the types
-- (a timetable column, the load grid) pass "отсутствует", "Очная" and "Бюджетная": a
-- faculty of "отсутствует" (or none) then accepts any faculty, and the form of study and
-- financing only choose among groups of one name, course and faculty. The best match comes
-- first: the named faculty, then the named form of study and financing, then the lowest key.
-- query: qryGetKeyGroup
PARAMETERS pGroup Text, pCourse Text, pFaculty Text, pTuition Text, pFinance Text;
SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Nz(tblTypeTuition.TypeTuition,'Очная') AS TypeTuition,
    Nz(tblTypeFinance.TypeFinance,'Бюджетная') AS TypeFinance
FROM ((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT
    JOIN tblTypeTuition ON tblGroups.Key_TypeTuition = tblTypeTuition.Key) LEFT JOIN tblTypeFinance
    ON tblGroups.Key_TypeFinance = tblTypeFinance.Key
WHERE (((tblGroups.Group)=[pGroup]) AND ((tblGroups.Course)=[pCourse]) AND
    ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])) OR (IIf(Nz([pFaculty], '') = '', 'отсутствует', [pFaculty])='отсутствует')))
ORDER BY IIf(Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty]),0,1),
    IIf(Nz(tblTypeTuition.TypeTuition,'Очная')=Nz([pTuition],'Очная'),0,1),
    IIf(Nz(tblTypeFinance.TypeFinance,'Бюджетная')=Nz([pFinance],'Бюджетная'),0,1), tblGroups.Key;

-- The exam dates of a group (faculty as in qryGetKeyGroup): the group of the named faculty
-- first, then the nearest exam from today on, then the latest one past.
-- query: qryGetGroupDateExam
PARAMETERS pGroup Text, pCourse Text, pFaculty Text;
SELECT tblJobList.DateExam, tblDisciplines.Discipline, tblGroups.Key AS KeyGroup
FROM (((tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER
    JOIN tblJobList ON tblGroups.Key = tblJobList.Key_Group) INNER JOIN tblJob ON tblJobList.Key_Job
    = tblJob.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key
WHERE (((tblGroups.Group)=[pGroup]) AND ((tblGroups.Course)=[pCourse]) AND ((tblJobList.DateExam) Is
    Not Null) AND ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty])) OR (IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])='отсутствует')))
ORDER BY IIf(Nz(tblTypeFaculty.TypeFaculty,'отсутствует')=IIf(Nz([pFaculty], '') = '',
    'отсутствует', [pFaculty]),0,1), IIf(tblJobList.DateExam>=Date(),0,1),
    Abs(DateDiff('d',Date(),tblJobList.DateExam)), tblJobList.Key;

-- Usage of a record before it is deleted: lessons held up to now (...ValueB) and placed after
-- now (...ValueA). A group's, a tutor's and an auditorium's lessons count one per date and
-- lesson number; a discipline's one per date, lesson number and tutor.

-- query: qryGroupValueB
PARAMETERS pGroup Text, pCourse Text, pFaculty Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblGroups LEFT JOIN
    tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER JOIN tblTimeTableContent
    ON tblGroups.Key = tblTimeTableContent.Key_Group) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE (((tblGroups.Group)=[pGroup]) AND
    ((tblGroups.Course)=[pCourse]) AND
    ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует'))=IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])) AND ((tblTimeTableList.Date)<=Now()))) AS Held;

-- query: qryGroupValueA
PARAMETERS pGroup Text, pCourse Text, pFaculty Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblGroups LEFT JOIN
    tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) INNER JOIN tblTimeTableContent
    ON tblGroups.Key = tblTimeTableContent.Key_Group) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE (((tblGroups.Group)=[pGroup]) AND
    ((tblGroups.Course)=[pCourse]) AND
    ((Nz(tblTypeFaculty.TypeFaculty,'отсутствует'))=IIf(Nz([pFaculty], '') = '', 'отсутствует',
    [pFaculty])) AND ((tblTimeTableList.Date)>Now()))) AS Future;

-- query: qryAuditoriaValueB
PARAMETERS pAuditoria Text, pCorpus Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM (tblAuditories INNER
    JOIN tblTimeTableContent ON tblAuditories.Key = tblTimeTableContent.Key_Aud) INNER JOIN
    tblTimeTableList ON tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblAuditories.Auditoria)=[pAuditoria]) AND ((Nz(tblAuditories.Corpus,''))=Nz([pCorpus],''))
    AND ((tblTimeTableList.Date)<=Now()))) AS Held;

-- query: qryAuditoriaValueA
PARAMETERS pAuditoria Text, pCorpus Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM (tblAuditories INNER
    JOIN tblTimeTableContent ON tblAuditories.Key = tblTimeTableContent.Key_Aud) INNER JOIN
    tblTimeTableList ON tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblAuditories.Auditoria)=[pAuditoria]) AND ((Nz(tblAuditories.Corpus,''))=Nz([pCorpus],''))
    AND ((tblTimeTableList.Date)>Now()))) AS Future;

-- query: qryDisciplineValueB
PARAMETERS pDiscipline Text, pDiscipline1 Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson, tblJob.Key_Tutor FROM
    ((tblDisciplines INNER JOIN tblJob ON tblDisciplines.Key = tblJob.Key_Discipline) INNER JOIN
    tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblDisciplines.Discipline)=[pDiscipline]) AND
    ((Nz(tblDisciplines.Discipline1,''))=Nz([pDiscipline1],'')) AND
    ((tblTimeTableList.Date)<=Now()))) AS Held;

-- query: qryDisciplineValueA
PARAMETERS pDiscipline Text, pDiscipline1 Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson, tblJob.Key_Tutor FROM
    ((tblDisciplines INNER JOIN tblJob ON tblDisciplines.Key = tblJob.Key_Discipline) INNER JOIN
    tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON
    tblTimeTableContent.Key_TTList = tblTimeTableList.Key WHERE
    (((tblDisciplines.Discipline)=[pDiscipline]) AND
    ((Nz(tblDisciplines.Discipline1,''))=Nz([pDiscipline1],'')) AND
    ((tblTimeTableList.Date)>Now()))) AS Future;

-- query: qryTutorValueB
PARAMETERS pTutor Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblTutors INNER JOIN
    tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblTimeTableContent ON tblJob.Key =
    tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON tblTimeTableContent.Key_TTList =
    tblTimeTableList.Key WHERE (((tblTutors.Tutor)=[pTutor]) AND ((tblTimeTableList.Date)<=Now())))
    AS Held;

-- query: qryTutorValueA
PARAMETERS pTutor Text;
SELECT Count(*) AS CountLesson
FROM (SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson FROM ((tblTutors INNER JOIN
    tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblTimeTableContent ON tblJob.Key =
    tblTimeTableContent.Key_Job) INNER JOIN tblTimeTableList ON tblTimeTableContent.Key_TTList =
    tblTimeTableList.Key WHERE (((tblTutors.Tutor)=[pTutor]) AND ((tblTimeTableList.Date)>Now())))
    AS Future;

-- Free and busy ----------------------------------------------------------------------------
-- FreeItem is True when nothing occupies the record at that lesson of that date. A tutor is
-- also busy when one of his exceptions covers the lesson: a date (whole or one lesson), a
-- weekday (whole or one lesson), or one lesson every day. The busy keys are gathered once
-- per query, not once per record.

-- query: qryFreeBusyGroups
PARAMETERS pLesson Short, pDate DateTime;
SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, Not (tblGroups.Key In (SELECT
    tblTimeTableContent.Key_Group FROM tblTimeTableList INNER JOIN tblTimeTableContent ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblTimeTableContent.Key_Group Is Not Null)) AS
    FreeItem, tblGroups.Key_TypeFaculty, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS
    TypeFaculty, tblGroups.GroupColor
FROM tblGroups LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key
ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;

-- query: qryFreeBusyDisciplines
PARAMETERS pLesson Short, pDate DateTime;
SELECT tblDisciplines.Key, tblDisciplines.Discipline, tblDisciplines.Discipline1, Not
    (tblDisciplines.Key In (SELECT tblJob.Key_Discipline FROM (tblTimeTableList INNER JOIN
    tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList) INNER JOIN tblJob
    ON tblTimeTableContent.Key_Job = tblJob.Key WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblJob.Key_Discipline Is Not Null)) AS FreeItem,
    tblDisciplines.DiscColor
FROM tblDisciplines
ORDER BY tblDisciplines.Discipline, tblDisciplines.Key;

-- query: qryFreeBusyAuditories
PARAMETERS pLesson Short, pDate DateTime;
SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus, Not (tblAuditories.Key In
    (SELECT tblTimeTableContent.Key_Aud FROM tblTimeTableList INNER JOIN tblTimeTableContent ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = [pDate] AND
    tblTimeTableContent.Lesson = [pLesson] AND tblTimeTableContent.Key_Aud Is Not Null)) AS
    FreeItem, tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')' AS AudText
FROM tblAuditories
ORDER BY tblAuditories.Corpus, Len(tblAuditories.Auditoria), tblAuditories.Auditoria,
    tblAuditories.Key;

-- query: qryFreeBusyTutors
PARAMETERS pLesson Short, pDate DateTime;
SELECT tblTutors.Key, tblTutors.Tutor, (Not (tblTutors.Key In (SELECT tblJob.Key_Tutor FROM
    (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
    WHERE tblTimeTableList.Date = [pDate] AND tblTimeTableContent.Lesson = [pLesson] AND
    tblJob.Key_Tutor Is Not Null))) And (Not (tblTutors.Key In (SELECT tblTutorOut.KeyTutor FROM
    tblTutorOut WHERE tblTutorOut.KeyTutor Is Not Null AND (Nz(tblTutorOut.FreeLesson,0) = 0 OR
    tblTutorOut.FreeLesson = [pLesson]) AND ((tblTutorOut.FreeLocalDate = [pDate]) OR
    (tblTutorOut.FreeLocalDate Is Null AND tblTutorOut.FreeDay = Weekday([pDate],2)) OR
    (tblTutorOut.FreeLocalDate Is Null AND Nz(tblTutorOut.FreeDay,0) = 0 AND
    Nz(tblTutorOut.FreeLesson,0) > 0))))) AS FreeItem, tblTutors.DefaultAud
FROM tblTutors
ORDER BY tblTutors.Tutor, tblTutors.Key;

-- Tutor exceptions over a period ------------------------------------------------------------

-- Weekdays off every week (the whole day).
-- query: qryOutWeekDay1
PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.KeyTypeOut, tblTutorOut.FreeDay
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((tblTutorOut.FreeDay) Between 1 And 7) AND ((Nz(tblTutorOut.FreeLesson,0))=0))
ORDER BY tblTutorOut.FreeDay;

-- Rewritten before each use with the period, the tutor and the weekdays off.
-- query: qryOutWeekDay2
SELECT DISTINCT tblTimeTableList.Date, Weekday([Date],2) AS WeekDayN
FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN tblTimeTableContent ON tblJob.Key =
    tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# And #8/31/2001#) AND ((tblJob.Key_Tutor)=0) AND
    ((Weekday([Date],2))=1))
ORDER BY tblTimeTableList.Date;

-- Whole days off on single dates in the period, per kind.
-- query: qryOutLocalDate3
PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT DaysOff.KeyTypeOut, Count(*) AS CountDays
FROM (SELECT DISTINCT tblTutorOut.KeyTypeOut, tblTutorOut.FreeLocalDate FROM tblTutorOut WHERE
    (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Between [pStartDate] And
    [pEndDate]) AND ((Nz(tblTutorOut.FreeLesson,0))=0))) AS DaysOff
GROUP BY DaysOff.KeyTypeOut
ORDER BY DaysOff.KeyTypeOut;

-- Lessons off every day.
-- query: qryOutLesson1
PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.FreeLesson, tblTutorOut.KeyTypeOut
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((Nz(tblTutorOut.FreeDay,0))=0) AND ((tblTutorOut.FreeLesson)>0))
ORDER BY tblTutorOut.FreeLesson;

-- Lessons off on one weekday every week.
-- query: qryOutLesson2
PARAMETERS pKeyTutor Long;
SELECT tblTutorOut.FreeLesson, tblTutorOut.KeyTypeOut, tblTutorOut.FreeDay
FROM tblTutorOut
WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Is Null) AND
    ((tblTutorOut.FreeDay) Between 1 And 7) AND ((tblTutorOut.FreeLesson)>0))
ORDER BY tblTutorOut.FreeDay, tblTutorOut.FreeLesson;

-- The tutor's lessons in the period, one row per date and lesson.
-- query: qryOutLesson4
PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT DISTINCT tblTimeTableList.Date, tblTimeTableContent.Lesson
FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND ((tblTimeTableList.Date) Between [pStartDate] And
    [pEndDate]))
ORDER BY tblTimeTableList.Date, tblTimeTableContent.Lesson;

-- Single lessons off on single dates in the period, per kind.
-- query: qryOutLesson5
PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT LessonsOff.KeyTypeOut, Count(*) AS CountLessons
FROM (SELECT DISTINCT tblTutorOut.KeyTypeOut, tblTutorOut.FreeLocalDate, tblTutorOut.FreeLesson FROM
    tblTutorOut WHERE (((tblTutorOut.KeyTutor)=[pKeyTutor]) AND ((tblTutorOut.FreeLocalDate) Between
    [pStartDate] And [pEndDate]) AND ((tblTutorOut.FreeLesson)>0))) AS LessonsOff
GROUP BY LessonsOff.KeyTypeOut
ORDER BY LessonsOff.KeyTypeOut;

-- The tutor's placed lessons in the period per kind of lesson, discipline and group.
-- query: OTR51
PARAMETERS pKeyTutor Long, pStartDate DateTime, pEndDate DateTime;
SELECT tblTypeLesson.LongTypeLesson, tblDisciplines.Discipline, [Group] & '  (' & [Course] & ')' AS
    GroupCourse, Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty,
    Count(tblTimeTableContent.Key) AS CountLessons, tblTimeTableContent.Key_TypeLesson,
    tblGroups.Key AS KeyGroup
FROM ((((((tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key)
    INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblTypeFaculty ON
    tblGroups.Key_TypeFaculty = tblTypeFaculty.Key) LEFT JOIN tblTypeLesson ON
    tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key)
WHERE (((tblJob.Key_Tutor)=[pKeyTutor]) AND ((tblTimeTableList.Date) Between [pStartDate] And
    [pEndDate]))
GROUP BY tblTimeTableContent.Key_TypeLesson, tblTypeLesson.LongTypeLesson,
    tblDisciplines.Discipline, tblGroups.Key, tblGroups.Group, tblGroups.Course,
    tblTypeFaculty.TypeFaculty
ORDER BY tblTimeTableContent.Key_TypeLesson, tblDisciplines.Discipline, tblGroups.Course,
    Len(tblGroups.Group), tblGroups.Group, tblGroups.Key;

-- Accounting --------------------------------------------------------------------------------
-- OTR3, OTR1 and PER1 are rewritten before each use with the period (and the tutor); OTR4,
-- qryOtrabotka and PER3 read them. The texts below are the ones the program writes, for an
-- empty period, so that the readers work on a document that has never been used.

-- query: OTR3
SELECT tblTimeTableList.Date, tblJob.Key_Tutor, tblJob.Key_Discipline, tblGroups.Group,
    tblGroups.Course, tblJobList.Hours AS Всего, tblGroups.Key AS Key_Group
FROM (tblJob INNER JOIN (tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN
    tblJobList ON (tblJob.Key = tblJobList.Key_Job) AND (tblGroups.Key = tblJobList.Key_Group)
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#) AND ((tblJob.Key_Tutor)=0))
ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group;

-- query: OTR1
SELECT tblTimeTableList.Date, tblJob.Key_Tutor, [Group] & '  (' & [Course] & ')' AS GroupCourse,
    tblTimeTableContent.Lesson, tblGroups.Key AS Key_Group
FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN (tblGroups INNER JOIN tblTimeTableContent ON
    tblGroups.Key = tblTimeTableContent.Key_Group) ON tblJob.Key = tblTimeTableContent.Key_Job) ON
    tblTimeTableList.Key = tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#) AND ((tblJob.Key_Tutor)=0))
ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group,
    tblTimeTableContent.Lesson;

-- query: PER1
SELECT tblTimeTableList.Date, tblTimeTableContent.Key_Job, tblGroups.Group,
    tblTimeTableContent.Lesson, tblGroups.Key AS Key_Group
FROM tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON
    tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList
WHERE (((tblTimeTableList.Date) Between #9/1/2000# AND #8/31/2001#))
ORDER BY tblTimeTableList.Date, Len(tblGroups.Group), tblGroups.Group;

-- The timesheet of a tutor: per discipline and group the load ("всего"), the lessons given in
-- the period ("отраб"), what remains ("остат"), the keys of the discipline and the group (two
-- groups or disciplines of one name stay apart), and one column per date with that day's
-- lessons.
-- query: OTR4
TRANSFORM Count(OTR3.Date) AS Lessons
SELECT tblDisciplines.Discipline, OTR3.Group, OTR3.Course, OTR3.Всего AS всего, Count(OTR3.Date) AS
    отраб, OTR3.Всего - Count(OTR3.Date) AS остат, OTR3.Key_Discipline, OTR3.Key_Group
FROM OTR3 INNER JOIN tblDisciplines ON OTR3.Key_Discipline = tblDisciplines.Key
GROUP BY tblDisciplines.Discipline, OTR3.Key_Discipline, OTR3.Course, OTR3.Group, OTR3.Key_Group,
    OTR3.Всего
ORDER BY tblDisciplines.Discipline, OTR3.Key_Discipline, OTR3.Course, Len(OTR3.Group), OTR3.Group,
    OTR3.Key_Group, OTR3.Всего
PIVOT OTR3.Date;

-- The lessons a tutor gave: one row per date, one column per group named by the group's Key.
-- query: qryOtrabotka
TRANSFORM Count(OTR1.Lesson) AS Lessons
SELECT OTR1.Date
FROM OTR1
GROUP BY OTR1.Date
ORDER BY OTR1.Date
PIVOT OTR1.Key_Group;

-- PER1 summed per load line first: the crosstab then works on a few thousand rows instead
-- of every lesson of the period.
-- query: PER2
SELECT PER1.Key_Job, PER1.Key_Group, Count(PER1.Lesson) AS Lessons
FROM PER1
GROUP BY PER1.Key_Job, PER1.Key_Group;

-- The lessons of all tutors in the period: per tutor and discipline the load of the job
-- over all its groups ("всего"), the lessons given ("отраб"), what remains ("остат"), the
-- keys of the tutor and the discipline, and one column per group named by the group's Key.
-- query: PER3
TRANSFORM Sum(PER2.Lessons) AS Lessons
SELECT tblTutors.Tutor, tblDisciplines.Discipline, Nz((SELECT Sum(tblJobList.Hours) FROM tblJobList
    WHERE tblJobList.Key_Job = tblJob.Key),0) AS всего, Sum(PER2.Lessons) AS отраб, Nz((SELECT
    Sum(tblJobList.Hours) FROM tblJobList WHERE tblJobList.Key_Job = tblJob.Key),0) -
    Sum(PER2.Lessons) AS остат, tblTutors.Key AS Key_Tutor, tblJob.Key_Discipline
FROM ((PER2 INNER JOIN tblJob ON PER2.Key_Job = tblJob.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor
    = tblTutors.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key
GROUP BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblJob.Key,
    tblJob.Key_Discipline
ORDER BY tblTutors.Tutor, tblTutors.Key, tblDisciplines.Discipline, tblJob.Key
PIVOT PER2.Key_Group;

-- A tutor's busy time: qryViewTutorBusyTime and qryViewTutorOutTime are rewritten for the
-- tutor before qryViewTutorOutTotals is opened.

-- query: qryViewTutorBusyTime
SELECT Given.Tutor, Count(*) AS CountLesson, Min(Given.Date) AS MinDate, Max(Given.Date) AS
    MaxDate, DateDiff('d',[MinDate],[MaxDate]) AS CountDays
FROM (SELECT DISTINCT tblTutors.Tutor, tblTimeTableList.Date, tblTimeTableContent.Lesson FROM
    tblTutors INNER JOIN (tblTimeTableList INNER JOIN (tblJob INNER JOIN tblTimeTableContent ON
    tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key =
    tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor WHERE
    (((tblTutors.Tutor)='')))  AS Given
GROUP BY Given.Tutor;

-- query: qryViewTutorOutTime
SELECT tblTutors.Tutor, tblTutorOut.FreeDay, tblTutorOut.FreeLesson, tblTutorOut.FreeLocalDate,
    tblTutorOut.KeyTypeOut
FROM tblTutors INNER JOIN tblTutorOut ON tblTutors.Key = tblTutorOut.KeyTutor
WHERE (((tblTutors.Tutor)=''));

-- The busy-time report of a tutor: his lesson totals, repeated on one row per exception (one
-- row with empty exception fields when he has none); no row when he has no lessons.
-- query: qryViewTutorOutTotals
SELECT qryViewTutorBusyTime.Tutor, qryViewTutorBusyTime.CountLesson, qryViewTutorBusyTime.MinDate,
    qryViewTutorBusyTime.MaxDate, qryViewTutorBusyTime.CountDays, qryViewTutorOutTime.KeyTypeOut,
    tblTutorTypeOut.TypeOut, qryViewTutorOutTime.FreeDay, qryViewTutorOutTime.FreeLesson,
    qryViewTutorOutTime.FreeLocalDate
FROM (qryViewTutorBusyTime LEFT JOIN qryViewTutorOutTime ON qryViewTutorBusyTime.Tutor =
    qryViewTutorOutTime.Tutor) LEFT JOIN tblTutorTypeOut ON qryViewTutorOutTime.KeyTypeOut =
    tblTutorTypeOut.Key
ORDER BY qryViewTutorOutTime.KeyTypeOut, qryViewTutorOutTime.FreeLocalDate,
    qryViewTutorOutTime.FreeDay, qryViewTutorOutTime.FreeLesson;
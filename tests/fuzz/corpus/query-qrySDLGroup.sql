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

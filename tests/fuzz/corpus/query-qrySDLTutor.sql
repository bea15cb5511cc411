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

// The exam date of a group's load line, set from the group passport: saved on the line of the
// row's discipline and tutor, cleared by a null date, refused without a group or a line, and
// shown by the passport filled again.

#include "editing/examdate.h"
#include "interaction/routerfixture.h"

namespace korvesta {
namespace {

class ExamDateTest : public RouterTest
{
protected:
    // The passport of the group as a click in the object list fills it; its rows as
    // "discipline|tutor|exam date".
    QStringList passport(int keyGroup)
    {
        show(0, 2);
        EXPECT_EQ(views.chooseObject({QStringLiteral("gr") + QString::number(keyGroup), {}, {}}),
                  FillResult::Filled);
        QStringList rows;
        for (int row = 2; row + 1 < grid.rows(); ++row)
            rows << grid.text(row, 0) + u'|' + grid.text(row, 1) + u'|' + grid.text(row, 6);
        return rows;
    }
    QStringList examDates() const
    {
        return b.raw(QStringLiteral("SELECT Key, Coalesce(DateExam, '-') FROM tblJobList "
                                    "ORDER BY Key"));
    }
    static QString shown(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }
};

TEST_F(ExamDateTest, SavedOnTheRowsLineClearedAndShownAgain)
{
    const QDate exam = s.past.addDays(4);
    const QDate newExam(2027, 6, 21);
    const QStringList before = examDates();
    EXPECT_EQ(passport(s.p9), (QStringList{"Матем|Иванов И.И.|" + shown(exam),
                                           "Матем|Петров П.П.|", "Физ|О'Нил|"}));

    // Two tutors teach П-9 mathematics: the row's tutor picks the line.
    EXPECT_TRUE(saveExamDate(session, prompts, {s.p9, "Матем", "Петров П.П."}, newExam));
    EXPECT_EQ(passport(s.p9),
              (QStringList{"Матем|Иванов И.И.|" + shown(exam),
                           "Матем|Петров П.П.|" + shown(newExam), "Физ|О'Нил|"}));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tblJobList WHERE DateExam = '%1'")
                        .arg(newExam.toString(Qt::ISODate))),
              1);

    EXPECT_TRUE(saveExamDate(session, prompts, {s.p9, "Матем", "Иванов И.И."}, QDate()));
    EXPECT_TRUE(saveExamDate(session, prompts, {s.p9, "Физ", "О'Нил"}, exam));
    EXPECT_EQ(passport(s.p9), (QStringList{"Матем|Иванов И.И.|",
                                           "Матем|Петров П.П.|" + shown(newExam),
                                           "Физ|О'Нил|" + shown(exam)}));
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblJobList WHERE Key = %1 AND DateExam IS "
                            "NULL")
                        .arg(s.lineIvanovP9)),
              1);
    EXPECT_TRUE(prompts.shown.empty());
    // Nothing but the three lines changed.
    const QStringList after = examDates();
    int changed = 0;
    for (int i = 0; i < before.size(); ++i)
        changed += before[i] != after.value(i) ? 1 : 0;
    EXPECT_EQ(changed, 3);
}

TEST_F(ExamDateTest, RefusalsLeaveTheDocumentAsItWas)
{
    const QString noLine = QStringLiteral("Добавление даты экзамена отклонено:\r\n"
                                          "Выбраны некорректные данные");
    const struct
    {
        const char *name;
        ExamLine line;
        QString message;
        Prompts::Icon icon;
    } cases[] = {
        {"no group chosen", {0, "Матем", "Иванов И.И."}, "Следует выбрать группу",
         Prompts::Icon::Information},
        {"a discipline the group is not taught", {s.p9, "Химия", ""}, noLine,
         Prompts::Icon::Critical},
        {"a tutor who does not teach it to the group", {s.p9, "Физ", "Иванов И.И."}, noLine,
         Prompts::Icon::Critical},
        {"a group without load", {s.noLoad, "Матем", ""}, noLine, Prompts::Icon::Critical},
    };
    const QStringList before = examDates();
    for (const auto &c : cases) {
        prompts.shown.clear();
        EXPECT_FALSE(saveExamDate(session, prompts, c.line, QDate(2027, 1, 15))) << c.name;
        ASSERT_EQ(prompts.shown.size(), 1u) << c.name;
        EXPECT_EQ(prompts.shown[0].text, c.message) << c.name;
        EXPECT_EQ(prompts.shown[0].icon, c.icon) << c.name;
        EXPECT_EQ(examDates(), before) << c.name;
    }
}

} // namespace
} // namespace korvesta

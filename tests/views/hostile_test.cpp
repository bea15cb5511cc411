// Documents of another layout through every view: each saved query of the document in turn is
// replaced by one that reads nothing the program expects, and every view is shown as the
// navigation bar shows it, with the first object of its list clicked. No failure may leave a
// fill; a view that cannot be shown says so in Russian; a view that shows something shows
// what it shows with the document intact.

#include "data/querydef.h"
#include "grid/gridmodel.h"
#include "grid/gridtext.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"
#include "views/headlessviews.h"
#include "views/timetable/timetablefills.h"
#include "views/viewtable.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

namespace korvesta {
namespace {

const QString kForeignLayout =
    QStringLiteral("Некорректный формат базы данных\r\nДействие отменено");

// What a view showed: its grid, its object list and the grid after the first object's click,
// and every message.
struct Shown
{
    QString text;
    QStringList messages;
    bool failed = false;
};

class HostileDocument : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        views.date = views.from = s.past;
        views.to = s.future;
    }

    static std::vector<int> viewCodes()
    {
        std::vector<int> codes;
        for (int section = 0; section < ViewTable::SectionCount; ++section) {
            for (const ViewEntry &entry : ViewTable::items(section))
                codes.push_back(entry.code());
        }
        return codes;
    }

    Shown show(int code)
    {
        prompts.shown.clear();
        Shown out;
        try {
            out.failed = !views.show(code);
            out.text = gridToTsv(grid);
            if (!views.objects().entries.empty()) {
                const ObjectListEntry first = views.objects().entries.front();
                out.text += QStringLiteral("objects: ") + first.texts.join(u',') + u'\n';
                out.failed |= views.chooseObject(first) == FillResult::Failed;
                out.text += gridToTsv(grid);
            }
        } catch (const std::exception &error) {
            ADD_FAILURE() << "view " << code << " let out: " << error.what();
        }
        out.messages = prompts.texts(ScriptedPrompts::Kind::Message);
        return out;
    }

    std::map<int, Shown> showAll()
    {
        std::map<int, Shown> out;
        for (const int code : viewCodes())
            out[code] = show(code);
        return out;
    }

    // Each saved query in turn replaced by `replacement`, every view shown against the
    // views of the intact document. Returns the views that told of another layout, by query.
    std::map<QString, std::vector<int>> breakEachQuery(const QString &replacement)
    {
        const std::map<int, Shown> intact = showAll();
        for (const auto &[code, shown] : intact) {
            EXPECT_FALSE(shown.failed) << "intact document, view " << code;
            EXPECT_EQ(shown.messages, QStringList()) << "intact document, view " << code;
        }
        std::map<QString, std::vector<int>> told;
        const Database db = Database::open(path);
        for (const QString &name : db.queryDefNames()) {
            SCOPED_TRACE(name.toStdString());
            const QString original = db.queryDef(name).sql();
            db.createQueryDef(name, replacement);
            for (const auto &[code, shown] : showAll()) {
                if (shown.messages.isEmpty()) {
                    // Nothing said: the view read nothing of the query, or read it again as
                    // it ought to be. Either way it shows what the intact document shows.
                    EXPECT_FALSE(shown.failed) << "view " << code;
                    EXPECT_EQ(shown.text, intact.at(code).text) << "view " << code;
                    continue;
                }
                told[name].push_back(code);
                for (const QString &message : shown.messages)
                    checkRussian(message, code);
            }
            db.createQueryDef(name, original);
        }
        return told;
    }

    void checkRussian(const QString &message, int code)
    {
        static const QRegularExpression english(QStringLiteral("[A-Za-z]{4,}"));
        static const QRegularExpression russian(QStringLiteral("[А-Яа-яЁё]{4,}"));
        EXPECT_TRUE(russian.match(message).hasMatch())
            << "view " << code << ": " << message.toStdString();
        EXPECT_FALSE(english.match(message.section(QStringLiteral("\r\n"), 0, 1)).hasMatch())
            << "view " << code << ": " << message.toStdString();
    }

    SampleInstitution s = SampleInstitution::build(b);
    SettingsRecord record;
    GridModel grid;
    HeadlessViews views{grid, session, store, record, prompts};
};

TEST_F(HostileDocument, AQueryOfOtherFieldsIsADocumentOfAnotherLayout)
{
    grid.setClientWidth(12000);
    const std::map<QString, std::vector<int>> told =
        breakEachQuery(QStringLiteral("SELECT 1 AS X"));

    // The views each query is known to feed say exactly the message of another layout.
    const struct
    {
        const char *query;
        std::vector<int> views;
    } known[] = {
        {"qryGroups", {0, 1, 2, 40, 41, 51}},
        {"qryPassportGroup", {2}},
        {"qryDisciplines", {10, 11}},
        {"qryAuditories", {20, 21, 52}},
        {"qryTimeTable", {40, 41}},
        {"qryTimeTableWork", {42}},
        {"qryTutors", {32, 33, 34, 42, 43, 50, 53}},
        {"OTR4", {33}},
        {"qryOtrabotka", {34}},
        {"PER3", {35}},
        {"qryFreeTimeTutor", {43}},
        {"qryBusyTime", {43}},
    };
    for (const auto &k : known) {
        const auto found = told.find(QString::fromLatin1(k.query));
        ASSERT_NE(found, told.end()) << k.query;
        for (const int code : k.views) {
            EXPECT_NE(std::find(found->second.begin(), found->second.end(), code),
                      found->second.end())
                << k.query << " in view " << code;
        }
    }
    b.db().createQueryDef(QStringLiteral("qryGroups"), QStringLiteral("SELECT 1 AS X"));
    for (const int code : {0, 2, 40}) {
        const Shown shown = show(code);
        EXPECT_EQ(shown.messages, QStringList{kForeignLayout}) << code;
    }
}

// A ';' or '\\' in a name stays in its line of the day view's tooltip.
TEST_F(HostileDocument, SeparatorsInNamesStayInTheirTooltipLines)
{
    b.raw(QString("UPDATE tblTutors SET Tutor = 'Иванов; И.\\И.' WHERE Key = %1").arg(s.ivanov));
    b.raw(QString("UPDATE tblDisciplines SET Discipline1 = 'Мат;ем' WHERE Key = %1").arg(s.math));
    ASSERT_TRUE(views.show(40));
    ViewContext ctx = views.context();
    QStringList tooltips;
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        for (int col = grid.fixedCols(); col < grid.cols(); ++col) {
            const QString tooltip = dayTimetableTooltip(ctx, row, col);
            if (tooltip.contains(QStringLiteral("Иванов")))
                tooltips << tooltip;
        }
    }
    ASSERT_FALSE(tooltips.isEmpty());
    for (const QString &tooltip : tooltips) {
        EXPECT_TRUE(tooltip.contains(QStringLiteral("Преподаватель: Иванов; И.\\И.\n"
                                                    "Дисциплина: Мат;ем\nТип занятия: ")))
            << tooltip.toStdString();
    }
}

TEST_F(HostileDocument, ADeeplyNestedConditionIsRefusedInRussian)
{
    const QString condition = QString(4000, u'(') + QStringLiteral("1=1") + QString(4000, u')');
    const std::map<QString, std::vector<int>> told =
        breakEachQuery(QStringLiteral("SELECT 1 AS X WHERE ") + condition);
    for (const char *query : {"qryGroups", "qryPassportGroup", "qryDisciplines", "qryAuditories",
                              "qryTimeTable", "qryTimeTableWork", "qryTutors"})
        EXPECT_TRUE(told.contains(QString::fromLatin1(query))) << query;
}

} // namespace
} // namespace korvesta

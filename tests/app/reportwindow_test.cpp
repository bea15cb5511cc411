// The reports in the window: the individual timetables in the preview pane, "Сохранить
// таблицу", and the preview window of a view's grid.

#include "app/frmpreview.h"
#include "app/gridlookcommands.h"
#include "app/objectpane.h"
#include "app/rangecalendar.h"
#include "app/reportpreview.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

class ReportWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        open({path});
        range()->setRange(s.past, s.future);
    }
    // Clicks the object whose first column reads text.
    void choose(const QString &text)
    {
        auto *list = window->findChild<QTreeWidget *>(QStringLiteral("listAction"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            if (item->text(0) == text) {
                list->setCurrentItem(item);
                emit list->itemClicked(item, 0);
                return;
            }
        }
        FAIL() << "no object " << text.toStdString();
    }
    RangeCalendar *range() const { return window->objectPane()->secondCalendar(); }
    const std::optional<ReportContent> &shown() const { return window->reportPreview()->report(); }
    qint64 lessonsOf(const QString &where) const
    {
        return b.rawNumber(QStringLiteral(
            "SELECT count(*) FROM tblTimeTableContent c JOIN tblJob j ON j.\"Key\" = c.Key_Job "
            "JOIN tblTimeTableList l ON l.\"Key\" = c.Key_TTList JOIN tblGroups g ON "
            "g.\"Key\" = c.Key_Group WHERE l.\"Date\" BETWEEN '%1' AND '%2' AND %3")
                               .arg(s.past.toString(Qt::ISODate),
                                    range()->rangeEnd().toString(Qt::ISODate), where));
    }

    SampleInstitution s = SampleInstitution::build(b, QDate(2026, 10, 14));
};

TEST_F(ReportWindow, AnObjectClickedRendersItsTimetableAndEachViewStartsEmpty)
{
    struct Case
    {
        int code;
        const char *object;
        const char *title;
        const char *line; // the object as the report names it
        QString rows;     // which lessons it lists
    };
    const Case cases[] = {
        {50, "Иванов И.И.", "Расписание преподавателя", "Иванов И.И.",
         QStringLiteral("j.Key_Tutor = %1").arg(s.ivanov)},
        {51, "П-9", "Расписание группы", "П-9  (1)",
         QStringLiteral("c.Key_Group = %1").arg(s.p9)},
        {52, "202", "Расписание аудитории", "202",
         QStringLiteral("c.Key_Aud = %1").arg(s.a202)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        show(c.code);
        EXPECT_FALSE(shown());
        EXPECT_TRUE(window->reportPreview()->isVisible());
        choose(QString::fromUtf8(c.object));
        ASSERT_TRUE(shown());
        EXPECT_EQ(shown()->title, QString::fromUtf8(c.title));
        EXPECT_EQ(shown()->lines.value(0), QString::fromUtf8(c.line));
        EXPECT_EQ(shown()->dataRowCount(), lessonsOf(c.rows));
        EXPECT_GE(window->reportPreview()->pageCount(), 1);
    }
    // A narrower range shows the same object again, for those days.
    range()->setRange(s.past, s.past.addDays(1));
    EXPECT_EQ(shown()->dataRowCount(), lessonsOf(QStringLiteral("c.Key_Aud = %1").arg(s.a202)));
    EXPECT_TRUE(prompts.shown.empty());

    // The pages lie on the background chosen for the grid and the preview.
    prompts.colorAnswers.push_back(QColor(10, 20, 30));
    ASSERT_TRUE(window->gridLook().chooseBackground());
    auto *pages = window->reportPreview()->findChild<QGraphicsView *>();
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->backgroundBrush().color(), QColor(10, 20, 30));
}

TEST_F(ReportWindow, SaveTableWritesTheViewsReportOfTheChosenKind)
{
    show(0);
    ASSERT_TRUE(command("ButtonSave")->isEnabled());
    // The paged HTML is chosen as .xhtm and written as .htm.
    prompts.fileAnswers.push_back(folder.file(QStringLiteral("группы.xhtm")));
    command("ButtonSave")->trigger();
    ASSERT_FALSE(prompts.fileChoices.empty());
    EXPECT_EQ(prompts.fileChoices.back().proposedName, QStringLiteral("Список групп.pdf"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("группы.xhtm"))));
    QFile html(folder.file(QStringLiteral("группы.htm")));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(page.contains(QStringLiteral("<h1>Список групп</h1>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Д&#x27;Артаньян")) ||
                page.contains(QStringLiteral("Д'Артаньян")));
    EXPECT_TRUE(page.contains(QStringLiteral("Страница 1 из 1")));

    // An individual timetable, as text, named after the view and the object.
    show(50);
    choose(QStringLiteral("О'Нил"));
    prompts.fileAnswers.push_back(folder.file(QStringLiteral("онил.txt")));
    command("submenuSaveToFile")->trigger();
    EXPECT_EQ(prompts.fileChoices.back().proposedName,
              QStringLiteral("Расписание преподавателя О'Нил.pdf"));
    QFile text(folder.file(QStringLiteral("онил.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(text.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ")));
    EXPECT_TRUE(written.contains(QStringLiteral("Физика 'общая'")));
    EXPECT_TRUE(prompts.texts(Kind::Message).isEmpty());

    // Cancelled, or with an empty name: nothing is written.
    const auto files = [&] { return QDir(folder.path()).entryList(QDir::Files).size(); };
    const auto before = files();
    prompts.fileAnswers.push_back(std::nullopt);
    command("submenuSaveToFile")->trigger();
    prompts.fileAnswers.push_back(QString());
    command("submenuSaveToFile")->trigger();
    EXPECT_EQ(files(), before);

    // A view without a report, and a report without its object, say so and ask for no file.
    const std::size_t dialogs = prompts.fileChoices.size();
    show(51);
    command("submenuSaveToFile")->trigger();
    show(20);
    command("submenuSaveToFile")->trigger();
    EXPECT_EQ(prompts.fileChoices.size(), dialogs);
    const QStringList told = prompts.texts(Kind::Message);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Выберите объект в списке")));
    EXPECT_TRUE(told[1].contains(QStringLiteral("Список аудиторий")));
}

TEST_F(ReportWindow, PreviewWindowLaysTheGridOutAndOpensItAsAPage)
{
    show(30);
    command("submenuPrintPreview")->trigger();
    auto *preview = window->findChild<frmPreview *>(QStringLiteral("frmPreview"));
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    const std::optional<ReportContent> &content = preview->preview()->report();
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->landscape);
    EXPECT_EQ(content->pageHeader, QStringLiteral("Нагрузка"));
    EXPECT_DOUBLE_EQ(content->columns[0].width, 0.38);
    EXPECT_DOUBLE_EQ(content->columns[1].width, 0.20);
    EXPECT_TRUE(content->dataRowCount() > 0);

    QUrl opened;
    frmPreview::setUrlOpener([&](const QUrl &url) {
        opened = url;
        return true;
    });
    const QString page = preview->openAsHtml();
    frmPreview::setUrlOpener([](const QUrl &) { return true; });
    EXPECT_EQ(opened, QUrl::fromLocalFile(page));
    EXPECT_TRUE(page.startsWith(folder.path()));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("Иванов И.И.")));

    // In section 5 the preview window shows the report, not the grid.
    show(50);
    choose(QStringLiteral("Петров П.П."));
    command("submenuPrintPreview")->trigger();
    ASSERT_TRUE(preview->preview()->report());
    EXPECT_EQ(preview->preview()->report()->title, QStringLiteral("Расписание преподавателя"));
}

} // namespace
} // namespace korvesta

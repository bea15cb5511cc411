// The load's menu items, entry row and Delete key, routed on a load outline written into the
// grid as the load view shows it.

#include "interaction/routerfixture.h"

namespace korvesta {
namespace {

using Icon = Prompts::Icon;

// The load editing, recording what it was handed; answers with `result`.
class LoadTargets : public EditingTargets
{
public:
    bool addLoadTutor() override { return record(QStringLiteral("tutor 1")); }
    bool addLoadDiscipline(int row) override
    {
        return record(QStringLiteral("discipline %1").arg(row));
    }
    bool addLoadGroup(int row) override { return record(QStringLiteral("group %1").arg(row)); }
    bool editLoadHours(int row) override { return record(QStringLiteral("hours %1").arg(row)); }
    bool deleteFromLoad(LoadPart part, int row) override
    {
        return record(QStringLiteral("delete %1 %2").arg(int(part)).arg(row));
    }
    bool record(const QString &call)
    {
        calls << call;
        return result;
    }
    QStringList calls;
    bool result = false;
};

class LoadRouting : public RouterTest
{
protected:
    void SetUp() override
    {
        RouterTest::SetUp();
        router.setTargets(load);
    }
    // Иванов's two groups of Матем with the discipline's and the tutor's totals below them.
    void showLoad()
    {
        show(3, 0);
        grid.setCols(7);
        grid.setFixedCols(1);
        grid.setFixedRows(1);
        grid.setRows(1);
        grid.addRow(QStringList{"", "Иванов И.И.", "101 (Главный)", "Матем", "П-9  (1)", "40"});
        grid.addRow(QStringList{"", "Иванов И.И.", "101 (Главный)", "Матем", "П-10  (1)", "30"});
        const int discipline = grid.addRow(QStringList{
            "", "Иванов И.И.", "", "Нагрузка по дисциплине 'Матем'", "Групп:   2", "70"});
        const int tutor =
            grid.addRow(QStringList{"", "ИТОГО у преподавателя  'Иванов И.И.'", "101 (Главный) ",
                                    "Дисциплин:   1 ", "Групп:   2", "70"});
        for (const auto &[row, level] : {std::pair(discipline, 3), std::pair(tutor, 1)}) {
            grid.setIsSubtotal(row, true);
            grid.setRowOutlineLevel(row, level);
        }
    }
    void at(int row, int col)
    {
        grid.setCurrentCell(row, col);
        router.currentCellChanged();
    }
    QString lastShown() const
    {
        return prompts.shown.empty() ? QString() : prompts.shown.back().text;
    }

    LoadTargets load;
};

TEST_F(LoadRouting, MenusRefuseRowsWithoutWhatTheyNeed)
{
    const struct
    {
        const char *name;
        int row, col;
        EditCommand command;
        QString message;
        Icon icon;
    } cases[] = {
        {"discipline on the header", 0, 3, EditCommand::AddLoadDiscipline,
         "Не выделен преподаватель для добавления дисциплины", Icon::Critical},
        {"hours on a totals row", 3, 5, EditCommand::EditLoadHours, "Не выбрана группа",
         Icon::Critical},
        {"group deleted on a totals row", 4, 4, EditCommand::DeleteLoadGroup, "Не выбрана группа",
         Icon::Information},
    };
    for (const auto &c : cases) {
        showLoad();
        prompts.shown.clear();
        at(c.row, c.col);
        router.command(c.command);
        EXPECT_EQ(lastShown(), c.message) << c.name;
        EXPECT_EQ(prompts.shown.back().icon, c.icon) << c.name;
        EXPECT_EQ(grid.rows(), 5) << c.name << ": no entry row";
    }
    // A tutor's name the document does not know.
    showLoad();
    grid.setText(1, 1, "Никто");
    at(1, 3);
    router.command(EditCommand::AddLoadGroup);
    EXPECT_EQ(lastShown(), "Не выделен преподаватель для добавления дисциплины");
    EXPECT_TRUE(load.calls.isEmpty());
}

TEST_F(LoadRouting, EntryRowIsTypedAndFinishedByItsHours)
{
    showLoad();
    // On the tutor's totals: the last line above it is copied into a row above the load.
    at(4, 1);
    router.command(EditCommand::AddLoadDiscipline);
    ASSERT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.text(1, 1), "Иванов И.И.");
    EXPECT_EQ(grid.text(1, 4), "П-10  (1)");
    EXPECT_EQ(grid.text(1, 5), "");
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentCol(), 3);
    EXPECT_EQ(grid.editMode(), EditMode::KeyboardMouse);
    EXPECT_FALSE(router.beforeEdit(1, 1)) << "the tutor stays";
    EXPECT_FALSE(router.beforeEdit(2, 3)) << "the load is not typed into";
    at(2, 3);
    EXPECT_EQ(grid.editMode(), EditMode::None);

    // Refused: the row stays as typed; Enter tries again; accepted: the load is refilled.
    at(1, 5);
    grid.setText(1, 5, "12abc");
    router.afterEdit(1, 5);
    EXPECT_EQ(load.calls, QStringList{"discipline 1"});
    EXPECT_EQ(grid.text(1, 5), "12abc");
    EXPECT_EQ(host.refreshes, 1);
    load.result = true;
    router.keyDown(Qt::Key_Return);
    EXPECT_EQ(load.calls, (QStringList{"discipline 1", "discipline 1"}));
    EXPECT_EQ(host.refreshes, 2);

    // A refill takes the entry row away: the load's own row 1 is not typed into.
    showLoad();
    at(1, 5);
    EXPECT_EQ(grid.editMode(), EditMode::None);
    router.afterEdit(1, 5);
    EXPECT_EQ(load.calls.size(), 2);

    // Escape drops the entry row; a new tutor starts from an empty one.
    at(2, 5);
    router.command(EditCommand::EditLoadHours);
    EXPECT_EQ(grid.text(1, 5), "30");
    EXPECT_EQ(grid.currentCol(), 5);
    router.keyDown(Qt::Key_Escape);
    EXPECT_EQ(grid.rows(), 5);
    router.command(EditCommand::AddLoadTutor);
    EXPECT_EQ(grid.text(1, 1), "");
    EXPECT_EQ(grid.currentCol(), 1);
    grid.setText(1, 5, "4");
    at(1, 5); // with the name still empty only Enter in the hours tries the line
    router.keyDown(Qt::Key_Return);
    EXPECT_EQ(load.calls.last(), "tutor 1");
}

TEST_F(LoadRouting, DeleteActsByColumnAndOnTotalsByWhatTheyTotal)
{
    using Part = EditingTargets::LoadPart;
    const struct
    {
        int row, col;
        QString call;
    } cases[] = {
        {1, 4, QString("delete %1 1").arg(int(Part::Group))},
        {2, 3, QString("delete %1 2").arg(int(Part::Discipline))},
        {2, 1, QString("delete %1 2").arg(int(Part::Tutor))},
        {3, 5, QString("delete %1 2").arg(int(Part::Discipline))},
        {4, 4, QString("delete %1 2").arg(int(Part::Tutor))},
    };
    for (const auto &c : cases) {
        showLoad();
        load.calls.clear();
        at(c.row, c.col);
        router.keyUp(Qt::Key_Delete);
        EXPECT_EQ(load.calls, QStringList{c.call}) << c.row << " " << c.col;
    }
    showLoad();
    prompts.shown.clear();
    at(0, 3);
    router.keyUp(Qt::Key_Delete);
    EXPECT_EQ(lastShown(), "Выберите строку преподавателя, дисциплины или группы");
    // A change refills and keeps the row in sight.
    load.result = true;
    const int refreshes = host.refreshes;
    at(2, 4);
    router.keyUp(Qt::Key_Delete);
    EXPECT_EQ(host.refreshes, refreshes + 1);
}

} // namespace
} // namespace korvesta

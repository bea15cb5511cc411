// Names typed or pasted into the entry row with tabs and line breaks (a cell copied from a
// spreadsheet): saved on one line, and found again in the refilled list.

#include "interaction/entryrows.h"
#include "interaction/routerfixture.h"
#include "views/frames/entryarea.h"

namespace korvesta {
namespace {

TEST(EntryRowsTest, NamesAreTakenOnOneLine)
{
    const struct
    {
        const char *typed;
        const char *taken;
    } cases[] = {
        {"П-9", "П-9"},
        {"П-9\tА", "П-9 А"},
        {"Иванов\r\nИван", "Иванов Иван"},
        {"Иванов \t\tИван", "Иванов Иван"},
        {"Иванов\t Иван", "Иванов Иван"},
        {"\tП-9\r\n", "П-9"},
        {"a\u2028b", "a b"},
        {"\t\n", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(entryrows::oneLine(QString::fromUtf8(c.typed)), QString::fromUtf8(c.taken))
            << c.typed;
}

TEST_F(RouterTest, APastedGroupIsSavedOnOneLineAndFoundAgain)
{
    show(0, 0);
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_EQ(grid.text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
    grid.setText(entryarea::Row, 1, QStringLiteral("4\r\n"));
    grid.setText(entryarea::Row, 2, QStringLiteral("ИС-41\tвечер"));
    grid.setText(entryarea::Row, 7, QStringLiteral("из\tтаблицы\n"));
    moveTo(entryarea::AcceptRow, entryarea::ButtonCol);

    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups WHERE \"Group\" = 'ИС-41 вечер' AND Course = "
                    "'4' AND Comment = 'из таблицы'"),
              1);
    ASSERT_EQ(navigation.viewCode(), 0);
    EXPECT_EQ(grid.text(grid.currentRow(), 2), QStringLiteral("ИС-41 вечер"));
}

// A type named with a tab or "|" is one item of the drop-down list, its code kept.
TEST_F(RouterTest, SeparatorsInAListedNameStayInsideItsItem)
{
    settings.UseTypeFaculty = true;
    b.raw(QString("UPDATE tblTypeFaculty SET TypeFaculty = 'Ф' || char(9) || 'ИТ|2' WHERE Key = "
                  "%1")
              .arg(s.facultyFit));
    show(0, 0);
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_TRUE(router.beforeEdit(entryarea::Row, 4));
    const std::vector<GridModel::ComboItem> items = grid.comboItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].code, QString::number(s.facultyFit));
    EXPECT_EQ(items[1].text, QStringLiteral("Ф ИТ¦2"));
}

// A list whose saved query reads other fields cancels the edit with the message of another
// layout.
TEST_F(RouterTest, AListOfOtherFieldsCancelsTheEdit)
{
    settings.UseTypeDiscipline = true;
    show(1, 0);
    navigation.selectNewRecord();
    host.refresh();
    b.db().createQueryDef(QStringLiteral("qryDisciplineType"), QStringLiteral("SELECT 1 AS X"));
    EXPECT_FALSE(router.beforeEdit(entryarea::Row, 1));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Некорректный формат базы данных\r\n"
                                                     "Действие отменено")});
    EXPECT_EQ(grid.comboList(), QString());
}

} // namespace
} // namespace korvesta

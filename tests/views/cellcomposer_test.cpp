// What a timetable cell says in each display-text mode.

#include "views/timetable/cellcomposer.h"

#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(CellComposer, EveryModeOfTheTable)
{
    const LessonTexts l{"П-9", "Иванов", "Матем", "Математика", "101", "Лек", "Лекция"};
    const struct
    {
        int code;
        const char *text;
    } cases[] = {
        {1, "П-9"},
        {3, "Иванов"},
        {7, "Матем"},
        {8, "П-9  Матем"},
        {10, "Матем\nИванов"},
        {11, "101"},
        {12, "П-9  101"},
        {14, "Иванов\n101"},
        {18, "Матем  101"},
        {21, "Матем  101\nИванов"},
        {24, "(Лекция)"},
        {25, "П-9  (Лек)"},
        {27, "Иванов  (Лек)"},
        {29, "Математика"},
        {31, "Матем  (Лек)"},
        {32, "Математика\nИванов"},
        {40, "Математика\n101"},
        {42, "Матем (Лек)  101"},
        {43, "Математика\nИванов 101"},
        {45, "Матем (Лек)  101\nИванов"},
        {53, "Математика  (Лек)"},
        {67, "Математика (Лек)  101\nИванов"},
        // Outside the table: nothing, also for sums of real parts such as group + tutor.
        {0, ""},
        {4, ""},
        {-18, ""},
        {68, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(composeCellText(l, c.code), QString::fromUtf8(c.text)) << "code " << c.code;
}

TEST(CellComposer, MissingPartsComposeAsEmpty)
{
    EXPECT_EQ(composeCellText({}, 45), QStringLiteral(" ()  \n"));
    LessonTexts tutorOnly;
    tutorOnly.tutor = QStringLiteral("Петров");
    EXPECT_EQ(composeCellText(tutorOnly, 14), QStringLiteral("Петров\n"));
}

// A name pasted from a spreadsheet keeps its tab or line break in the document; in the cell
// it is a blank, so the parts stay on their own lines.
TEST(CellComposer, SeparatorsInsideAPartShowAsBlanks)
{
    const LessonTexts l{"П-9\t2", "Иванов\r\nИ.И.", "Матем\n", "Мат\tанализ", "101\r",
                        "Лек\t", "Лек\nция"};
    EXPECT_EQ(composeCellText(l, 10), QStringLiteral("Матем \nИванов  И.И."));
    EXPECT_EQ(composeCellText(l, 67), QStringLiteral("Мат анализ (Лек )  101 \nИванов  И.И."));
    EXPECT_EQ(composeCellText(l, 12), QStringLiteral("П-9 2  101 "));
    EXPECT_EQ(composeCellText(l, 24), QStringLiteral("(Лек ция)"));
}

} // namespace
} // namespace korvesta

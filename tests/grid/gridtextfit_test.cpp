#include "grid/gridtextfit.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// Every character, "…" included, 10 pixels wide.
int tenEach(const QString &line)
{
    return static_cast<int>(line.size()) * 10;
}

TEST(GridTextFit, WrapsAtBlanksAndCutsAtTheEndOnly)
{
    const struct
    {
        const char *name;
        QString text;
        int width;
        int maxLines;
        bool wrap;
        QStringList lines;
        bool cut;
    } cases[] = {
        {"fits", "Химия", 60, 1, true, {"Химия"}, false},
        {"one line cut at its end", "Обществознание", 90, 3, false, {"Общество…"}, true},
        {"a long word is cut, not broken", "Обществознание", 90, 3, true, {"Общество…"}, true},
        {"surname and initials", "Анисимова Ю.С.", 60, 2, true, {"Аниси…", "Ю.С."}, true},
        {"spacing kept", "Матем  101 Физика", 100, 3, true, {"Матем  101", "Физика"}, false},
        {"line breaks kept", "Физика\n101", 100, 2, true, {"Физика", "101"}, false},
        {"more lines than room", "один два три", 40, 2, true, {"один", "два…"}, true},
        {"no room for an ellipsis after", "один двадцать", 40, 1, true, {"оди…"}, true},
        {"a cut line is not cut twice", "Анисимова Ю.С.", 60, 1, true, {"Аниси…"}, true},
        {"lines beyond the room, no wrap", "1\n2\n3", 50, 1, false, {"1…"}, true},
        {"blanks dropped before the ellipsis", "ab cdefgh", 40, 1, false, {"ab…"}, true},
        {"narrower than an ellipsis", "abc", 5, 1, false, {"…"}, true},
        {"empty", "", 50, 1, true, {""}, false},
        {"blanks at the end take no room", "102 (Б) ", 70, 2, true, {"102 (Б)"}, false},
    };
    for (const auto &c : cases) {
        const FittedText fitted = fitText(c.text, c.width, c.maxLines, c.wrap, tenEach);
        EXPECT_EQ(fitted.lines, c.lines) << c.name;
        EXPECT_EQ(fitted.cut, c.cut) << c.name;
    }
}

TEST(GridTextFit, EllipsisNeverSplitsASurrogatePair)
{
    const QString text = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + "cd";
    // Room for "ab", half the pair and "…": the pair goes whole.
    EXPECT_EQ(elideEnd(text, 40, tenEach), QStringLiteral("ab…"));
}

} // namespace
} // namespace korvesta

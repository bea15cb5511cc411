#include "grid/gridlayout.h"
#include "grid/gridmodel.h"
#include "grid/gridpainter.h"
#include "grid/gridtextcache.h"
#include "grid/gridview.h"
#include "support/testdocument.h"
#include "testapplication.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QPaintEngine>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace korvesta {
namespace {

// Types text as key presses, Cyrillic included.
void type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        const int key = ch.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    }
}

// A paint device that keeps the texts painted on it, in order.
class TextRecorder : public QPaintDevice
{
public:
    QStringList texts;

    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 600;
        case PdmHeight:
            return 200;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1000;
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(QStringList &texts)
            : m_texts(texts)
        {
        }
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF &, const QTextItem &item) override
        {
            m_texts << item.text();
        }
        Type type() const override { return User; }

    private:
        QStringList &m_texts;
    };
    mutable Engine m_engine{texts};
};

TEST(GridPainterTest, ATitleAcrossTheFixedColumnIsPaintedOnce)
{
    testApplication();
    const QString title = QStringLiteral("ПАСПОРТ ПРЕПОДАВАТЕЛЯ");
    for (const bool wrap : {false, true}) {
        for (const int scrollX : {0, 120}) {
            GridModel grid;
            grid.setCols(8);
            grid.setRows(3);
            grid.setFixedRows(1);
            grid.setFixedCols(1);
            grid.setText(0, 0, 0, 7, title);
            grid.setMergeCells(MergeMode::Free);
            grid.setMergeRow(0, true);
            grid.setColWidth(0, 300);
            for (int col = 1; col < 8; ++col)
                grid.setColWidth(col, 1500);
            grid.setWordWrap(wrap);
            ASSERT_EQ(grid.shownRange(0, 3), (CellRange{0, 0, 0, 7}));
            EXPECT_EQ(grid.mergedRange(0, 0), (CellRange{0, 0, 0, 0}));

            GridLayout layout;
            layout.build(grid, {});
            GridTextCache cache;
            GridPaintState state;
            state.viewport = QSize(600, 200);
            state.scrollX = scrollX;
            state.textCache = &cache;
            TextRecorder device;
            QPainter painter(&device);
            GridPainter(grid, layout, state).paint(painter);
            painter.end();
            EXPECT_EQ(device.texts, QStringList{title}) << wrap << " " << scrollX;
        }
    }
}

TEST(GridPainterTest, ACentredTextTooWideShowsItsBeginning)
{
    testApplication();
    GridModel grid;
    grid.setCols(3);
    grid.setRows(2);
    grid.setFixedRows(1);
    grid.setColWidth(0, 600);  // 40 pixels
    grid.setColWidth(1, 300);  // 20 pixels: a lesson number
    grid.setColWidth(2, 1100); // beside a picture
    grid.setText(0, 0, "Предмет");
    grid.setText(1, 1, "12");
    grid.setText(0, 2, "Анисимова Ю.С.");
    grid.setCellPicture(0, 2, "TUTOR");
    grid.setRowHeight(0, 600);
    grid.setCellAlignment(0, 0, 1, 2, Qt::AlignCenter);
    for (const bool wrap : {false, true}) {
        grid.setWordWrap(wrap);
        GridLayout layout;
        layout.build(grid, {});
        GridPaintState state;
        state.viewport = QSize(600, 200);
        TextRecorder device;
        QPainter painter(&device);
        GridPainter(grid, layout, state).paint(painter);
        painter.end();
        // Cut at their ends only; the lesson number whole; the initials wrapped apart.
        const auto painted = [&device](const QString &begin, const QString &end) {
            return std::count_if(device.texts.begin(), device.texts.end(),
                                 [&](const QString &t) {
                                     return t.startsWith(begin) && t.endsWith(end);
                                 });
        };
        const QString ellipsis(QChar(0x2026));
        EXPECT_EQ(painted("Пр", ellipsis), 1) << device.texts.join('|').toStdString();
        EXPECT_EQ(painted("Ани", ellipsis), 1) << device.texts.join('|').toStdString();
        EXPECT_TRUE(device.texts.contains("12"));
        EXPECT_EQ(device.texts.contains("Ю.С."), wrap);
        EXPECT_EQ(device.texts.size(), wrap ? 4 : 3);
    }
}

// A day timetable: a course row and a group row over the lesson rows; lesson numbers in the
// fixed column; a two-hour lesson merged down column 1.
class GridViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        view = std::make_unique<GridView>();
        view->resize(300, 260);
        grid = view->model();
        grid->setCols(7);
        grid->setFixedRows(2);
        grid->setFixedCols(1);
        grid->addRow("\t1 курс\t1 курс\t2 курс\t2 курс\t3 курс\t");
        grid->addRow("\tИС-11\tИС-12\tИС-21\tИС-22\tИС-31\tПримечание");
        for (int lesson = 1; lesson <= 12; ++lesson)
            grid->addRow(QString::number(lesson) + "\t\tФизика\tХимия\tИстория\t\t");
        grid->setText(2, 1, 4, 1, "Математика");
        for (int r = 0; r < grid->rows(); ++r)
            grid->setRowHeight(r, 300); // 20 pixels
        grid->setColWidth(0, 300);
        for (int c = 1; c < 7; ++c)
            grid->setColWidth(c, 1100);
        grid->setMergeCells(MergeMode::Free);
        grid->setMergeRow(0, true);
        grid->setMergeCol(1, true);
        grid->setCurrentCell(0, 0);

        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        view->setFocus();
        QCoreApplication::processEvents();
    }

    // The centre of one cell, also inside a merged block.
    QPoint at(int row, int col) const
    {
        return {view->cellRect(1, col).center().x(), view->cellRect(row, 0).center().y()};
    }

    QString current() const
    {
        return QString("%1,%2").arg(grid->currentRow()).arg(grid->currentCol());
    }

    std::unique_ptr<GridView> view;
    GridModel *grid = nullptr;
};

TEST_F(GridViewTest, DoubleClickReportsTheCellUnderTheMouse)
{
    QStringList reported;
    QObject::connect(view.get(), &GridView::doubleClicked, [&](int row, int col) {
        reported << QString("%1,%2").arg(row).arg(col);
    });
    const struct
    {
        int row;
        int col;
        int scroll; // pixels the body is scrolled to the right first
    } cases[] = {
        {0, 2, 0},  // right half of the merged "1 курс"
        {0, 1, 0},  // its left half
        {3, 1, 0},  // middle of the two-hour lesson merged over rows 2 to 4
        {5, 0, 0},  // a lesson number
        {1, 4, 80}, // a group header after the body has scrolled under it
        {6, 0, 80},
        {7, 4, 80},
    };
    QStringList expected;
    for (const auto &c : cases) {
        view->horizontalScrollBar()->setValue(c.scroll);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at(c.row, c.col));
        expected << QString("%1,%2").arg(c.row).arg(c.col);
    }
    EXPECT_EQ(reported, expected);
    // A click in the merged lesson makes that very cell current.
    view->horizontalScrollBar()->setValue(0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(3, 1));
    EXPECT_EQ(current(), "3,1");
}

TEST_F(GridViewTest, AViewOutlivesTheModelItShows)
{
    GridModel *own = view->model();
    {
        GridModel shared;
        shared.setCols(3);
        shared.setRows(3);
        view->setModel(&shared);
        EXPECT_EQ(view->model(), &shared);
    }
    EXPECT_EQ(view->model(), own);
    view->repaint();
    EXPECT_EQ(view->cellAt(at(3, 2)).col, 2);
}

TEST_F(GridViewTest, KeysMoveOverMergedAndHiddenCells)
{
    grid->setColWidth(3, 0);
    const struct
    {
        const char *name;
        int row;
        int col;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *expected;
    } cases[] = {
        {"from the header to the first data cell", 0, 0, Qt::Key_Down, {}, "2,1"},
        {"down past a merged lesson", 2, 1, Qt::Key_Down, {}, "5,1"},
        {"up from inside it, nowhere to go", 3, 1, Qt::Key_Up, {}, "3,1"},
        {"left into the merged lesson", 3, 2, Qt::Key_Left, {}, "3,1"},
        {"right over a hidden column", 2, 2, Qt::Key_Right, {}, "2,4"},
        {"tab over a hidden column", 2, 2, Qt::Key_Tab, {}, "2,4"},
        {"enter goes down", 2, 2, Qt::Key_Return, {}, "3,2"},
        {"end of the row", 2, 1, Qt::Key_End, {}, "2,6"},
        {"last cell", 2, 1, Qt::Key_End, Qt::ControlModifier, "13,6"},
        {"first cell", 9, 5, Qt::Key_Home, Qt::ControlModifier, "2,1"},
    };
    for (const auto &c : cases) {
        grid->setCurrentCell(c.row, c.col);
        QTest::keyClick(view.get(), c.key, c.modifiers);
        EXPECT_EQ(current(), c.expected) << c.name;
    }

    // A page is as many rows as the body shows.
    grid->setCurrentCell(2, 2);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->currentRow(), 2 + (view->viewport()->height() - 40) / 20);

    // Shift extends the selection and keeps the current cell.
    grid->setCurrentCell(2, 2);
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(current(), "2,2");
    EXPECT_EQ(grid->selection(), (CellRange{2, 2, 3, 4}));
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Физика\tИстория\nФизика\tИстория");

    // A handler that takes the key keeps the grid from moving.
    QList<int> keys;
    QObject::connect(view.get(), &GridView::keyDown,
                     [&](int key, Qt::KeyboardModifiers, bool *handled) {
                         keys << key;
                         *handled = key == Qt::Key_Return;
                     });
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_EQ(keys, (QList<int>{Qt::Key_Return, Qt::Key_Delete}));
    EXPECT_EQ(current(), "2,2");
}

class GridEditTest : public GridViewTest
{
protected:
    void SetUp() override
    {
        GridViewTest::SetUp();
        grid->setEditMode(EditMode::KeyboardMouse);
        QObject::connect(view.get(), &GridView::currentCellChanged, [this](int row, int col) {
            events << QString("current %1,%2").arg(row).arg(col);
        });
        QObject::connect(view.get(), &GridView::beforeEdit, [this](int row, int col, bool *) {
            events << QString("before %1,%2").arg(row).arg(col);
            grid->setComboList(lists.value(col));
        });
        QObject::connect(view.get(), &GridView::afterEdit, [this](int row, int col) {
            events << QString("after %1,%2 %3").arg(row).arg(col).arg(grid->text(row, col));
        });
    }

    QStringList events;
    QMap<int, QString> lists; // the drop-down list offered in each column
};

TEST_F(GridEditTest, CurrentCellAndEditEventsFireInOrder)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(6, 3));
    QTest::keyClick(view.get(), Qt::Key_F2);
    auto *line = qobject_cast<QLineEdit *>(view->editor());
    ASSERT_NE(line, nullptr);
    type(line, ", лаб.");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(events, (QStringList{"current 6,3", "before 6,3", "after 6,3 Химия, лаб.",
                                   "current 7,3"}));
    EXPECT_FALSE(view->isEditing());

    // Typing starts an edit with the key typed; a double click edits in place.
    events.clear();
    type(view.get(), "Ф");
    line = qobject_cast<QLineEdit *>(view->editor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "Ф");
    QTest::keyClick(line, Qt::Key_Tab);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at(8, 2));
    ASSERT_NE(qobject_cast<QLineEdit *>(view->editor()), nullptr);
    EXPECT_EQ(events, (QStringList{"before 7,3", "after 7,3 Ф", "current 7,4", "current 8,2",
                                   "before 8,2"}));
}

TEST_F(GridEditTest, EscapeCancelsAnEdit)
{
    grid->setCurrentCell(5, 3);
    QTest::keyClick(view.get(), Qt::Key_F2);
    auto *line = qobject_cast<QLineEdit *>(view->editor());
    ASSERT_NE(line, nullptr);
    type(line, " и ещё");
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_FALSE(view->isEditing());
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->text(5, 3), "Химия");
    EXPECT_EQ(events.filter("after"), QStringList());
    EXPECT_EQ(current(), "5,3");

    // A handler may refuse the edit.
    QObject::connect(view.get(), &GridView::beforeEdit,
                     [](int, int, bool *cancel) { *cancel = true; });
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_FALSE(view->isEditing());
}

TEST_F(GridEditTest, ACellWithAListOffersTheList)
{
    lists[2] = "1\tОчная|2\tЗаочная|3\tВечерняя";
    lists[4] = "|Лёгкий|Средний|Трудный"; // typed text accepted too
    grid->setText(3, 2, "Заочная");
    grid->setCurrentCell(3, 2);
    QTest::keyClick(view.get(), Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(view->editor());
    ASSERT_NE(combo, nullptr);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"Очная", "Заочная", "Вечерняя"}));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(combo->isEditable());
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(grid->text(3, 2), "Вечерняя");
    EXPECT_EQ(grid->comboData(), "3");
    EXPECT_EQ(current(), "4,2");

    grid->setCurrentCell(3, 4);
    QTest::keyClick(view.get(), Qt::Key_F2);
    combo = qobject_cast<QComboBox *>(view->editor());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->count(), 3);
    combo->setEditText("Очень трудный");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->text(3, 4), "Очень трудный");
    EXPECT_EQ(grid->comboData(), "");

    // Other columns get a line edit.
    grid->setCurrentCell(3, 5);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_NE(qobject_cast<QLineEdit *>(view->editor()), nullptr);
}

// The keys of a drop-down list, sent where the application sends them: to the open list,
// else to the widget with the focus.
TEST_F(GridEditTest, ADropDownListIsWorkedFromTheKeyboard)
{
    lists[2] = "1\tОчная|2\tЗаочная|3\tВечерняя";
    QStringList reported;
    QObject::connect(view.get(), &GridView::keyDown, [&](int key, Qt::KeyboardModifiers, bool *) {
        reported << QKeySequence(key).toString();
    });
    const auto send = [](const QString &keys) {
        for (const QString &key : keys.split(' ', Qt::SkipEmptyParts)) {
            QWidget *popup = QApplication::activePopupWidget();
            QWidget *to = popup && popup->focusWidget() ? popup->focusWidget()
                                                        : QApplication::focusWidget();
            if (key.size() == 1 && key.front().isLower())
                type(to, key);
            else
                QTest::keyClick(to, Qt::Key(QKeySequence(key)[0].key()));
        }
    };
    const struct
    {
        const char *name;
        int col;
        QString keys;
        QString text; // of the cell 3,col afterwards
        QString current;
        QStringList reported;
    } cases[] = {
        {"Down opens, Enter takes and stays", 2, "Down Down Return", "Вечерняя", "3,2", {"Down"}},
        {"Escape keeps the cell", 2, "Down Up Escape", "Заочная", "3,2", {"Down"}},
        {"Tab takes and moves on", 2, "Down Up Tab", "Очная", "3,3", {"Down", "Tab"}},
        {"letters find an item, any case", 2, "в е Return", "Вечерняя", "3,2", {"В"}},
        {"a letter of no item keeps the cell's", 2, "ж Return", "Заочная", "3,2", {"Ж"}},
        {"a cell without a list moves", 3, "Down", "Химия", "4,3", {"Down"}},
    };
    for (const auto &c : cases) {
        grid->setText(3, 2, "Заочная");
        grid->setText(3, 3, "Химия");
        grid->setCurrentCell(3, c.col);
        view->setFocus();
        reported.clear();
        send(c.keys);
        EXPECT_EQ(grid->text(3, c.col), c.text) << c.name;
        EXPECT_EQ(current(), c.current) << c.name;
        EXPECT_FALSE(view->isEditing()) << c.name;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << c.name;
        EXPECT_EQ(reported, c.reported) << c.name;
    }
}

TEST_F(GridViewTest, RowsGrowToTheirWrappedTextAndNeverShrink)
{
    grid->setWordWrap(true);
    grid->setText(6, 2, "Информатика 103\nИнформатика 104");
    grid->setText(7, 3, "Очень длинное название дисциплины");
    grid->setText(8, 3, "Химия");
    const QRect fixedCourse = view->cellRect(0, 2);
    view->fitRowsToText();
    EXPECT_GE(view->cellRect(6, 2).height(), 3 * view->fontMetrics().lineSpacing());
    EXPECT_GT(view->cellRect(7, 3).height(), 20);
    EXPECT_EQ(view->cellRect(8, 3).height(), 20);
    // "Математика" is merged down over rows 2 to 4: its rows keep their height.
    EXPECT_EQ(view->cellRect(3, 0).height(), 20);
    EXPECT_EQ(view->cellRect(0, 2), fixedCourse);
}

// Columns of a timetable widen to a line of their text that does not fit, and share the
// window's spare width, never past the most they may take.
TEST_F(GridViewTest, ColumnsWidenToTheirTextsAndShareTheSpareWidth)
{
    grid->setText(7, 3, "Обществознание 108\r\nИнформатика 104");
    const QFontMetrics fm(grid->font());
    const int needed = fm.horizontalAdvance("Обществознание 108");
    ASSERT_GT(needed, view->cellRect(7, 3).width()); // cut today
    view->fitColumnsToText(1, 5, 2880);
    EXPECT_GE(view->cellRect(7, 3).width(), needed + 2 * GridPainter::PaddingX);
    EXPECT_EQ(grid->colWidth(6), 1100); // outside the range
    // A wide window: the five columns take its spare width, each at most two inches.
    view->resize(1800, 260);
    QCoreApplication::processEvents();
    view->fitColumnsToText(1, 5, 2880);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(grid->colWidth(c), 2880) << c;
}

TEST_F(GridViewTest, RowsRefitToANewFont)
{
    grid->setWordWrap(true);
    grid->setText(7, 3, "Очень длинное название дисциплины");
    view->fitRowsToText();
    const int fitted = view->cellRect(7, 3).height();
    const QFont font = grid->font();
    QFont big = font;
    if (big.pointSizeF() > 0)
        big.setPointSizeF(big.pointSizeF() * 2);
    else
        big.setPixelSize(big.pixelSize() * 2);
    grid->setFont(big);
    view->fitRowsToText();
    EXPECT_GT(view->cellRect(7, 3).height(), fitted);
    // Back to the first font: the row is as high as it was, the other rows as they were made.
    grid->setFont(font);
    view->fitRowsToText();
    EXPECT_EQ(view->cellRect(7, 3).height(), fitted);
    EXPECT_EQ(view->cellRect(8, 3).height(), 20);
    // A height the fill set after the fit stays.
    grid->setRowHeight(7, 1500);
    view->fitRowsToText();
    EXPECT_EQ(view->cellRect(7, 3).height(), 100);
}

TEST_F(GridViewTest, AHeaderTooWideBesideItsPictureGoesBelowIt)
{
    grid->setWordWrap(true);
    grid->setText(1, 3, "Журавлёв И.К.");
    grid->setCellPicture(1, 3, "TUTOR");
    grid->setCellPicture(1, 2, "GROUP"); // "ИС-12" stands beside its picture
    EXPECT_TRUE(view->isTextCut(1, 3));
    view->fitRowsToText();
    EXPECT_FALSE(view->isTextCut(1, 3));
    const QFontMetrics metrics(grid->font());
    const QRect header = view->cellRect(1, 3);
    EXPECT_GE(header.height(), GridPainter::heightWithPictureAbove(
                                   GridPainter::textHeight(2, metrics)));
    const GridPainter::Placement tutor =
        GridPainter::place(header, true, grid->text(1, 3), metrics, true);
    EXPECT_GT(tutor.text.top(), tutor.picture.y());
    const GridPainter::Placement group =
        GridPainter::place(view->cellRect(1, 2), true, grid->text(1, 2), metrics, true);
    EXPECT_GT(group.text.left(), group.picture.x());
}

TEST_F(GridViewTest, ACutTextShowsWhollyInItsTooltip)
{
    grid->setText(5, 3, "Обществознание и право");
    grid->setText(6, 3, "Химия");
    EXPECT_TRUE(view->isTextCut(5, 3));
    EXPECT_EQ(view->cellToolTip(5, 3), "Обществознание и право");
    EXPECT_FALSE(view->isTextCut(6, 3));
    EXPECT_EQ(view->cellToolTip(6, 3), "");
    // "12" in the narrow lesson column takes the cell's padding rather than be cut.
    ASSERT_EQ(grid->text(13, 0), "12");
    EXPECT_FALSE(view->isTextCut(13, 0));
    // A tip of the view's own comes after the full text.
    view->setToolTipProvider([](int, int) { return QStringLiteral("Занято"); });
    EXPECT_EQ(view->cellToolTip(5, 3), "Обществознание и право\nЗанято");
    EXPECT_EQ(view->cellToolTip(6, 3), "Занято");
}

TEST_F(GridViewTest, TextsOfAnyLengthPaintAsTheirVisibleBeginningDoes)
{
    const auto shot = [this] {
        QImage image(view->viewport()->size(), QImage::Format_ARGB32);
        view->viewport()->render(&image);
        return image;
    };
    QString hugeLine;
    QString hugeLines;
    for (int i = 0; i < 200'000; ++i) {
        hugeLine += "Математика Физика ";
        hugeLines += QString::number(i % 100) + "\n";
    }
    for (const bool wrap : {false, true}) {
        grid->setWordWrap(wrap);
        // Already more than the cells can show.
        grid->setText(2, 2, hugeLine.left(150));
        grid->setText(3, 3, hugeLines.left(40));
        const QImage expected = shot();
        grid->setText(2, 2, hugeLine);
        grid->setText(3, 3, hugeLines);
        EXPECT_EQ(shot(), expected) << wrap;
    }
}

TEST_F(GridViewTest, OutlineButtonsCollapseAndExpandTheirGroup)
{
    grid->setText(2, 5, 13, 5, "Сем");
    grid->setText(8, 5, 13, 5, "Лек");
    grid->subtotal({Aggregate::Count, 5, 2});
    grid->setOutlineBar(true);
    ASSERT_TRUE(grid->isSubtotal(8));
    QCoreApplication::processEvents();

    const QPoint button = GridPainter::outlineButton(view->cellRect(8, 0), 0, 1).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, button);
    EXPECT_TRUE(grid->isCollapsed(8));
    EXPECT_TRUE(grid->isRowHidden(2));
    EXPECT_FALSE(grid->isRowHidden(9));
    QCoreApplication::processEvents();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      GridPainter::outlineButton(view->cellRect(8, 0), 0, 1).center());
    EXPECT_FALSE(grid->isRowHidden(2));
    EXPECT_EQ(current(), "0,0"); // the buttons do not move the current cell
}

} // namespace
} // namespace korvesta

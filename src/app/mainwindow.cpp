#include "mainwindow.h"

#include "busyindicator.h"
#include "data/calendar.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "filecommands.h"
#include "frmhelp.h"
#include "gridinteraction.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "grid/twips.h"
#include "gridlookcommands.h"
#include "helpcommands.h"
#include "datelockcommand.h"
#include "exportcommand.h"
#include "historycommands.h"
#include "notecommand.h"
#include "navigationbar.h"
#include "objectpane.h"
#include "rangecalendar.h"
#include "reportcommands.h"
#include "slotassistant.h"
#include "reportpreview.h"
#include "settings/settingsstore.h"
#include "statusbarpanels.h"
#include "viewdispatcher.h"
#include "liverefresh.h"
#include "views/uisettings.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kGeometryKey = QStringLiteral("WindowGeometry");
constexpr int kLeftPaneTwips = 2000;
constexpr int kObjectPaneWidth = 230;
// The print preview's own background, a workspace grey.
constexpr quint32 kPreviewBackground = 0x8000000C;

} // namespace

frmMain::frmMain(DocumentSession &session, SettingsStore &settings, Prompts &prompts,
                 QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmMain"));
    registerViewFills(m_fills);

    createPanes();
    m_leftPaneWidth = std::max(twipsToPixels(kLeftPaneTwips), m_leftPane->sizeHint().width());
    m_dispatcher = std::make_unique<ViewDispatcher>(*this);
    m_grid->setToolTipProvider(
        [this](int row, int col) { return m_dispatcher->cellToolTip(row, col); });
    m_fileCommands = std::make_unique<FileCommands>(m_session, m_prompts, m_settings, m_record, [this] {
        // "Открыть" saves PathDB; the record keeps it too, or saving the options would
        // put the folder of the document opened before back.
        m_record.PathDB = m_settings.readText(kSection, QStringLiteral("PathDB"), QString());
        m_dispatcher->documentChanged();
    });
    m_helpCommands = std::make_unique<HelpCommands>(this, m_prompts);
    m_gridLook = std::make_unique<GridLookCommands>(this, m_settings, m_prompts, m_grid,
                                                    m_printer);
    createMenus();
    createToolbars();
    new HistoryCommands(*this); // a child of the window
    new DateLockCommand(*this); // a child of the window
    m_notes = new NoteCommand(*this); // a child of the window
    new ReportCommands(*this);  // a child of the window
    new ExportCommand(*this);   // a child of the window
    connectPanes();
    new GridInteraction(*this); // a child of the window
    new LiveRefresh(*this);     // a child of the window
    m_slotAssistant = new SlotAssistant(*this);
    connect(command(QStringLiteral("submenuSuggestTime")), &QAction::triggered, m_slotAssistant,
            &SlotAssistant::startFromView);

    setWindowTitle(m_session.windowTitle());
    m_session.setTitleListener([this](const QString &title) { setWindowTitle(title); });
    m_session.setBeforeClose([this] {
        if (frmHelp *help = m_helpCommands->helpWindow())
            help->close();
        // The note belongs to the document that closes.
        m_notes->closeNow();
    });
    qApp->installEventFilter(this);
    restoreGeometryOrDefault();
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
    m_session.setTitleListener({});
    m_session.setBeforeClose({});
}

void frmMain::createPanes()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitMain"));
    m_splitter->setChildrenCollapsible(false);
    m_leftPane = new NavigationBar(m_splitter);

    m_rightPane = new QWidget(m_splitter);
    m_rightPane->setObjectName(QStringLiteral("picRightPane"));
    auto *rightLayout = new QVBoxLayout(m_rightPane);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);

    m_caption = new QLabel(m_rightPane);
    m_caption->setObjectName(QStringLiteral("Label1"));
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.25);
    m_caption->setFont(captionFont);
    m_caption->setContentsMargins(8, 5, 8, 5);
    m_caption->setBackgroundRole(QPalette::Midlight);
    m_caption->setAutoFillBackground(true);
    rightLayout->addWidget(m_caption);

    m_rightSplitter = new QSplitter(Qt::Horizontal, m_rightPane);
    m_rightSplitter->setObjectName(QStringLiteral("splitRight"));
    m_rightSplitter->setChildrenCollapsible(false);
    m_objectPane = new ObjectPane(m_rightSplitter);
    m_objectPane->setContentsMargins(4, 4, 0, 4);
    m_objectPane->hide();
    m_viewStack = new QStackedWidget(m_rightSplitter);
    m_grid = new GridView(m_viewStack);
    m_grid->setObjectName(QStringLiteral("VSFlexGrid1"));
    m_viewStack->addWidget(m_grid);
    m_reportPreview = new ReportPreview(m_viewStack);
    m_printer = m_reportPreview;
    m_printer->setAutoFillBackground(true);
    QPalette previewPalette = m_printer->palette();
    previewPalette.setColor(QPalette::Window, colorFromBgr(kPreviewBackground));
    m_printer->setPalette(previewPalette);
    m_viewStack->addWidget(m_printer);
    m_rightSplitter->addWidget(m_objectPane);
    m_rightSplitter->addWidget(m_viewStack);
    m_rightSplitter->setStretchFactor(1, 1);
    m_rightSplitter->setSizes({kObjectPaneWidth, 800});
    rightLayout->addWidget(m_rightSplitter, 1);

    m_splitter->addWidget(m_leftPane);
    m_splitter->addWidget(m_rightPane);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->handle(1)->setObjectName(QStringLiteral("picInnerFrame"));
    setCentralWidget(m_splitter);

    // Over the right pane: the pop-up calendar and the busy spinner.
    m_calendarFrame = new QFrame(m_rightPane);
    m_calendarFrame->setObjectName(QStringLiteral("fraMonthView1"));
    m_calendarFrame->setFrameShape(QFrame::Box);
    m_calendarFrame->setForegroundRole(QPalette::Dark);
    m_calendarFrame->setAutoFillBackground(true);
    auto *calendarLayout = new QVBoxLayout(m_calendarFrame);
    calendarLayout->setContentsMargins(1, 1, 1, 1);
    m_monthView1 = new QCalendarWidget(m_calendarFrame);
    m_monthView1->setObjectName(QStringLiteral("MonthView1"));
    m_monthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendarLayout->addWidget(m_monthView1);
    m_calendarFrame->hide();
    m_busy = new BusyIndicator(m_rightPane);
    m_rightPane->installEventFilter(this);

    m_status = new StatusBarPanels(this);
    setStatusBar(m_status);

    m_grid->setWhatsThis(QStringLiteral("Таблица выбранного вида: списки, нагрузка, "
                                        "расписание и отчёты. Двойной щелчок по ячейке "
                                        "открывает её для изменения."));
    m_leftPane->setWhatsThis(QStringLiteral("Панель разделов: выберите раздел, затем вид "
                                            "в его списке."));
    m_objectPane->setWhatsThis(QStringLiteral("Панель объектов: выберите группу, "
                                              "преподавателя или аудиторию, чтобы "
                                              "заполнить таблицу."));
    m_status->setWhatsThis(QStringLiteral("Строка состояния. Щелчок по дате расписания "
                                          "показывает или скрывает календарь."));
}

void frmMain::connectPanes()
{
    connect(m_leftPane, &NavigationBar::sectionClicked, m_dispatcher.get(),
            &ViewDispatcher::sectionClicked);
    connect(m_leftPane, &NavigationBar::itemClicked, m_dispatcher.get(),
            &ViewDispatcher::itemClicked);
    connect(m_monthView1, &QCalendarWidget::clicked, m_dispatcher.get(),
            &ViewDispatcher::dateClicked);
    connect(m_monthView1, &QCalendarWidget::activated, m_dispatcher.get(),
            &ViewDispatcher::dateClicked);
    connect(m_objectPane, &ObjectPane::objectChosen, m_dispatcher.get(),
            &ViewDispatcher::objectChosen);
    connect(m_objectPane, &ObjectPane::periodChanged, m_dispatcher.get(),
            &ViewDispatcher::periodChanged);
    connect(m_objectPane->tabStrip(), &QTabBar::tabBarClicked, m_dispatcher.get(),
            [this](int tab) {
                if (tab >= 0)
                    m_dispatcher->tabChosen(tab);
            });
    connect(m_status, &StatusBarPanels::panelClicked, this, [this](int panel) {
        if (panel == StatusBarPanels::CalendarLabel || panel == StatusBarPanels::CalendarDate)
            toggleCalendar();
    });
    connect(m_grid, &GridView::mouseDown, this, [this] { setCalendarShown(false); });
}

void frmMain::startUp(const QStringList &args)
{
    m_session.startFromCommandLine(args);
    m_record.load(m_settings);
    if (m_record.ShowWeekNumber)
        m_monthView1->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);

    const QDate today = QDate::currentDate();
    m_monthView1->setSelectedDate(today);
    m_objectPane->secondCalendar()->setSelectedDate(today);
    m_objectPane->secondCalendar()->setRange(today, today);
    m_objectPane->periodFrom()->setDate(academicYearStart(today));
    m_objectPane->periodTo()->setDate(today);
    m_objectPane->tabStrip()->setCurrentIndex(UiSettings::tabStripSelected(m_settings));

    m_dispatcher->applyInitialState();
    command(QStringLiteral("ButtonView"))->setEnabled(false);
    command(QStringLiteral("ButtonTotals"))->setChecked(m_record.ShowTotals);
    command(QStringLiteral("ButtonShowColorItem"))->setChecked(m_record.ShowColorItem);

    // Set against the saved state and toggled, which lays the panes out and saves it back.
    command(QStringLiteral("submenuShowLeftPane"))->setChecked(!UiSettings::leftPane(m_settings));
    toggleLeftPane();

    m_gridLook->applySaved();
    m_started = true;
    QTimer::singleShot(0, this, &frmMain::afterShown);
}

void frmMain::afterShown()
{
    // Told once the window is on screen, so that the user sees where the message belongs.
    const QFileInfo settingsFile(m_settings.fileName());
    const QFileInfo settingsFolder(settingsFile.absolutePath());
    const bool writable = settingsFile.exists() ? settingsFile.isWritable()
                                                : !settingsFolder.exists()
                                                      || settingsFolder.isWritable();
    if (!writable)
        m_prompts.message(QStringLiteral("Настройки не удастся сохранить: нет доступа к файлу ")
                              + QDir::toNativeSeparators(settingsFile.absoluteFilePath())
                              + QStringLiteral(".\r\nПрограмма будет работать с настройками "
                                               "по умолчанию."),
                          Prompts::Icon::Warning);
    m_fileCommands->checkStartDocument();
    // Laid out by now, so that the first view is measured as it is shown.
    m_dispatcher->openLastView();
}

void frmMain::restoreGeometryOrDefault()
{
    const QByteArray saved = QByteArray::fromBase64(
        m_settings.readText(kSection, kGeometryKey, QString()).toLatin1());
    if (!saved.isEmpty() && restoreGeometry(saved))
        return;
    QSize size(1280, 800);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

QMenu *frmMain::editMenu(EditMenu menu) const
{
    const int index = int(menu);
    return index >= 0 && index < EditMenuCount ? m_editMenus[std::size_t(index)] : nullptr;
}

bool frmMain::isLeftPaneShown() const
{
    return !m_leftPane->isHidden();
}

void frmMain::toggleLeftPane()
{
    setLeftPaneShown(!command(QStringLiteral("submenuShowLeftPane"))->isChecked());
}

void frmMain::setLeftPaneShown(bool show)
{
    command(QStringLiteral("submenuShowLeftPane"))->setChecked(show);
    if (!show && isLeftPaneShown())
        m_leftPaneWidth = m_leftPane->width();
    m_leftPane->setVisible(show);
    m_toolbarView->setVisible(!show);
    if (show)
        m_splitter->setSizes({m_leftPaneWidth, std::max(1, width() - m_leftPaneWidth)});
    UiSettings::setLeftPane(m_settings, show);
}

bool frmMain::isCalendarShown() const
{
    return !m_calendarFrame->isHidden();
}

void frmMain::setCalendarShown(bool shown)
{
    if (shown == isCalendarShown())
        return;
    if (shown) {
        placeOverlays();
        m_calendarFrame->raise();
    }
    m_calendarFrame->setVisible(shown);
    command(QStringLiteral("submenuCalendar"))->setChecked(shown);
}

void frmMain::toggleCalendar()
{
    setCalendarShown(!isCalendarShown());
}

void frmMain::showPreview(bool preview)
{
    m_viewStack->setCurrentWidget(preview ? m_printer : static_cast<QWidget *>(m_grid));
}

void frmMain::setObjectPaneShown(bool shown)
{
    const bool wasShown = !m_objectPane->isHidden();
    m_objectPane->setVisible(shown);
    if (!shown)
        return;
    // A pane that appears, or whose parts changed, takes the width its parts need (all four
    // tabs of the timetables in sight); otherwise it keeps the width the user gave it.
    const int needed = std::max(kObjectPaneWidth, m_objectPane->minimumSizeHint().width());
    if (wasShown && needed == m_objectPaneNeed)
        return;
    m_objectPaneNeed = needed;
    const QList<int> sizes = m_rightSplitter->sizes();
    int total = 0;
    for (int size : sizes)
        total += size;
    m_rightSplitter->setSizes({needed, std::max(1, total - needed)});
}

void frmMain::placeOverlays()
{
    // The calendar sits in the grid's top right corner, clear of its scroll bar.
    const QSize size = m_calendarFrame->sizeHint().expandedTo(QSize(260, 180));
    const QPoint corner = m_viewStack->mapTo(m_rightPane, QPoint(m_viewStack->width(), 0));
    const int x = std::max(0, corner.x() - size.width() - 24);
    m_calendarFrame->setGeometry(x, corner.y() + 8, size.width(), size.height());
    m_busy->move((m_rightPane->width() - m_busy->width()) / 2,
                 (m_rightPane->height() - m_busy->height()) / 2);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rightPane && event->type() == QEvent::Resize)
        placeOverlays();
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyRelease) {
            if (key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock)
                m_status->refreshLocks();
        } else if (keyPreview(key)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Keys the window sees before its controls do. Only F5 is taken from them; Esc also
// reaches the control (an open cell editor still cancels).
bool frmMain::keyPreview(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F5:
        if (!event->isAutoRepeat())
            m_dispatcher->refresh();
        return true;
    case Qt::Key_Escape:
        setCalendarShown(false);
        return false;
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        if (!event->isAutoRepeat())
            m_status->lockKeyPressed(event->key());
        return false;
    default:
        return false;
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing is never cancelled; the document question runs once.
    if (!m_closed) {
        m_closed = true;
        m_settings.write(kSection, kGeometryKey, QString::fromLatin1(saveGeometry().toBase64()));
        m_session.confirmClosing();
    }
    event->accept();
}

} // namespace korvesta

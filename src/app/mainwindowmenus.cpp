// The menus of the main window. Each item is an action named as the menu item; a toolbar
// button that repeats an item shares its action (mainwindowtoolbars.cpp).

#include "plannerslist.h"
#include "appicons.h"
#include "dlgcopyshedule.h"
#include "dlgimport.h"
#include "frmcheck.h"
#include "frmcover.h"
#include "publishmenucommand.h"
#include "dlgnewyear.h"
#include "filecommands.h"
#include "frmoptions.h"
#include "helpcommands.h"
#include "mainwindow.h"
#include "compilecommand.h"
#include "settings/recentdocuments.h"
#include "viewdispatcher.h"
#include "views/viewtable.h"

#include <QActionGroup>
#include <QString>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace korvesta {

QAction *frmMain::addCommand(QMenu *menu, const QString &name, const QString &caption,
                             const QString &icon)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!icon.isEmpty())
        action->setIcon(appIcon(icon));
    m_commands.insert(action->objectName(), action);
    return action;
}

void frmMain::createMenus()
{
    createFileMenu();
    createViewMenu();
    createEditMenus();
    createServiceAndHelpMenus();
}

void frmMain::createFileMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));
    FileCommands *commands = m_fileCommands.get();

    QAction *create = addCommand(file, "submenuCreateDB", QStringLiteral("Создать"), "NEW");
    create->setShortcut(QKeySequence::New);
    connect(create, &QAction::triggered, this, [commands] { commands->newDocument(); });
    QAction *open = addCommand(file, "submenuOpenDB", QStringLiteral("Открыть"), "OPEN");
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [commands] { commands->openDocument(); });
    connect(addCommand(file, "submenuOpenSample", QStringLiteral("Открыть пример")),
            &QAction::triggered, this, [commands] { commands->openSample(); });
    connect(addCommand(file, "submenuConnectServer", QStringLiteral("Подключиться к серверу...")),
            &QAction::triggered, this, [this, commands] { commands->connectToServer(this); });
    // The last documents, read each time the menu opens.
    QMenu *recent = file->addMenu(QStringLiteral("Последние документы"));
    recent->setObjectName(QStringLiteral("submenuRecent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent, commands] {
        recent->clear();
        const QStringList paths = RecentDocuments::list(m_settings);
        for (int i = 0; i < paths.size(); ++i) {
            const QString path = paths[i];
            QAction *entry = recent->addAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(
                QDir::toNativeSeparators(path)));
            entry->setObjectName(QStringLiteral("recentDocument%1").arg(i + 1));
            connect(entry, &QAction::triggered, this, [commands, path] { commands->openRecent(path); });
        }
        if (paths.isEmpty())
            recent->addAction(QStringLiteral("(пусто)"))->setEnabled(false);
    });
    QAction *saveAs = addCommand(file, "submenuSaveDB", QStringLiteral("Сохранить как..."),
                                 "SAVEAS");
    saveAs->setShortcut(QKeySequence::SaveAs);
    connect(saveAs, &QAction::triggered, this, [commands] { commands->saveDocumentAs(); });
    connect(addCommand(file, "submenuNewYear", QStringLiteral("Новый учебный год...")),
            &QAction::triggered, this, [this] { startNewYearFromMenu(*this); });
    file->addSeparator();
    addCommand(file, "submenuSaveToFile", QStringLiteral("Сохранить таблицу"), "SAVE_TABLE")
        ->setShortcut(QKeySequence::Save);
    addCommand(file, "submenuExport", QStringLiteral("Экспорт в MS Excel"), "EXCEL");
    QAction *import = addCommand(file, "submenuImport", QStringLiteral("Импорт..."));
    connect(import, &QAction::triggered, this, [this] { importFromFile(*this); });
    auto *publisher = new PublishMenuCommand(*this);
    connect(addCommand(file, "submenuPublish", QStringLiteral("Опубликовать...")),
            &QAction::triggered, publisher, &PublishMenuCommand::publish);
    connect(addCommand(file, "submenuPublishFolder", QStringLiteral("Папка публикации...")),
            &QAction::triggered, publisher, &PublishMenuCommand::chooseFolderAndPublish);
    file->addSeparator();
    addCommand(file, "submenuPrintPreview", QStringLiteral("Предварительный просмотр"),
               "PREVIEW");
    addCommand(file, "submenuPrint", QStringLiteral("Печать"), "PRINT")
        ->setShortcut(QKeySequence::Print);
    file->addSeparator();
    QAction *exit = addCommand(file, "submenuExit", QStringLiteral("Выход"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void frmMain::createViewMenu()
{
    QMenu *view = menuBar()->addMenu(QStringLiteral("&Вид"));
    view->setObjectName(QStringLiteral("mnuView"));
    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        const SectionEntry &section = ViewTable::section(s);
        QAction *item = addCommand(view, QStringLiteral("submnuView(%1)").arg(s),
                                   section.viewMenuCaption, QString::fromLatin1(section.icon));
        connect(item, &QAction::triggered, this, [this, s] { m_dispatcher->sectionClicked(s); });
    }
    view->addSeparator();
    QAction *leftPane = addCommand(view, "submenuShowLeftPane", QStringLiteral("Панель разделов"));
    leftPane->setCheckable(true);
    connect(leftPane, &QAction::triggered, this, &frmMain::setLeftPaneShown);
    QAction *middlePane =
        addCommand(view, "submenuShowMiddlePane", QStringLiteral("Панель объектов"));
    middlePane->setCheckable(true);
    connect(middlePane, &QAction::triggered, m_dispatcher.get(),
            &ViewDispatcher::middlePaneToggled);
    QAction *calendar = addCommand(view, "submenuCalendar", QStringLiteral("Календарь"),
                                   "CALENDAR");
    calendar->setCheckable(true);
    connect(calendar, &QAction::triggered, this, &frmMain::setCalendarShown);
    addCommand(view, "submenuNote", QStringLiteral("Блокнот"))->setCheckable(true);
}

void frmMain::createEditMenus()
{
    const auto addMenu = [this](EditMenu which) {
        QMenu *menu = menuBar()->addMenu(QStringLiteral("&Редактирование"));
        menu->setObjectName(QStringLiteral("mnuEdit(%1)").arg(int(which)));
        menu->menuAction()->setVisible(false);
        m_editMenus[std::size_t(which)] = menu;
        return menu;
    };
    const auto addRecord = [this](QAction *action) {
        connect(action, &QAction::triggered, m_dispatcher.get(), &ViewDispatcher::addRecord);
    };

    QMenu *groups = addMenu(EditMenu::Groups);
    addRecord(addCommand(groups, "submenuAddGroup", QStringLiteral("Добавить группу")));
    addCommand(groups, "submenuEditGroup", QStringLiteral("Редактировать группу"));
    addCommand(groups, "submenuDeleteGroup", QStringLiteral("Удалить группу"));

    QMenu *disciplines = addMenu(EditMenu::Disciplines);
    addRecord(addCommand(disciplines, "submenuAddDiscipline",
                         QStringLiteral("Добавить дисциплину")));
    addCommand(disciplines, "submenuEditDiscipline", QStringLiteral("Редактировать дисциплину"));
    addCommand(disciplines, "submenuDeleteDiscipline", QStringLiteral("Удалить дисциплину"));

    QMenu *auditoriums = addMenu(EditMenu::Auditoriums);
    addRecord(addCommand(auditoriums, "submenuAddAuditoria",
                         QStringLiteral("Добавить аудиторию")));
    addCommand(auditoriums, "submenuEditAuditoria", QStringLiteral("Редактировать аудиторию"));
    addCommand(auditoriums, "submenuDeleteAuditoria", QStringLiteral("Удалить аудиторию"));

    const QStringList loadParts = {QStringLiteral("Преподавателя"), QStringLiteral("Дисциплину"),
                                   QStringLiteral("Группу")};
    QMenu *load = addMenu(EditMenu::Load);
    QMenu *addToLoad = load->addMenu(QStringLiteral("Добавить"));
    addToLoad->setObjectName(QStringLiteral("submenuAddKorvesta"));
    for (int i = 0; i < 3; ++i)
        addCommand(addToLoad, QStringLiteral("subsubmenuAddKorvesta(%1)").arg(i),
                   loadParts[i]);
    addCommand(load, "submenuEditKorvesta", QStringLiteral("Изменить нагрузку"));
    addCommand(load, "submenuEditTutor", QStringLiteral("Изменить преподавателя"));
    QMenu *deleteFromLoad = load->addMenu(QStringLiteral("Удалить"));
    deleteFromLoad->setObjectName(QStringLiteral("submenuDeleteKorvesta"));
    for (int i = 0; i < 3; ++i)
        addCommand(deleteFromLoad,
                   QStringLiteral("subsubmenuDeleteKorvesta(%1)").arg(i),
                   loadParts[i]);
    load->addSeparator();
    addCommand(load, "submenuSuggestTime", QStringLiteral("Подобрать время"));

    QMenu *timetable = addMenu(EditMenu::Timetable);
    addCommand(timetable, "submenuClearCellTimeTable", QStringLiteral("Удалить запись"));

    QMenu *busy = addMenu(EditMenu::BusyTime);
    const QStringList marks = {
        QStringLiteral("Показать Отгулы"),       QStringLiteral("Показать По болезни"),
        QStringLiteral("Показать Коммандировки"), QStringLiteral("Показать Отпуск"),
        QStringLiteral("Показать Выходные дни"), QStringLiteral("Показать Нагрузку")};
    ViewDispatcher *dispatcher = m_dispatcher.get();
    for (int i = 0; i < marks.size(); ++i) {
        QAction *show = addCommand(busy, QStringLiteral("submenuBTShow(%1)").arg(i), marks[i]);
        show->setCheckable(true);
        connect(show, &QAction::triggered, dispatcher,
                [dispatcher, i](bool on) { dispatcher->busyTimeKindToggled(i, on); });
    }
    busy->addSeparator();
    auto *iconOrLetter = new QActionGroup(busy);
    const QStringList showAs = {QStringLiteral("Значки"), QStringLiteral("Буквы")};
    for (int i = 0; i < 2; ++i) {
        QAction *action =
            addCommand(busy, QStringLiteral("submenuBTShowIcon(%1)").arg(i), showAs[i]);
        action->setCheckable(true);
        iconOrLetter->addAction(action);
        connect(action, &QAction::triggered, dispatcher,
                [dispatcher, i] { dispatcher->busyTimeIconsChosen(i == 0); });
    }
    QAction *everyWeek =
        addCommand(busy, "submenuBTLocalDate", QStringLiteral("На каждую неделю"));
    everyWeek->setCheckable(true);
    connect(everyWeek, &QAction::triggered, dispatcher,
            &ViewDispatcher::busyTimeEveryWeekToggled);
    busy->addSeparator();
    QMenu *deleteMarks = busy->addMenu(QStringLiteral("Удалить"));
    deleteMarks->setObjectName(QStringLiteral("submenuBTDelete"));
    const QStringList where = {QStringLiteral("Ячейку"), QStringLiteral("Строку"),
                               QStringLiteral("Столбец")};
    for (int i = 0; i < 3; ++i)
        addCommand(deleteMarks, QStringLiteral("subsubmenuBTDelete(%1)").arg(i),
                   where[i]);
}

void frmMain::createServiceAndHelpMenus()
{
    QMenu *service = menuBar()->addMenu(QStringLiteral("&Сервис"));
    service->setObjectName(QStringLiteral("mnuProp"));
    QAction *copy = addCommand(service, "submenuCopyTimeTable",
                               QStringLiteral("Копировать расписание"), "COPY_TABLE");
    connect(copy, &QAction::triggered, this, [this] { copyTimetable(*this); });
    addCommand(service, "submenuClearTimeTable", QStringLiteral("Очистить расписание"),
               "CLEAR_TABLE");
    service->addAction(m_commands.value(QStringLiteral("submenuSuggestTime")));
    connect(addCommand(service, "submenuGenerate", QStringLiteral("Составить расписание...")),
            &QAction::triggered, this, [this] { compileTimetableInWindow(*this); });
    QAction *check =
        addCommand(service, "submenuCheckTimeTable", QStringLiteral("Проверка расписания"));
    connect(check, &QAction::triggered, this, [this] {
        // One list at a time; a second call brings it to the front, checked again.
        if (!m_checkList)
            m_checkList = new frmCheck(*this);
        m_checkList->show();
        m_checkList->raise();
        m_checkList->runCheck();
    });
    connect(addCommand(service, "submenuCover", QStringLiteral("Замены...")),
            &QAction::triggered, this, [this] { frmCover::showFor(*this); });
    connect(addCommand(service, "submenuPlanners", QStringLiteral("Кто работает с документом...")),
            &QAction::triggered, this, [this] { showPlannersAtWork(*this); });
    service->addSeparator();
    QAction *settings =
        addCommand(service, "mnuSettings", QStringLiteral("Настройки"), "SETTINGS");
    connect(settings, &QAction::triggered, this, [this] { showOptions(*this); });

    QMenu *info = menuBar()->addMenu(QStringLiteral("&Справка"));
    info->setObjectName(QStringLiteral("mnuInfo"));
    HelpCommands *help = m_helpCommands.get();
    QAction *contents = addCommand(info, "submenuHelp", QStringLiteral("Помощь"), "HELP");
    contents->setShortcut(QKeySequence::HelpContents);
    connect(contents, &QAction::triggered, this, [help] { help->showHelp(); });
    QAction *whatsThis =
        addCommand(info, "mnuHelpSearchForHelpOn", QStringLiteral("Что это такое?"));
    whatsThis->setShortcut(QKeySequence::WhatsThis);
    connect(whatsThis, &QAction::triggered, this, [help] { help->whatsThis(); });
    info->addSeparator();
    QAction *about = addCommand(info, "submenuAbout", QStringLiteral("О программе"));
    connect(about, &QAction::triggered, this, [help] { help->about(); });
}

frmCheck *frmMain::checkList() const
{
    return m_checkList;
}

} // namespace korvesta

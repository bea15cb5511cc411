// The tabs of the options dialog and the controls on them.

#include "frmoptions.h"
#include "rangecalendar.h"

#include "compile/softweights.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QTreeWidget *listView(QWidget *parent, const char *name, const QStringList &headers)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setColumnCount(std::max<int>(1, int(headers.size())));
    if (headers.isEmpty())
        list->setHeaderHidden(true);
    else
        list->setHeaderLabels(headers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A text box with its Принять and Удалить buttons above a list.
QWidget *entryRow(QWidget *parent, QLineEdit *text, QPushButton *add, QPushButton *remove)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text, 1);
    layout->addWidget(add);
    layout->addWidget(remove);
    return row;
}

} // namespace

QLineEdit *frmOptions::numberBox(const char *name)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    connect(box, &QLineEdit::textChanged, this, [this, box] { numberEdited(box); });
    return box;
}

QCheckBox *frmOptions::checkBox(const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel *frmOptions::swatch(const char *name, const QString &toolTip)
{
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedSize(48, 20);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(toolTip);
    label->installEventFilter(this);
    return label;
}

void frmOptions::buildTabs()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildTimetableTab(), QStringLiteral("Расписание"));
    m_tabs->addTab(buildPeriodTab(), QStringLiteral("Учебный период"));
    m_tabs->addTab(buildNormsTab(), QStringLiteral("Нормативы"));
    m_tabs->addTab(buildListsTab(), QStringLiteral("Справочники"));
    m_tabs->addTab(buildDisplayTab(), QStringLiteral("Отображение"));
    m_tabs->addTab(buildServiceTab(), QStringLiteral("Сервис"));
    m_tabs->addTab(buildGenerateTab(), QStringLiteral("Составление"));
}

QWidget *frmOptions::buildGenerateTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(page);
    QGroupBox *goals = frame(page, "fraGenerateWeights", QStringLiteral("Веса целей составления"));
    auto *form = new QFormLayout(goals);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto *intro = new QLabel(QStringLiteral("Поставленное занятие весит 1000; чем больше вес "
                                            "цели, тем сильнее составление её избегает."),
                             goals);
    intro->setWordWrap(true);
    form->addRow(intro);
    for (const SoftWeightField &field : softWeightFields()) {
        auto *box = new QSpinBox(goals);
        box->setObjectName(QStringLiteral("txtWeight") + QString::fromLatin1(field.key));
        box->setRange(0, kMostSoftWeight);
        connect(box, &QSpinBox::valueChanged, this, [this] { m_apply->setEnabled(true); });
        form->addRow(field.caption + u':', box);
        m_weights.push_back(box);
    }
    layout->addWidget(goals);
    layout->addStretch();
    return page;
}

QWidget *frmOptions::buildTimetableTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QHBoxLayout(page);

    QGroupBox *range = frame(page, "fraRange", QStringLiteral("Диапазон отображения данных"));
    auto *form = new QFormLayout(range);
    auto *days = new QWidget(range);
    auto *daysLayout = new QHBoxLayout(days);
    daysLayout->setContentsMargins(0, 0, 0, 0);
    auto *dayGroup = new QButtonGroup(range);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(QString::number(i + 4), days);
        option->setObjectName(QStringLiteral("optWorkDays(%1)").arg(i + 4));
        dayGroup->addButton(option);
        daysLayout->addWidget(option);
        m_workDays[size_t(i)] = option;
    }
    daysLayout->addStretch();
    form->addRow(QStringLiteral("Рабочих дней в неделе"), days);
    m_workTimePeriod = numberBox("txtWorkTimePeriod");
    form->addRow(QStringLiteral("Количество смен"), m_workTimePeriod);
    m_lessonsInDay = numberBox("txtLessonsInDay");
    form->addRow(QStringLiteral("Количество занятий в день"), m_lessonsInDay);
    m_lessonsInPeriod = numberBox("txtLessonsInPeriod");
    form->addRow(QStringLiteral("Количество занятий в смене"), m_lessonsInPeriod);
    auto *left = new QVBoxLayout;
    left->addWidget(range);
    left->addStretch();
    layout->addLayout(left);

    QGroupBox *times = frame(page, "fraTimeLesson", QStringLiteral("Время занятия"));
    auto *timesLayout = new QVBoxLayout(times);
    m_timeLesson = new QLineEdit(times);
    m_timeLesson->setObjectName(QStringLiteral("txtTimeLesson"));
    m_timeLesson->setPlaceholderText(QStringLiteral("08:30-09:15"));
    QPushButton *set = button(times, "cmdSetTimeLesson", QStringLiteral("Принять"));
    QPushButton *clear = button(times, "cmdDeleteTimeLesson", QStringLiteral("Удалить"));
    timesLayout->addWidget(entryRow(times, m_timeLesson, set, clear));
    m_timeLessons =
        listView(times, "lvTimeLesson", {QStringLiteral("Урок"), QStringLiteral("Время")});
    m_timeLessons->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    timesLayout->addWidget(m_timeLessons, 1);
    layout->addWidget(times, 1);

    connect(set, &QPushButton::clicked, this, [this] { setLessonTime(false); });
    connect(clear, &QPushButton::clicked, this, [this] { setLessonTime(true); });
    connect(m_timeLessons, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            m_timeLesson->setText(item->text(1));
    });
    return page;
}

QWidget *frmOptions::buildPeriodTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(page);
    QGroupBox *box = frame(page, "fraDateOut", QStringLiteral("Каникулы и праздники"));
    auto *grid = new QGridLayout(box);
    auto *hint = new QLabel(
        QStringLiteral("Укажите периоды каникул и праздники для исключения из расписания"), box);
    hint->setWordWrap(true);
    grid->addWidget(hint, 0, 0, 1, 2);
    m_monthView = new RangeCalendar(box);
    m_monthView->setObjectName(QStringLiteral("MonthView1"));
    m_monthView->setToolTip(QStringLiteral("Щелчок выбирает день, щелчок с Shift — период"));
    grid->addWidget(m_monthView, 1, 0);
    auto *right = new QVBoxLayout;
    auto *limit = new QLabel(QStringLiteral("Каждый период не более 30 дней"), box);
    right->addWidget(limit);
    m_dateOut = listView(box, "lvDateOut", {});
    right->addWidget(m_dateOut, 1);
    m_dateOutButton = button(box, "cmdDateOut", QStringLiteral("Принять"));
    right->addWidget(m_dateOutButton, 0, Qt::AlignRight);
    grid->addLayout(right, 1, 1);

    auto *dates = new QFormLayout;
    dates->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_periodStart = new QDateEdit(box);
    m_periodStart->setObjectName(QStringLiteral("DTPickerStart"));
    m_periodEnd = new QDateEdit(box);
    m_periodEnd->setObjectName(QStringLiteral("DTPickerEnd"));
    for (QDateEdit *picker : {m_periodStart, m_periodEnd}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    dates->addRow(QStringLiteral("Дата начала учебного периода"), m_periodStart);
    dates->addRow(QStringLiteral("Дата окончания учебного периода"), m_periodEnd);
    grid->addLayout(dates, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(box);
    layout->addStretch();

    connect(m_monthView, &RangeCalendar::rangeChanged, this, [this] {
        m_dateOut->clearSelection();
        m_dateOutButton->setText(QStringLiteral("Принять"));
    });
    connect(m_dateOut, &QTreeWidget::itemClicked, this,
            [this] { m_dateOutButton->setText(QStringLiteral("Удалить")); });
    connect(m_dateOutButton, &QPushButton::clicked, this, &frmOptions::dateOutPressed);
    return page;
}

QWidget *frmOptions::buildNormsTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QGridLayout(page);

    QGroupBox *tutor =
        frame(page, "fraTutorNorms", QStringLiteral("Нормативы труда преподавателя"));
    auto *tutorForm = new QFormLayout(tutor);
    m_lecture = numberBox("txtLecture");
    tutorForm->addRow(QStringLiteral("Количество групп для лекционного занятия:"), m_lecture);
    m_hoursValue = numberBox("txtHoursValue");
    tutorForm->addRow(QStringLiteral("Часов нагрузки в учебный период не более:"), m_hoursValue);
    m_lessonsToTutor = numberBox("txtLessonsToTutor");
    tutorForm->addRow(QStringLiteral("Рабочих часов в день не более:"), m_lessonsToTutor);
    m_jobOverFlow = checkBox("chkJobOverFlow", QStringLiteral("Не допускать переработку"));
    tutorForm->addRow(m_jobOverFlow);
    auto *overFlow = new QButtonGroup(tutor);
    const QString overFlowCaptions[] = {QStringLiteral("Помечать переработку как неактивную"),
                                        QStringLiteral("Не показывать переработку")};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(overFlowCaptions[i], tutor);
        option->setObjectName(QStringLiteral("optOverFlowView(%1)").arg(i));
        overFlow->addButton(option);
        m_overFlowView[size_t(i)] = option;
        tutorForm->addRow(option);
    }
    m_freeWindow = checkBox("chkFreeWindow", QStringLiteral("Применять свободное время (окна)"));
    tutorForm->addRow(m_freeWindow);
    layout->addWidget(tutor, 0, 0);

    QGroupBox *group = frame(page, "fraGroupNorms", QStringLiteral("Нормативы занятий для группы"));
    auto *groupForm = new QFormLayout(group);
    m_useTypeFaculty = checkBox("chkUseTypeFaculty", QStringLiteral("Объединять по факультетам"));
    m_useTypeTuition =
        checkBox("chkUseTypeTuition", QStringLiteral("Объединять по форме обучения"));
    m_useTypeFinance = checkBox("chkUseTypeFinance",
                                QStringLiteral("Объединять по способу финансирования обучения"));
    for (QCheckBox *box : {m_useTypeFaculty, m_useTypeTuition, m_useTypeFinance})
        groupForm->addRow(box);
    m_subGroupCount = numberBox("txtSubGroupCount");
    groupForm->addRow(QStringLiteral("Максимальное количество подгрупп:"), m_subGroupCount);
    m_lessonsToGroup = numberBox("txtLessonsToGroup");
    groupForm->addRow(QStringLiteral("Занятий в день не более:"), m_lessonsToGroup);
    m_subGroupColor = swatch("lblSubGroupColor", QStringLiteral("Клик для выбора цвета"));
    groupForm->addRow(QStringLiteral("Цвет отображения подгруппы"), m_subGroupColor);
    layout->addWidget(group, 0, 1);

    QGroupBox *discipline =
        frame(page, "fraDisciplineNorms", QStringLiteral("Нормативы для дисциплины"));
    auto *disciplineLayout = new QVBoxLayout(discipline);
    m_useTypeDiscipline =
        checkBox("chkUseTypeDiscipline", QStringLiteral("Объединять по специализации"));
    m_showLevelDiff =
        checkBox("chkShowLevelDiff", QStringLiteral("Отмечать уровень сложности дисциплины"));
    disciplineLayout->addWidget(m_useTypeDiscipline);
    disciplineLayout->addWidget(m_showLevelDiff);
    layout->addWidget(discipline, 1, 0, 1, 2);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget *frmOptions::buildListsTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QHBoxLayout(page);
    const auto addList = [&](const char *frameName, const QString &caption, const char *text,
                             const char *add, const char *remove, const char *list, QLineEdit *&box,
                             QTreeWidget *&view) {
        QGroupBox *f = frame(page, frameName, caption);
        auto *v = new QVBoxLayout(f);
        box = new QLineEdit(f);
        box->setObjectName(QString::fromLatin1(text));
        QPushButton *addButton = button(f, add, QStringLiteral("Принять"));
        QPushButton *removeButton = button(f, remove, QStringLiteral("Удалить"));
        v->addWidget(entryRow(f, box, addButton, removeButton));
        view = listView(f, list, {});
        v->addWidget(view, 1);
        layout->addWidget(f, 1);
        return std::make_pair(addButton, removeButton);
    };
    const auto faculty =
        addList("fraFaculty", QStringLiteral("Факультеты"), "txtFaculty", "cmdAddFaculty",
                "cmdDeleteFaculty", "lvTypeFaculty", m_faculty, m_faculties);
    const auto discType =
        addList("fraDiscType", QStringLiteral("Специализация"), "txtDiscType", "cmdAddDiscType",
                "cmdDeleteDiscType", "lvDiscType", m_discType, m_discTypes);
    connect(faculty.first, &QPushButton::clicked, this, &frmOptions::addFaculty);
    connect(faculty.second, &QPushButton::clicked, this, &frmOptions::deleteFaculty);
    connect(discType.first, &QPushButton::clicked, this, &frmOptions::addSpecialization);
    connect(discType.second, &QPushButton::clicked, this, &frmOptions::deleteSpecialization);
    connect(m_faculties, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) {
        if (!m_loading)
            m_options.setFacultyChecked(item->data(0, Qt::UserRole).toInt(),
                                        item->checkState(0) == Qt::Checked);
    });
    connect(m_discTypes, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) {
        if (!m_loading)
            m_options.setSpecializationChecked(item->data(0, Qt::UserRole).toInt(),
                                               item->checkState(0) == Qt::Checked);
    });
    m_faculties->installEventFilter(this);
    m_discTypes->installEventFilter(this);
    return page;
}

QWidget *frmOptions::buildDisplayTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QGridLayout(page);

    QGroupBox *display =
        frame(page, "fraDisplayText", QStringLiteral("Что отображать в расписании (по умолчанию)"));
    auto *displayLayout = new QGridLayout(display);
    auto *options = new QButtonGroup(display);
    const QString optionCaptions[] = {QStringLiteral("Расписание на день"),
                                      QStringLiteral("Расписание на неделю"),
                                      QStringLiteral("График работы")};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(optionCaptions[i], display);
        option->setObjectName(QStringLiteral("optDisplayText(%1)").arg(i));
        options->addButton(option, i);
        displayLayout->addWidget(option, i, 0);
        m_displayOption[size_t(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { displayOptionChosen(i); });
    }
    const QString boxCaptions[] = {QStringLiteral("Группа"),
                                   QStringLiteral("Преподаватель"),
                                   QStringLiteral("Дисциплина (кратко)"),
                                   QStringLiteral("Дисциплина (полностью)"),
                                   QStringLiteral("Аудитория"),
                                   QStringLiteral("Тип занятия"),
                                   QStringLiteral("Время урока")};
    for (int i = 0; i < 7; ++i) {
        auto *box = new QCheckBox(boxCaptions[i], display);
        box->setObjectName(QStringLiteral("chkDisplayText(%1)").arg(i));
        displayLayout->addWidget(box, i, 1);
        m_displayText[size_t(i)] = box;
    }
    // The short and the full name of the discipline exclude each other.
    connect(m_displayText[2], &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            m_displayText[3]->setChecked(false);
    });
    connect(m_displayText[3], &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            m_displayText[2]->setChecked(false);
    });
    m_moveTimeLesson = frame(display, "fraMoveTimeLesson", QString());
    auto *moveLayout = new QHBoxLayout(m_moveTimeLesson);
    moveLayout->addWidget(
        new QLabel(QStringLiteral("Размещать время в таблице:"), m_moveTimeLesson));
    auto *places = new QButtonGroup(m_moveTimeLesson);
    const QString placeCaptions[] = {QStringLiteral("слева"), QStringLiteral("справа")};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(placeCaptions[i], m_moveTimeLesson);
        option->setObjectName(QStringLiteral("optColTimeLesson(%1)").arg(i));
        places->addButton(option);
        moveLayout->addWidget(option);
        m_timePlace[size_t(i)] = option;
    }
    moveLayout->addStretch();
    displayLayout->addWidget(m_moveTimeLesson, 7, 0, 1, 2);
    connect(m_displayText[6], &QCheckBox::toggled, m_moveTimeLesson, &QWidget::setEnabled);
    QPushButton *applyDisplay = button(display, "cmdApplyDisplayText", QStringLiteral("Принять"));
    applyDisplay->setToolTip(QStringLiteral("Запомнить отображение выбранного вида по умолчанию; "
                                            "«OK» и «Применить» запоминают его тоже"));
    displayLayout->addWidget(applyDisplay, 8, 1, Qt::AlignRight);
    displayLayout->setColumnStretch(1, 1);
    connect(applyDisplay, &QPushButton::clicked, this, &frmOptions::applyDisplayText);
    layout->addWidget(display, 0, 0, 3, 1);

    QGroupBox *background = frame(page, "fraGridColorBkg", QStringLiteral("Фон таблицы"));
    auto *backgroundLayout = new QHBoxLayout(background);
    m_gridColor = swatch("lblGridColorBkg",
                         QStringLiteral("Клик для выбора фона таблицы отображения данных"));
    backgroundLayout->addWidget(m_gridColor);
    backgroundLayout->addWidget(new QLabel(QStringLiteral("Задать цвет фона"), background), 1);
    layout->addWidget(background, 0, 1);

    QGroupBox *levels = frame(page, "fraLevelDiff", QStringLiteral("Цвет уровня сложности"));
    auto *levelsLayout = new QFormLayout(levels);
    const QString levelCaptions[] = {QStringLiteral("Лёгкий (по умолчанию)"),
                                     QStringLiteral("Средний"), QStringLiteral("Трудный")};
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = QStringLiteral("lblLevelDiff(%1)").arg(i).toLatin1();
        m_levelColors[size_t(i)] =
            swatch(name.constData(), QStringLiteral("Выбрать цвет шрифта для уровня "
                                                    "сложности дисциплины"));
        levelsLayout->addRow(m_levelColors[size_t(i)], new QLabel(levelCaptions[i], levels));
    }
    layout->addWidget(levels, 1, 1);
    // The colour frames keep their height; the room left goes below them.
    layout->setRowStretch(2, 1);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
    return page;
}

QWidget *frmOptions::buildServiceTab()
{
    auto *page = new QWidget(m_tabs);
    auto *layout = new QGridLayout(page);

    QGroupBox *services = frame(page, "fraServices", QStringLiteral("Сервисы"));
    auto *servicesLayout = new QGridLayout(services);
    m_useHeadReport =
        checkBox("chkUseHeadReport", QStringLiteral("Использовать заголовок при экспорте"));
    m_headReport = new QLineEdit(services);
    m_headReport->setObjectName(QStringLiteral("txtHeadReport"));
    m_useFooterReport =
        checkBox("chkUseFooterReport", QStringLiteral("Использовать ФИО пользователя"));
    m_footerReport = new QLineEdit(services);
    m_footerReport->setObjectName(QStringLiteral("txtFooterReport"));
    servicesLayout->addWidget(m_useHeadReport, 0, 0);
    servicesLayout->addWidget(m_headReport, 0, 1);
    servicesLayout->addWidget(m_useFooterReport, 1, 0);
    servicesLayout->addWidget(m_footerReport, 1, 1);
    connect(m_useHeadReport, &QCheckBox::toggled, m_headReport, &QWidget::setEnabled);
    connect(m_useFooterReport, &QCheckBox::toggled, m_footerReport, &QWidget::setEnabled);
    m_fixMonthView =
        checkBox("chkFixMonthView", QStringLiteral("Закрепить Календарь на панели разделов"));
    m_checkAuditoria =
        checkBox("chkCheckAuditoria", QStringLiteral("Проверять занятость аудитории"));
    m_checkDelete =
        checkBox("chkCheckDelete", QStringLiteral("Использовать подтверждение перед удалением"));
    m_showWeekNumber = checkBox("chkShowWeekNumber",
                                QStringLiteral("Показывать номер календарной недели в Календаре"));
    m_mergeLessons = checkBox("chkMergeLessons", QStringLiteral("Объединять сдвоенные занятия"));
    int row = 2;
    for (QCheckBox *box :
         {m_fixMonthView, m_checkAuditoria, m_checkDelete, m_showWeekNumber, m_mergeLessons})
        servicesLayout->addWidget(box, row++, 0, 1, 2);
    servicesLayout->setColumnStretch(1, 1);
    layout->addWidget(services, 0, 0, 1, 2);

    QGroupBox *excel = frame(page, "fraExport", QStringLiteral("Экспорт в Microsoft Excel"));
    auto *excelLayout = new QFormLayout(excel);
    m_exportPrintPreview =
        checkBox("chkExportPrintPreview", QStringLiteral("Применять параметры печати"));
    m_exportColor = checkBox("chkExportColor", QStringLiteral("Отображать цвета"));
    excelLayout->addRow(m_exportPrintPreview);
    excelLayout->addRow(m_exportColor);
    m_excelPrintFormat = new QComboBox(excel);
    m_excelPrintFormat->setObjectName(QStringLiteral("cmbExcelPrintFormat"));
    m_excelPrintFormat->addItems({QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("A3"),
                                  QStringLiteral("A4Small"), QStringLiteral("B4"),
                                  QStringLiteral("B5")});
    excelLayout->addRow(QStringLiteral("Формат листа"), m_excelPrintFormat);
    layout->addWidget(excel, 1, 0, 2, 1);

    QGroupBox *security = frame(page, "fraSecurity", QStringLiteral("Безопасность"));
    auto *securityLayout = new QVBoxLayout(security);
    m_saveCurrTable =
        checkBox("chkSaveCurrTable", QStringLiteral("Защита расписания от случайного изменения"));
    QPushButton *saveAll = button(security, "cmdSaveAll", QStringLiteral("Защитить всё"));
    securityLayout->addWidget(m_saveCurrTable);
    securityLayout->addWidget(saveAll, 0, Qt::AlignLeft);
    layout->addWidget(security, 1, 1);
    connect(m_saveCurrTable, &QCheckBox::clicked, this, &frmOptions::protectionClicked);
    connect(saveAll, &QPushButton::clicked, this, &frmOptions::protectAll);

    QGroupBox *files = frame(page, "fraAssotiateExtension", QStringLiteral("Инициализация файлов"));
    auto *filesLayout = new QHBoxLayout(files);
    filesLayout->addWidget(
        new QLabel(QStringLiteral("Ассоциировать расширение файлов с программой"), files), 1);
    QPushButton *associate = button(files, "cmdAssotiateExtension", QStringLiteral("Принять"));
    filesLayout->addWidget(associate);
    layout->addWidget(files, 2, 1);
    connect(associate, &QPushButton::clicked, this, &frmOptions::associateExtension);
    layout->setRowStretch(3, 1);
    return page;
}

} // namespace korvesta

#include "dlgnewyear.h"

#include "mainwindow.h"
#include "filecommands.h"

#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvesta {

namespace {

QWidget *withBrowseButton(QLineEdit *edit, QWidget *parent, const std::function<void()> &browse)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    auto *button = new QToolButton(row);
    button->setText(QStringLiteral("..."));
    QObject::connect(button, &QToolButton::clicked, row, browse);
    layout->addWidget(button);
    return row;
}

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

dlgNewYear::dlgNewYear(const NextYearRequest &suggested, Prompts &prompts,
                       std::function<bool(const NextYearRequest &)> start, QWidget *parent)
    : QDialog(parent)
    , m_suggested(suggested)
    , m_prompts(prompts)
    , m_start(std::move(start))
{
    setObjectName(QStringLiteral("dlgNewYear"));
    setWindowTitle(QStringLiteral("Новый учебный год"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        QStringLiteral("Новый документ получит списки, преподавателей с действующими "
                       "исключениями, время уроков, каникулы и праздники этого года на год "
                       "вперёд (проверьте их даты). Занятий и заметок в нём не будет; документ "
                       "этого года не изменится."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_startDate = new QDateEdit(suggested.start, this);
    m_startDate->setObjectName(QStringLiteral("dtpStart"));
    m_startDate->setCalendarPopup(true);
    m_startDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    form->addRow(QStringLiteral("Начало учебного периода:"), m_startDate);
    m_keepLoad = new QCheckBox(QStringLiteral("Перенести нагрузку с часами"), this);
    m_keepLoad->setObjectName(QStringLiteral("chkKeepLoad"));
    form->addRow(QString(), m_keepLoad);
    m_hours = new QLineEdit(this);
    m_hours->setObjectName(QStringLiteral("txtHoursFrom"));
    m_hours->setPlaceholderText(QStringLiteral("необязательно: .xlsx или .csv"));
    form->addRow(QStringLiteral("Часы нагрузки из таблицы:"),
                 withBrowseButton(m_hours, this, [this] { chooseHours(); }));
    m_target = new QLineEdit(QDir::toNativeSeparators(suggested.target), this);
    m_target->setObjectName(QStringLiteral("txtTarget"));
    m_target->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    form->addRow(QStringLiteral("Новый документ:"),
                 withBrowseButton(m_target, this, [this] { chooseTarget(); }));
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Создать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_start(request()))
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

NextYearRequest dlgNewYear::request() const
{
    NextYearRequest r = m_suggested;
    r.start = m_startDate->date();
    r.keepLoad = m_keepLoad->isChecked();
    r.hoursFrom = QDir::fromNativeSeparators(m_hours->text().trimmed());
    r.target = QDir::fromNativeSeparators(m_target->text().trimmed());
    return r;
}

void dlgNewYear::chooseTarget()
{
    const QFileInfo target(QDir::fromNativeSeparators(m_target->text().trimmed()));
    const std::optional<QString> path = m_prompts.chooseFileToSave(
        {QStringLiteral("Новый документ"), target.absolutePath(), target.fileName(),
         QStringLiteral("Файлы Тарвела (*.kvt)")});
    if (path)
        m_target->setText(QDir::toNativeSeparators(*path));
}

void dlgNewYear::chooseHours()
{
    const std::optional<QString> path = m_prompts.chooseFileToOpen(
        {QStringLiteral("Часы нагрузки"), QFileInfo(m_suggested.source).absolutePath(), QString(),
         QStringLiteral("Таблицы (*.xlsx *.csv *.txt);;Все файлы (*)")});
    if (path)
        m_hours->setText(QDir::toNativeSeparators(*path));
}

void startNewYearFromMenu(frmMain &window)
{
    Prompts &prompts = window.prompts();
    const QString source = window.session().currentPath();
    if (source.isEmpty() || window.session().isNewDocument()) {
        prompts.message(QStringLiteral("Откройте документ текущего учебного года: новый год "
                                       "начинается с его списков."),
                        Prompts::Icon::Information);
        return;
    }
    NextYearRequest suggested;
    suggested.source = source;
    try {
        suggested.start = suggestedNextYearStart(source);
    } catch (const DbError &error) {
        prompts.message(error.message(), Prompts::Icon::Warning);
        return;
    }
    suggested.target = suggestedNextYearPath(source, suggested.start);

    QString written;
    dlgNewYear dialog(suggested, prompts, [&](const NextYearRequest &request) {
        if (request.target.isEmpty()) {
            prompts.message(QStringLiteral("Укажите файл нового документа"),
                            Prompts::Icon::Warning);
            return false;
        }
        try {
            const QString problem = nextYearProblem(request);
            if (!problem.isEmpty()) {
                prompts.message(problem, Prompts::Icon::Warning);
                return false;
            }
            if (QFileInfo::exists(request.target)
                && prompts.askYesNo(QStringLiteral("Файл %1 уже существует. Заменить его?")
                                        .arg(QDir::toNativeSeparators(request.target)),
                                    Prompts::Icon::Question)
                       != Prompts::Answer::Yes)
                return false;
            const NextYearResult r = startNextYear(request);
            written = QStringLiteral("Документ нового учебного года записан:\r\n%1\r\n\r\n"
                                     "Учебный период: %2 - %3\r\nГрупп: %4, преподавателей: %5, "
                                     "строк нагрузки: %6\r\nКаникулы и праздники перенесены на "
                                     "год вперёд: %7 (проверьте даты)")
                          .arg(QDir::toNativeSeparators(request.target), dayText(r.periodStart),
                               dayText(r.periodEnd))
                          .arg(r.groups)
                          .arg(r.tutors)
                          .arg(r.lines)
                          .arg(r.holidays);
            if (r.hoursSkipped > 0)
                written += QStringLiteral("\r\nСтрок таблицы часов пропущено: %1 из %2")
                               .arg(r.hoursSkipped)
                               .arg(r.hoursReport.size());
            return true;
        } catch (const DbError &error) {
            prompts.message(QStringLiteral("Документ нового учебного года не записан.\r\n")
                                + error.message(),
                            Prompts::Icon::Warning);
            return false;
        }
    }, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (prompts.askYesNo(written + QStringLiteral("\r\n\r\nОткрыть новый документ?"),
                         Prompts::Icon::Question)
        == Prompts::Answer::Yes)
        window.fileCommands().openRecent(dialog.request().target);
}

} // namespace korvesta

#include "dlgserver.h"

#include "settings/settingsstore.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Server");
// Debian's folder of the local server's socket.
const QString kLocalSocket = QStringLiteral("/run/postgresql");

} // namespace

QString serverUri(const QString &host, const QString &database, const QString &user)
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setPath(u'/' + database.trimmed());
    QUrlQuery query;
    const QString h = host.trimmed();
    if (h.isEmpty() || h.startsWith(u'/'))
        query.addQueryItem(QStringLiteral("host"), h.isEmpty() ? kLocalSocket : h);
    else
        url.setHost(h);
    if (!user.trimmed().isEmpty())
        query.addQueryItem(QStringLiteral("user"), user.trimmed());
    url.setQuery(query);
    // libpq reads "postgresql:///db" for a database without a host.
    QString text = url.toString(QUrl::FullyEncoded);
    if (url.host().isEmpty())
        text.replace(QStringLiteral("postgresql:/"), QStringLiteral("postgresql:///"));
    return text;
}

dlgServer::dlgServer(SettingsStore &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("dlgServer"));
    setWindowTitle(QStringLiteral("Подключение к серверу"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Документ в базе данных PostgreSQL. Пароль программа "
                                            "не спрашивает и не хранит: он берётся из файла "
                                            ".pgpass, переменной PGPASSWORD или файла служб."),
                             this);
    intro->setWordWrap(true);
    intro->setMinimumWidth(380);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    m_host = new QLineEdit(settings.readText(kSection, QStringLiteral("Host"), QString()), this);
    m_host->setObjectName(QStringLiteral("txtHost"));
    m_host->setPlaceholderText(QStringLiteral("этот компьютер"));
    m_database = new QLineEdit(settings.readText(kSection, QStringLiteral("Database"), QString()),
                               this);
    m_database->setObjectName(QStringLiteral("txtDatabase"));
    m_user = new QLineEdit(settings.readText(kSection, QStringLiteral("User"), QString()), this);
    m_user->setObjectName(QStringLiteral("txtUser"));
    m_user->setPlaceholderText(QStringLiteral("как в системе"));
    form->addRow(QStringLiteral("Сервер:"), m_host);
    form->addRow(QStringLiteral("База данных:"), m_database);
    form->addRow(QStringLiteral("Пользователь:"), m_user);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("Подключиться"),
                                         QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_settings.write(kSection, QStringLiteral("Host"), m_host->text().trimmed());
        m_settings.write(kSection, QStringLiteral("Database"), m_database->text().trimmed());
        m_settings.write(kSection, QStringLiteral("User"), m_user->text().trimmed());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto check = [this, ok] { ok->setEnabled(!m_database->text().trimmed().isEmpty()); };
    connect(m_database, &QLineEdit::textChanged, this, check);
    check();
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString dlgServer::uri() const
{
    return serverUri(m_host->text(), m_database->text(), m_user->text());
}

} // namespace korvesta

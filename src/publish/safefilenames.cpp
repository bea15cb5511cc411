#include "safefilenames.h"

#include <QHash>
#include <QSet>

namespace korvesta {

namespace {

constexpr int kMaxLength = 100; // characters; Cyrillic takes two bytes, a name 255

bool refused(QChar c)
{
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
        return true;
    switch (c.unicode()) {
    case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
    case '#': case '%':
        return true;
    default:
        return false;
    }
}

bool isDeviceName(const QString &name)
{
    // Windows refuses these as a name whatever the extension.
    const QString stem = name.section(QLatin1Char('.'), 0, 0).toUpper();
    static const QSet<QString> devices = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),
        QStringLiteral("NUL"),  QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"), QStringLiteral("COM4"), QStringLiteral("COM5"),
        QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
        QStringLiteral("LPT3"), QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"), QStringLiteral("LPT7"), QStringLiteral("LPT8"),
        QStringLiteral("LPT9"),
    };
    return devices.contains(stem);
}

QString trimmed(QString text)
{
    const auto edge = [](QChar c) { return c == u'_' || c == u'.' || c == u' '; };
    qsizetype start = 0;
    while (start < text.size() && edge(text[start]))
        ++start;
    qsizetype end = text.size();
    while (end > start && edge(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

// Two names that a file system without letter case would take for one.
QString foldKey(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace

QString safeFileName(const QString &name)
{
    const QString text = name.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const QChar put = refused(c) || c.isSpace() ? QChar(u'_') : c;
        if (put == u'_' && out.endsWith(u'_'))
            continue;
        out += put;
    }
    out = trimmed(out);
    if (out.size() > kMaxLength) {
        out.truncate(kMaxLength);
        if (out.back().isHighSurrogate())
            out.chop(1);
        out = trimmed(out);
    }
    if (out.isEmpty())
        return QStringLiteral("_");
    if (isDeviceName(out))
        out += u'_';
    return out;
}

std::vector<QString> uniqueFileNames(const std::vector<QStringList> &preferences)
{
    std::vector<QStringList> names;
    names.reserve(preferences.size());
    QHash<QString, int> firstChoices;
    for (const QStringList &wanted : preferences) {
        QStringList safe;
        for (const QString &w : wanted)
            safe << safeFileName(w);
        if (safe.isEmpty())
            safe << QStringLiteral("_");
        ++firstChoices[foldKey(safe.first())];
        names.push_back(safe);
    }

    std::vector<QString> chosen(names.size());
    QSet<QString> taken;
    // Names nobody else wants first go to their objects.
    for (size_t i = 0; i < names.size(); ++i) {
        const QString key = foldKey(names[i].first());
        if (firstChoices.value(key) == 1) {
            chosen[i] = names[i].first();
            taken.insert(key);
        }
    }
    // Objects that share their first name take the next free one they would accept; another
    // object's unshared first name is never free.
    for (size_t i = 0; i < names.size(); ++i) {
        if (!chosen[i].isEmpty())
            continue;
        for (const QString &n : std::as_const(names[i])) {
            const QString key = foldKey(n);
            if (!taken.contains(key) && (firstChoices.value(key) == 0 || n == names[i].first())) {
                chosen[i] = n;
                taken.insert(key);
                break;
            }
        }
        for (int number = 2; chosen[i].isEmpty(); ++number) {
            const QString n = names[i].last() + QStringLiteral("_%1").arg(number);
            const QString key = foldKey(n);
            if (!taken.contains(key) && firstChoices.value(key) == 0) {
                chosen[i] = n;
                taken.insert(key);
            }
        }
    }
    return chosen;
}

} // namespace korvesta

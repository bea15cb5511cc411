#include "reportlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

// Resources of a static library are registered by hand, outside any namespace.
static void initReportResources()
{
    Q_INIT_RESOURCE(reports);
}

namespace korvesta {

namespace {

const QString kFileName = QStringLiteral("Reports.xml");

QString lineProblem(qint64 line, const QString &what)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(what);
}

// What the XML reader found wrong, in words of our own: its texts are English.
QString xmlProblem(const QXmlStreamReader &xml)
{
    QString what;
    switch (xml.error()) {
    case QXmlStreamReader::PrematureEndOfDocumentError:
        what = QStringLiteral("файл обрывается до конца разметки");
        break;
    case QXmlStreamReader::UnexpectedElementError:
        what = QStringLiteral("неожиданный элемент");
        break;
    case QXmlStreamReader::CustomError:
        what = xml.errorString();
        break;
    default:
        what = QStringLiteral("нарушена разметка XML (незакрытый элемент, неверный символ или "
                              "неизвестная ссылка &...;)");
        break;
    }
    return lineProblem(xml.lineNumber(), what + QStringLiteral(", позиция %1").arg(xml.columnNumber()));
}

std::optional<ReportContent::Align> alignOf(QStringView text)
{
    if (text.isEmpty() || text == u"left")
        return ReportContent::Align::Left;
    if (text == u"center")
        return ReportContent::Align::Center;
    if (text == u"right")
        return ReportContent::Align::Right;
    return std::nullopt;
}

// The elements of one <report>; the reader stands on its start. Empty when all is well.
QString readReport(QXmlStreamReader &xml, ReportLayout &report)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    report.line = int(xml.lineNumber());
    report.name = attributes.value(QLatin1String("name")).toString().trimmed();
    if (report.name.isEmpty())
        return lineProblem(xml.lineNumber(), QStringLiteral("у отчёта нет имени (name)"));
    const QStringView orientation = attributes.value(QLatin1String("orientation"));
    if (orientation == u"landscape")
        report.landscape = true;
    else if (!orientation.isEmpty() && orientation != u"portrait")
        return lineProblem(xml.lineNumber(),
                           QStringLiteral("ориентация - portrait или landscape, а не «%1»")
                               .arg(orientation));
    report.skipEmpty = attributes.value(QLatin1String("skip-empty")).toString();

    while (xml.readNextStartElement()) {
        const QStringView tag = xml.name();
        const qint64 line = xml.lineNumber();
        if (tag == u"title") {
            report.title = xml.readElementText();
        } else if (tag == u"line") {
            report.lines << xml.readElementText();
        } else if (tag == u"summary") {
            report.summary << xml.readElementText();
        } else if (tag == u"group") {
            report.groupText = xml.attributes().value(QLatin1String("text")).toString();
            xml.skipCurrentElement();
        } else if (tag == u"column") {
            const QXmlStreamAttributes a = xml.attributes();
            ReportLayout::Column column;
            column.caption = a.value(QLatin1String("caption")).toString();
            column.text = a.hasAttribute(QLatin1String("field"))
                              ? QLatin1Char('{') + a.value(QLatin1String("field")).toString() + QLatin1Char('}')
                              : a.value(QLatin1String("text")).toString();
            column.totalField = a.value(QLatin1String("total")).toString();
            if (a.hasAttribute(QLatin1String("width"))) {
                bool ok = false;
                column.width = a.value(QLatin1String("width")).toDouble(&ok);
                if (!ok || column.width <= 0)
                    return lineProblem(line, QStringLiteral("ширина столбца - число больше 0"));
            }
            const std::optional<ReportContent::Align> align = alignOf(a.value(QLatin1String("align")));
            if (!align)
                return lineProblem(line, QStringLiteral("выравнивание - left, center или right"));
            column.align = *align;
            report.columns.push_back(column);
            xml.skipCurrentElement();
        } else {
            return lineProblem(line, QStringLiteral("неизвестный элемент <%1>").arg(tag));
        }
        if (xml.hasError())
            break;
    }
    if (!xml.hasError() && report.columns.empty())
        return lineProblem(report.line,
                           QStringLiteral("в отчёте «%1» нет столбцов").arg(report.name));
    return QString();
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

std::optional<QString> ReportLayouts::read(const QByteArray &text)
{
    QXmlStreamReader xml(text);
    std::map<QString, ReportLayout> reports;
    QString problem;
    if (!xml.readNextStartElement())
        problem = QStringLiteral("нет элемента <reports>");
    else if (xml.name() != u"reports")
        problem = lineProblem(xml.lineNumber(),
                              QStringLiteral("ожидался <reports>, а не <%1>").arg(xml.name()));
    while (problem.isEmpty() && xml.readNextStartElement()) {
        if (xml.name() != u"report") {
            problem = lineProblem(xml.lineNumber(),
                                  QStringLiteral("неизвестный элемент <%1>").arg(xml.name()));
            break;
        }
        ReportLayout report;
        problem = readReport(xml, report);
        if (problem.isEmpty() && reports.count(report.name))
            problem = lineProblem(report.line,
                                  QStringLiteral("отчёт «%1» описан дважды").arg(report.name));
        if (problem.isEmpty())
            reports[report.name] = report;
    }
    if (problem.isEmpty() && xml.hasError())
        problem = xmlProblem(xml);
    if (problem.isEmpty()) {
        // Whatever follows the root must be well-formed too.
        while (!xml.atEnd() && !xml.hasError())
            xml.readNext();
        if (xml.hasError())
            problem = xmlProblem(xml);
    }
    if (!problem.isEmpty())
        return problem;
    m_reports = std::move(reports);
    return std::nullopt;
}

const ReportLayout *ReportLayouts::find(const QString &name) const
{
    const auto it = m_reports.find(name.trimmed());
    return it == m_reports.end() ? nullptr : &it->second;
}

QStringList ReportLayouts::names() const
{
    QStringList names;
    for (const auto &entry : m_reports)
        names << entry.first;
    return names;
}

void ReportLayouts::overrideWith(const ReportLayouts &other)
{
    for (const auto &[name, report] : other.m_reports)
        m_reports[name] = report;
}

ReportLayoutSources ReportLayoutSources::standard(const QString &documentPath,
                                                  const QString &applicationFolder)
{
    ReportLayoutSources sources;
    if (!applicationFolder.isEmpty())
        sources.overrides << QDir(applicationFolder).filePath(kFileName);
    if (!documentPath.isEmpty()) {
        const QString beside = QFileInfo(documentPath).absoluteDir().filePath(kFileName);
        if (!sources.overrides.contains(beside))
            sources.overrides << beside;
    }
    return sources;
}

LoadedLayouts loadReportLayouts(const ReportLayoutSources &sources)
{
    initReportResources();
    LoadedLayouts loaded;
    loaded.builtInFile = sources.builtIn.startsWith(u':')
                             ? kFileName + QStringLiteral(" (встроенный)")
                             : QDir::toNativeSeparators(sources.builtIn);
    if (const std::optional<QByteArray> text = readFile(sources.builtIn)) {
        if (const std::optional<QString> problem = loaded.layouts.read(*text))
            loaded.problems << QStringLiteral("Файл макетов отчётов «%1» повреждён (%2).")
                                   .arg(loaded.builtInFile, *problem);
    } else {
        loaded.problems << QStringLiteral("Не удалось прочитать файл макетов отчётов «%1».")
                               .arg(loaded.builtInFile);
    }
    for (const QString &path : sources.overrides) {
        if (!QFileInfo(path).isFile())
            continue;
        const QString shown = QDir::toNativeSeparators(path);
        ReportLayouts own;
        std::optional<QString> problem;
        if (const std::optional<QByteArray> text = readFile(path))
            problem = own.read(*text);
        else
            problem = QStringLiteral("файл не читается");
        if (problem) {
            loaded.problems << QStringLiteral("Файл макетов отчётов «%1» повреждён (%2). "
                                              "Используются макеты программы.")
                                   .arg(shown, *problem);
            continue;
        }
        loaded.layouts.overrideWith(own);
        loaded.overrideFile = shown;
    }
    return loaded;
}

} // namespace korvesta

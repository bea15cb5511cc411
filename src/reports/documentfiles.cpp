#include "documentfiles.h"

#include "reportpainter.h"
#include "reportwriters.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>

namespace korvesta {

QString documentFileFilter()
{
    const QStringList entries = {
        QStringLiteral("Текстовый документ (*.txt)|*.txt"),
        QStringLiteral("Текстовый документ (*.rtf)|*.rtf"),
        QStringLiteral("Страница HTML (*.htm)|*.htm"),
        QStringLiteral("Страница HTML со структурой (*.html)|*.html"),
        QStringLiteral("Страница HTML с разделением (*.htm)|*.xhtm"),
        QStringLiteral("Документ Adobe Acrobat (*.pdf)|*.pdf"),
    };
    return entries.join(QStringLiteral(" |"));
}

QString documentDialogFilter()
{
    QStringList entries;
    for (const QString &entry : documentFileFilter().split(QStringLiteral(" |"))) {
        const qsizetype bar = entry.indexOf(u'|');
        QString caption = entry.left(bar);
        const QString pattern = entry.mid(bar + 1);
        caption = caption.left(caption.lastIndexOf(u'(')) + u'(' + pattern + u')';
        entries << caption;
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<DocumentType> documentTypeOf(const QString &fileName)
{
    const QString tail = fileName.right(4).toLower();
    if (tail == u".txt")
        return DocumentType::Text;
    if (tail == u".rtf")
        return DocumentType::Rtf;
    if (tail == u".htm")
        return DocumentType::Html;
    if (tail == u"html")
        return DocumentType::HtmlStructured;
    if (tail == u"xhtm")
        return DocumentType::HtmlPaged;
    if (tail == u".pdf")
        return DocumentType::Pdf;
    return std::nullopt;
}

QString documentFileName(const QString &fileName)
{
    if (fileName.right(4).compare(QLatin1String("xhtm"), Qt::CaseInsensitive) == 0)
        return fileName.left(fileName.size() - 4) + QStringLiteral("htm");
    return fileName;
}

QString writeReportDocument(const ReportContent &content, const QString &fileName,
                            DocumentType type)
{
    const QString path = documentFileName(fileName);
    const QString shown = QDir::toNativeSeparators(path);
    const QString failure =
        QStringLiteral("Не удалось записать файл «%1»").arg(shown);
    // Written beside the destination and put in its place at the end, so that a failure
    // leaves an older file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure + QStringLiteral(": ") + file.errorString();
    switch (type) {
    case DocumentType::Text:
        file.write(reportToText(content).toUtf8());
        break;
    case DocumentType::Rtf:
        file.write(reportToRtf(content));
        break;
    case DocumentType::Html:
        file.write(reportToHtml(content, HtmlKind::Plain).toUtf8());
        break;
    case DocumentType::HtmlStructured:
        file.write(reportToHtml(content, HtmlKind::Structured).toUtf8());
        break;
    case DocumentType::HtmlPaged:
        file.write(reportToHtml(content, HtmlKind::Paged).toUtf8());
        break;
    case DocumentType::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("Тарвела"));
        pdf.setTitle(content.title);
        applyReportPageLayout(content, pdf);
        if (paintReport(content, pdf) == 0) {
            file.cancelWriting();
            return failure;
        }
        break;
    }
    }
    if (!file.commit())
        return failure + QStringLiteral(": ") + file.errorString();
    return QString();
}

} // namespace korvesta

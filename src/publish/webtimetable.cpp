#include "webtimetable.h"

#include "lessonwords.h"

#include "text/printable.h"

#include <QMap>
#include <QUrl>

#include <algorithm>

namespace korvesta {

const QString kPublishedMark = QStringLiteral("<!--published-->");
const QString kStyleSheetFile = QStringLiteral("style.css");

namespace {

const char *const kStyle = R"(
*{box-sizing:border-box}
body{font-family:system-ui,-apple-system,"Segoe UI",Roboto,"DejaVu Sans",Arial,sans-serif;
margin:0 auto;padding:0 1rem 2rem;max-width:90rem;line-height:1.4;color:#1b1b1b;background:#f6f6f4}
a{color:#0b57d0}
header{padding:.8rem 0 .6rem;border-bottom:1px solid #d8d8d8;margin-bottom:.6rem}
h1{font-size:1.5rem;margin:.2rem 0}
h2{font-size:1.15rem;margin:1.2rem 0 .5rem}
h3{font-size:1rem;margin:.8rem 0 .3rem}
.kind{display:block;font-size:.8rem;font-weight:normal;color:#666;text-transform:uppercase;
letter-spacing:.06em}
.meta{color:#555;font-size:.9rem;margin:.2rem 0}
.back{font-size:.9rem;margin:0}
.toc{display:flex;flex-wrap:wrap;gap:.4rem;list-style:none;padding:0;margin:.4rem 0}
.toc a{display:inline-block;padding:.15rem .5rem;border:1px solid #c9cfdb;border-radius:.3rem;
text-decoration:none;background:#fff;font-size:.9rem}
.toc .current a{background:#0b57d0;border-color:#0b57d0;color:#fff}
.objects{list-style:none;padding:0;margin:0;display:grid;
grid-template-columns:repeat(auto-fill,minmax(12rem,1fr));gap:.3rem .8rem}
.objects li{padding:.2rem 0;border-bottom:1px solid #e6e6e6}
.objects .ics{font-size:.75rem;color:#777;margin-left:.4rem}
.days{display:grid;grid-template-columns:repeat(auto-fill,minmax(16rem,1fr));gap:.7rem}
.day{background:#fff;border:1px solid #dcdcdc;border-radius:.5rem;padding:.4rem .6rem;
break-inside:avoid}
.day.today{border-color:#0b57d0;box-shadow:0 0 0 2px rgba(11,87,208,.2)}
.day h3{margin:.1rem 0 .3rem}
.lessons{list-style:none;margin:0;padding:0}
.lessons li{display:grid;grid-template-columns:1.8rem 1fr;column-gap:.4rem;margin:.3rem 0;
padding:.3rem .4rem;border:1px solid #e2e2e2;border-radius:.3rem;background:#fff}
.n{grid-row:span 3;font-weight:bold;font-size:1.05rem;text-align:center}
.t{font-size:.85rem;opacity:.85}
.what b{font-weight:600}
.where{font-size:.85rem}
.none{color:#888;font-style:italic;margin:.2rem 0}
footer{margin-top:2rem;color:#888;font-size:.8rem}
@media print{body{background:#fff;max-width:none;padding:0}.toc,.ics,.back{display:none}
.week+.week{break-before:page}*{-webkit-print-color-adjust:exact;print-color-adjust:exact}}
)";

QString esc(const QString &text)
{
    return printableText(text).toHtmlEscaped();
}

// As esc(), onto the end of the page.
void appendEscaped(QString &html, QStringView source)
{
    const QString clean = printableText(source);
    const QStringView text(clean);
    qsizetype plain = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char *entity = c == u'<'   ? "&lt;"
                             : c == u'>' ? "&gt;"
                             : c == u'&' ? "&amp;"
                             : c == u'"' ? "&quot;"
                                         : nullptr;
        if (!entity)
            continue;
        html += text.mid(plain, i - plain);
        html += QLatin1String(entity);
        plain = i + 1;
    }
    html += text.mid(plain);
}

QString link(const QString &file)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(file));
}

QString day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// "Понедельник, 7 декабря": the heading of a day, made without the locale's formatting,
// which would cost more than the rest of a page's day.
QString dayHeading(const QDate &date)
{
    static const char16_t *const days[] = {u"Понедельник", u"Вторник", u"Среда", u"Четверг",
                                           u"Пятница",     u"Суббота", u"Воскресенье"};
    static const char16_t *const months[] = {u"января",  u"февраля", u"марта",   u"апреля",
                                             u"мая",     u"июня",    u"июля",    u"августа",
                                             u"сентября", u"октября", u"ноября", u"декабря"};
    return QString::fromUtf16(days[date.dayOfWeek() - 1]) + QStringLiteral(", ")
           + QString::number(date.day()) + u' ' + QString::fromUtf16(months[date.month() - 1]);
}

QString kindName(PublishedKind kind)
{
    switch (kind) {
    case PublishedKind::Group:
        return QStringLiteral("Группа");
    case PublishedKind::Tutor:
        return QStringLiteral("Преподаватель");
    case PublishedKind::Auditorium:
        return QStringLiteral("Аудитория");
    }
    return QString();
}

// The head of a page: the style shared by all pages from `root` (the way to the folder of the
// publication), and the page's own rules when it has any.
QString head(const QString &title, const QString &root, const QString &ownStyle = QString())
{
    QString text = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, "
                                  "initial-scale=1\">\n<title>")
                   + esc(title) + QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"")
                   + root + kStyleSheetFile + QStringLiteral("\">\n");
    if (!ownStyle.isEmpty())
        text += QStringLiteral("<style>\n") + ownStyle + QStringLiteral("</style>\n");
    return text + QStringLiteral("</head>\n<body>\n");
}

QString periodLine(const PublishModel &model)
{
    return QStringLiteral("<p class=\"meta\">Период: %1 – %2 · Опубликовано: %3</p>\n")
        .arg(day(model.from), day(model.to), kPublishedMark);
}

const QString kFoot = QStringLiteral("<footer>Расписание составлено в программе Тарвела</footer>\n"
                                     "</body>\n</html>\n");

// Black or white, whichever reads better on the colour.
QString textColourOn(const QColor &c)
{
    const double luma = 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
    return luma > 140 ? QStringLiteral("#000") : QStringLiteral("#fff");
}

QDate mondayOf(const QDate &date)
{
    return date.addDays(1 - date.dayOfWeek());
}

class PageWriter
{
public:
    PageWriter(const PublishModel &model, PublishedKind kind, size_t object, const QDate &today,
               QString &html)
        : m_model(model)
        , m_kind(kind)
        , m_object(object)
        , m_today(today)
        , m_lessons(model.lessonsOf(kind, object))
        , m_html(html)
    {}

    void write();

private:
    void weekSection(const QDate &monday, size_t &next);
    void lessonItem(const ObjectLesson &lesson);
    QString weekTitle(const QDate &monday) const;

    const PublishModel &m_model;
    PublishedKind m_kind;
    size_t m_object;
    QDate m_today;
    const std::vector<ObjectLesson> &m_lessons;
    QString &m_html;
    std::vector<QColor> m_colours; // of the lessons, each a class "c<index>" of the page
};

QString PageWriter::weekTitle(const QDate &monday) const
{
    const QDate sunday = monday.addDays(6);
    return monday.toString(QStringLiteral("dd.MM")) + QStringLiteral(" – ") + day(sunday);
}

void PageWriter::lessonItem(const ObjectLesson &lesson)
{
    const LessonWords t = lessonWords(m_model, m_kind, lesson);
    m_html += QStringLiteral("<li");
    if (t.colour.isValid()) {
        const auto colour = std::find(m_colours.begin(), m_colours.end(), t.colour);
        m_html += QStringLiteral(" class=\"c") + QString::number(colour - m_colours.begin())
                  + u'"';
    }
    m_html += QStringLiteral("><span class=\"n\">") + QString::number(t.lesson)
              + QStringLiteral("</span><span class=\"t\">")
              + (t.time.isEmpty() ? QStringLiteral("время не задано") : t.time)
              + QStringLiteral("</span><span class=\"what\"><b>");
    appendEscaped(m_html, t.discipline);
    m_html += QStringLiteral("</b>");
    if (!t.type.isEmpty()) {
        m_html += QStringLiteral(" · ");
        appendEscaped(m_html, t.type);
    }
    if (!t.subgroup.isEmpty()) {
        m_html += QStringLiteral(" · ");
        appendEscaped(m_html, t.subgroup);
    }
    m_html += QStringLiteral("</span><span class=\"where\">");
    bool first = true;
    const auto where = [this, &first](const QString &prefix, const QString &text) {
        if (text.isEmpty())
            return;
        if (!first)
            m_html += QStringLiteral(" · ");
        first = false;
        appendEscaped(m_html, prefix);
        appendEscaped(m_html, text);
    };
    if (m_kind != PublishedKind::Auditorium)
        where(QStringLiteral("ауд. "), t.auditorium);
    if (m_kind != PublishedKind::Tutor)
        where(QString(), t.tutor);
    if (m_kind != PublishedKind::Group)
        where(QString(), t.groups);
    m_html += QStringLiteral("</span></li>\n");
}

// The days of the week from Monday, the lessons of the object among them; `next` is the
// first lesson on or after Monday and is left past the week.
void PageWriter::weekSection(const QDate &monday, size_t &next)
{
    const bool current = monday == mondayOf(m_today);
    m_html += QStringLiteral("<section class=\"week\" id=\"w%1\">\n<h2>%2%3</h2>\n"
                             "<div class=\"days\">\n")
                  .arg(monday.toString(Qt::ISODate),
                       current ? QStringLiteral("Текущая неделя: ") : QStringLiteral("Неделя "),
                       weekTitle(monday));
    for (int d = 0; d < 7; ++d) {
        const QDate date = monday.addDays(d);
        const bool has = next < m_lessons.size() && m_lessons[next].teaching->date == date;
        if (!has && (date.dayOfWeek() > m_model.workDays || date < m_model.from
                     || date > m_model.to))
            continue;
        m_html += QStringLiteral("<article class=\"day%1\"><h3>%2</h3>\n")
                      .arg(date == m_today ? QStringLiteral(" today") : QString(),
                           dayHeading(date));
        if (!has) {
            m_html += QStringLiteral("<p class=\"none\">Занятий нет</p></article>\n");
            continue;
        }
        m_html += QStringLiteral("<ol class=\"lessons\">\n");
        for (; next < m_lessons.size() && m_lessons[next].teaching->date == date; ++next)
            lessonItem(m_lessons[next]);
        m_html += QStringLiteral("</ol></article>\n");
    }
    m_html += QStringLiteral("</div>\n</section>\n");
}

void PageWriter::write()
{
    const PublishedObject &o = m_model.list(m_kind)[m_object];
    // The lesson colours the page uses, each with the text colour that reads on it, as rules
    // of its head.
    for (const ObjectLesson &l : m_lessons) {
        const QColor colour = lessonColour(m_model, m_kind, l);
        if (colour.isValid() && std::find(m_colours.begin(), m_colours.end(), colour) == m_colours.end())
            m_colours.push_back(colour);
    }
    QString colours;
    for (size_t i = 0; i < m_colours.size(); ++i)
        colours += QStringLiteral(".lessons li.c%1{background:%2;color:%3}\n")
                       .arg(i)
                       .arg(m_colours[i].name(), textColourOn(m_colours[i]));
    m_html.resize(0);
    m_html.reserve(qsizetype(m_lessons.size()) * 320 + 16000);
    m_html += head(QStringLiteral("Расписание: ") + o.title, QStringLiteral("../"), colours);
    m_html += QStringLiteral("<header>\n<p class=\"back\"><a href=\"../index.html\">← Все "
                             "расписания</a></p>\n<h1><span class=\"kind\">%1</span>%2</h1>\n")
                  .arg(kindName(m_kind), esc(o.title));
    m_html += periodLine(m_model);
    m_html += QStringLiteral("<p class=\"meta\"><a href=\"%1.ics\">Подписаться на календарь "
                             "(iCalendar)</a></p>\n</header>\n")
                  .arg(link(o.file));

    // The weeks with lessons, and the current one when it lies in the period.
    std::vector<QDate> weeks;
    for (const ObjectLesson &l : m_lessons) {
        const QDate monday = mondayOf(l.teaching->date);
        if (weeks.empty() || weeks.back() != monday)
            weeks.push_back(monday);
    }
    const QDate thisWeek = mondayOf(m_today);
    if (m_today >= m_model.from && m_today <= m_model.to
        && std::find(weeks.begin(), weeks.end(), thisWeek) == weeks.end()) {
        weeks.insert(std::lower_bound(weeks.begin(), weeks.end(), thisWeek), thisWeek);
    }
    if (weeks.empty()) {
        m_html += QStringLiteral("<p class=\"none\">В этом периоде занятий нет.</p>\n");
        m_html += kFoot;
        return;
    }

    // The current week (or the next one to come) first, then the list of all weeks, then the
    // later weeks, then the past: on a phone the week one looks for is at the top.
    const auto firstCurrent = std::lower_bound(weeks.begin(), weeks.end(), thisWeek);
    const auto lessonFrom = [this](const QDate &monday) {
        return size_t(std::lower_bound(m_lessons.begin(), m_lessons.end(), monday,
                                       [](const ObjectLesson &l, const QDate &d) {
                                           return l.teaching->date < d;
                                       })
                      - m_lessons.begin());
    };
    m_html += QStringLiteral("<main>\n");
    auto w = firstCurrent;
    if (w != weeks.end()) {
        size_t next = lessonFrom(*w);
        weekSection(*w++, next);
    }
    m_html += QStringLiteral("<nav><h2>Все недели</h2><ol class=\"toc\">\n");
    for (const QDate &monday : weeks)
        m_html += QStringLiteral("<li%1><a href=\"#w%2\">%3</a></li>\n")
                      .arg(monday == thisWeek ? QStringLiteral(" class=\"current\"") : QString(),
                           monday.toString(Qt::ISODate),
                           monday.toString(QStringLiteral("dd.MM")) + u'–'
                               + monday.addDays(6).toString(QStringLiteral("dd.MM")));
    m_html += QStringLiteral("</ol></nav>\n");
    for (; w != weeks.end(); ++w) {
        size_t next = lessonFrom(*w);
        weekSection(*w, next);
    }
    if (firstCurrent != weeks.begin()) {
        m_html += QStringLiteral("<h2>Прошедшие недели</h2>\n");
        for (auto past = weeks.begin(); past != firstCurrent; ++past) {
            size_t next = lessonFrom(*past);
            weekSection(*past, next);
        }
    }
    m_html += QStringLiteral("</main>\n") + kFoot;
}

QString objectItem(const PublishedObject &o, const QString &shown, PublishedKind kind)
{
    const QString base = kindFolder(kind) + u'/' + link(o.file);
    return QStringLiteral("<li><a href=\"%1.html\">%2</a><a class=\"ics\" href=\"%1.ics\" "
                          "title=\"Календарь (iCalendar)\">календарь</a></li>\n")
        .arg(base, esc(shown));
}

} // namespace

QString kindFolder(PublishedKind kind)
{
    switch (kind) {
    case PublishedKind::Group:
        return QStringLiteral("groups");
    case PublishedKind::Tutor:
        return QStringLiteral("tutors");
    case PublishedKind::Auditorium:
        return QStringLiteral("auditoriums");
    }
    return QString();
}

QString styleSheet()
{
    return QString::fromUtf8(kStyle).trimmed() + u'\n';
}

QString objectPage(const PublishModel &model, PublishedKind kind, size_t object, const QDate &today)
{
    QString html;
    writeObjectPage(model, kind, object, today, html);
    return html;
}

void writeObjectPage(const PublishModel &model, PublishedKind kind, size_t object,
                     const QDate &today, QString &html)
{
    PageWriter(model, kind, object, today, html).write();
}

QString indexPage(const PublishModel &model)
{
    QString html = head(QStringLiteral("Расписание занятий"), QString());
    html += QStringLiteral("<header>\n<h1>Расписание занятий</h1>\n") + periodLine(model);
    html += QStringLiteral("<ul class=\"toc\"><li><a href=\"#groups\">Группы</a></li>"
                           "<li><a href=\"#tutors\">Преподаватели</a></li>"
                           "<li><a href=\"#auditoriums\">Аудитории</a></li></ul>\n</header>\n"
                           "<main>\n");

    // Groups by course; within a course a name shared by two faculties shows its faculty.
    html += QStringLiteral("<section id=\"groups\"><h2>Группы</h2>\n");
    const auto &groups = model.list(PublishedKind::Group);
    for (size_t i = 0; i < groups.size();) {
        size_t end = i;
        QHash<QString, int> names;
        while (end < groups.size() && groups[end].course == groups[i].course)
            ++names[groups[end++].name.toCaseFolded()];
        html += QStringLiteral("<h3>%1</h3>\n<ul class=\"objects\">\n")
                    .arg(groups[i].course.isEmpty()
                             ? QStringLiteral("Курс не указан")
                             : esc(groups[i].course) + QStringLiteral(" курс"));
        for (; i < end; ++i) {
            const PublishedObject &g = groups[i];
            const bool shared = names.value(g.name.toCaseFolded()) > 1 && !g.faculty.isEmpty();
            html += objectItem(g, shared ? g.name + QStringLiteral(" (") + g.faculty + u')' : g.name,
                               PublishedKind::Group);
        }
        html += QStringLiteral("</ul>\n");
    }
    if (groups.empty())
        html += QStringLiteral("<p class=\"none\">Групп нет</p>\n");
    html += QStringLiteral("</section>\n");

    // Tutors under the first letter of the name.
    html += QStringLiteral("<section id=\"tutors\"><h2>Преподаватели</h2>\n");
    QString letter;
    for (const PublishedObject &t : model.list(PublishedKind::Tutor)) {
        const QString first = t.name.left(1).toUpper();
        if (first != letter || letter.isEmpty()) {
            if (!letter.isEmpty())
                html += QStringLiteral("</ul>\n");
            letter = first.isEmpty() ? QStringLiteral(" ") : first;
            html += QStringLiteral("<h3>%1</h3>\n<ul class=\"objects\">\n").arg(esc(letter));
        }
        html += objectItem(t, t.name, PublishedKind::Tutor);
    }
    html += letter.isEmpty() ? QStringLiteral("<p class=\"none\">Преподавателей нет</p>\n")
                             : QStringLiteral("</ul>\n");
    html += QStringLiteral("</section>\n");

    // Auditoriums by building.
    html += QStringLiteral("<section id=\"auditoriums\"><h2>Аудитории</h2>\n");
    const auto &rooms = model.list(PublishedKind::Auditorium);
    for (size_t i = 0; i < rooms.size();) {
        html += QStringLiteral("<h3>%1</h3>\n<ul class=\"objects\">\n")
                    .arg(rooms[i].corpus.isEmpty() ? QStringLiteral("Корпус не указан")
                                                   : esc(rooms[i].corpus));
        const QString corpus = rooms[i].corpus;
        for (; i < rooms.size() && rooms[i].corpus == corpus; ++i)
            html += objectItem(rooms[i], rooms[i].name, PublishedKind::Auditorium);
        html += QStringLiteral("</ul>\n");
    }
    if (rooms.empty())
        html += QStringLiteral("<p class=\"none\">Аудиторий нет</p>\n");
    html += QStringLiteral("</section>\n</main>\n") + kFoot;
    return html;
}

} // namespace korvesta

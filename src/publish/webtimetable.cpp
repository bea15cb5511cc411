#include "webtimetable.h"

#include "lessonwords.h"

#include "text/printable.h"

#include <QMap>
#include <QUrl>

#include <algorithm>
#include <map>
#include <span>

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
.lessons li{margin:.3rem 0;padding:.3rem .5rem;border:1px solid #e2e2e2;border-radius:.3rem;
background:#fff}
.lessons i{font-style:normal;font-weight:bold;margin-right:.5rem}
.lessons time{font-size:.85rem;opacity:.85}
.lessons b{font-weight:600}
.lessons small{display:block;font-size:.85rem}
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
    // Most names are printable as they are and are not copied.
    const QString clean = isPrintable(source) ? QString() : printableText(source);
    const QStringView text = clean.isNull() ? source : QStringView(clean);
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

// The file name as a link: letters and digits of any script as they are (a browser encodes
// them itself), everything else that is not plainly safe in a path percent-encoded.
QString link(const QString &file)
{
    QString text;
    text.reserve(file.size());
    qsizetype run = 0; // the start of the characters still to be encoded
    const auto encodeRun = [&](qsizetype end) {
        if (end > run)
            text += QString::fromLatin1(QUrl::toPercentEncoding(file.mid(run, end - run), "()"));
    };
    for (qsizetype i = 0; i < file.size(); ++i) {
        const QChar c = file[i];
        if (c.unicode() >= 0x80 && !c.isSurrogate() && c.isLetterOrNumber()) {
            encodeRun(i);
            text += c;
            run = i + 1;
        }
    }
    encodeRun(file.size());
    return text;
}

// "07.12", "07.12.2026", "2026-12-07", "2026-12": written by hand, the locale's formatting
// costing more than the rest of a page's day.
QString twoDigits(int n)
{
    return QString(QChar(u'0' + n / 10 % 10)) + QChar(u'0' + n % 10);
}

QString dayAndMonth(const QDate &date)
{
    return twoDigits(date.day()) + u'.' + twoDigits(date.month());
}

QString day(const QDate &date)
{
    return dayAndMonth(date) + u'.' + QString::number(date.year());
}

QString isoMonth(const QDate &date)
{
    return QString::number(date.year()) + u'-' + twoDigits(date.month());
}

QString isoDay(const QDate &date)
{
    return isoMonth(date) + u'-' + twoDigits(date.day());
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
// publication).
QString head(const QString &title, const QString &root)
{
    QString text = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, "
                                  "initial-scale=1\">\n<title>")
                   + esc(title) + QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"")
                   + root + kStyleSheetFile + QStringLiteral("\">\n");
    return text + QStringLiteral("</head>\n<body>\n");
}

QString periodLine(const PublishModel &model)
{
    return QStringLiteral("<p class=\"meta\">Период: %1 – %2 · Опубликовано: %3</p>\n")
        .arg(day(model.from), day(model.to), kPublishedMark);
}

const QString kFoot = QStringLiteral("<footer>Расписание составлено в программе Тарвела</footer>\n"
                                     "</body>\n</html>\n");

// The rule that turns the text white on a dark colour; the page's dark text stays on a light
// one.
QString textColourOn(const QColor &c)
{
    const double luma = 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
    return luma > 140 ? QString() : QStringLiteral(";color:#fff");
}

QDate mondayOf(const QDate &date)
{
    return date.addDays(1 - date.dayOfWeek());
}

// "сентябрь 2026", "Сентябрь 2026".
QString monthName(const QDate &month, bool capital)
{
    static const char16_t *const names[] = {u"январь", u"февраль", u"март",     u"апрель",
                                            u"май",    u"июнь",    u"июль",     u"август",
                                            u"сентябрь", u"октябрь", u"ноябрь", u"декабрь"};
    QString name = QString::fromUtf16(names[month.month() - 1]);
    if (capital)
        name[0] = name[0].toUpper();
    return name + u' ' + QString::number(month.year());
}

QDate firstOfMonth(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

// One page of an object: its front page or a month. The lessons of the object are sorted by
// date; a page reads those of its dates alone.
class PageWriter
{
public:
    PageWriter(const PageSource &source, QString &html)
        : m_model(source.model)
        , m_kind(source.kind)
        , m_object(source.object)
        , m_months(source.months)
        , m_lessons(source.model.lessonsOf(source.kind, source.object))
        , m_words(source.words)
        , m_html(html)
    {}

    void frontPage(const QDate &today);
    void monthPage(const QDate &month);

private:
    size_t lessonFrom(const QDate &date) const;
    void begin(const QString &root, const QDate &from, const QDate &to);
    void heading(const QString &back, const QString &title);
    void monthList(const QString &prefix, const QDate &current);
    void weekSection(const QDate &monday, const QString &title, const QDate &first,
                     const QDate &last, const QDate &today);
    void dayLessons(size_t first, size_t end);
    void lessonItem(const LessonWords &words, int last);
    QString spanTime(int first, int last);

    const PublishModel &m_model;
    PublishedKind m_kind;
    size_t m_object;
    const std::vector<QDate> &m_months;
    const std::vector<ObjectLesson> &m_lessons;
    const std::vector<LessonWords> &m_words; // of the lessons
    QString &m_html;
    std::map<std::pair<int, int>, QString> m_spans; // times of lessons together, made once
};

// "8:30–10:05": from the start of lesson `first` to the end of lesson `last`; the first's own
// time when either is not known.
QString PageWriter::spanTime(int first, int last)
{
    const auto made = m_spans.find({first, last});
    if (made != m_spans.end())
        return made->second;
    const LessonClock &from = m_model.timeOf(first), &to = m_model.timeOf(last);
    QString time = from.text;
    if (from.known() && to.end.isValid())
        time = from.start.toString(QStringLiteral("H:mm")) + u'–'
               + to.end.toString(QStringLiteral("H:mm"));
    m_spans.emplace(std::make_pair(first, last), time);
    return time;
}

size_t PageWriter::lessonFrom(const QDate &date) const
{
    return size_t(m_model.lessonFrom(m_kind, m_object, date) - m_lessons.begin());
}

// The head of the page, whose lessons are those from..to (the room the page takes is theirs).
void PageWriter::begin(const QString &root, const QDate &from, const QDate &to)
{
    const size_t first = lessonFrom(from);
    size_t end = first;
    while (end < m_lessons.size() && m_lessons[end].teaching->date <= to)
        ++end;
    const PublishedObject &o = m_model.list(m_kind)[m_object];
    m_html.resize(0);
    m_html.reserve(qsizetype(end - first) * 240 + 8000);
    m_html += head(QStringLiteral("Расписание: ") + o.title, root);
}

void PageWriter::heading(const QString &back, const QString &title)
{
    m_html += QStringLiteral("<header>\n<p class=\"back\">") + back
              + QStringLiteral("</p>\n<h1><span class=\"kind\">%1</span>%2</h1>\n")
                    .arg(kindName(m_kind), esc(title));
    m_html += periodLine(m_model);
}

// The months of the object, each a link; `prefix` leads from the page to the kind's folder.
void PageWriter::monthList(const QString &prefix, const QDate &current)
{
    const QString file = link(m_model.list(m_kind)[m_object].file);
    m_html += QStringLiteral("<nav><h2>По месяцам</h2><ol class=\"toc\">\n");
    for (const QDate &month : m_months) {
        m_html += month == current ? QStringLiteral("<li class=\"current\">")
                                   : QStringLiteral("<li>");
        m_html += QStringLiteral("<a href=\"");
        m_html += prefix;
        m_html += isoMonth(month);
        m_html += u'/';
        m_html += file;
        m_html += QStringLiteral(".html\">");
        m_html += monthName(month, true);
        m_html += QStringLiteral("</a></li>\n");
    }
    m_html += QStringLiteral("</ol></nav>\n");
}

// The days first..last of the week from Monday, the lessons of the object among them.
void PageWriter::weekSection(const QDate &monday, const QString &title, const QDate &first,
                             const QDate &last, const QDate &today)
{
    m_html += QStringLiteral("<section class=\"week\" id=\"w%1\">\n<h2>%2%3 – %4</h2>\n"
                             "<div class=\"days\">\n")
                  .arg(isoDay(monday), title, dayAndMonth(monday), day(monday.addDays(6)));
    size_t next = lessonFrom(first);
    for (QDate date = first; date <= last; date = date.addDays(1)) {
        const bool has = next < m_lessons.size() && m_lessons[next].teaching->date == date;
        if (!has && (date.dayOfWeek() > m_model.workDays || date < m_model.from
                     || date > m_model.to))
            continue;
        m_html += date == today ? QStringLiteral("<article class=\"day today\"><h3>")
                                : QStringLiteral("<article class=\"day\"><h3>");
        m_html += dayHeading(date) + QStringLiteral("</h3>\n");
        if (!has) {
            m_html += QStringLiteral("<p class=\"none\">Занятий нет</p></article>\n");
            continue;
        }
        const size_t dayStart = next;
        while (next < m_lessons.size() && m_lessons[next].teaching->date == date)
            ++next;
        dayLessons(dayStart, next);
    }
    m_html += QStringLiteral("</div>\n</section>\n");
}

// The lessons first..end of one day. A lesson that goes on unchanged at the next number (a
// pair) is one item: "1–2", from the start of the first to the end of the last.
void PageWriter::dayLessons(size_t first, size_t end)
{
    const auto words = std::span(m_words).subspan(first, end - first);
    m_html += QStringLiteral("<ol class=\"lessons\">\n");
    for (const LessonRun &run : lessonRuns(m_model, words))
        lessonItem(words[run.first], run.last);
    m_html += QStringLiteral("</ol></article>\n");
}

// <li class="d7"><i>3</i><time>10:20–11:05</time><div><b>Матем</b> · Лекция</div>
// <small>ауд. 101 · Иванов И.И.</small></li>: lessons t.lesson..last together say "3–4".
void PageWriter::lessonItem(const LessonWords &t, int last)
{
    QString time = t.time;
    QString number = QString::number(t.lesson);
    if (last > t.lesson) {
        number += u'–' + QString::number(last);
        time = spanTime(t.lesson, last);
    }
    m_html += QStringLiteral("<li");
    if (!t.colourClass.isEmpty()) {
        m_html += QStringLiteral(" class=\"");
        m_html += t.colourClass;
        m_html += u'"';
    }
    m_html += QStringLiteral("><i>");
    m_html += number;
    m_html += QStringLiteral("</i><time>");
    m_html += time.isEmpty() ? QStringLiteral("время не задано") : time;
    m_html += QStringLiteral("</time><div><b>");
    appendEscaped(m_html, t.discipline);
    m_html += QStringLiteral("</b>");
    for (const QString *more : {&t.type, &t.subgroup}) {
        if (!more->isEmpty()) {
            m_html += QStringLiteral(" · ");
            appendEscaped(m_html, *more);
        }
    }
    m_html += QStringLiteral("</div><small>");
    bool first = true;
    const auto where = [this, &first](QStringView prefix, const QString &text) {
        if (text.isEmpty())
            return;
        if (!first)
            m_html += QStringLiteral(" · ");
        first = false;
        m_html += prefix;
        appendEscaped(m_html, text);
    };
    if (m_kind != PublishedKind::Auditorium)
        where(u"ауд. ", t.auditorium);
    if (m_kind != PublishedKind::Tutor)
        where(u"", t.tutor);
    if (m_kind != PublishedKind::Group)
        where(u"", t.groups);
    m_html += QStringLiteral("</small></li>\n");
}

// The current week, or the next one with lessons when the current has none or lies outside
// the period, and the week after it: on a phone the week one looks for is at the top. The
// rest of the period is on the month pages.
void PageWriter::frontPage(const QDate &today)
{
    const PublishedObject &o = m_model.list(m_kind)[m_object];
    const std::vector<QDate> weeks = frontWeeks(m_model, m_kind, m_object, today);
    begin(QStringLiteral("../"), weeks.empty() ? QDate() : weeks.front(),
          weeks.empty() ? QDate() : weeks.back().addDays(6));
    heading(QStringLiteral("<a href=\"../index.html\">← Все расписания</a>"), o.title);
    m_html += QStringLiteral("<p class=\"meta\"><a href=\"%1.ics\">Подписаться на календарь "
                             "(iCalendar)</a></p>\n</header>\n<main>\n")
                  .arg(link(o.file));
    const QDate thisWeek = mondayOf(today);
    for (size_t i = 0; i < weeks.size(); ++i) {
        const QString title = weeks[i] == thisWeek                ? QStringLiteral("Текущая неделя: ")
                              : weeks[i] == thisWeek.addDays(7) ? QStringLiteral("Следующая неделя: ")
                                                                  : QStringLiteral("Неделя ");
        weekSection(weeks[i], title, weeks[i], weeks[i].addDays(6), today);
    }
    if (m_months.empty())
        m_html += QStringLiteral("<p class=\"none\">В этом периоде занятий нет.</p>\n");
    else if (weeks.empty())
        m_html += QStringLiteral("<p class=\"none\">Занятий больше нет: период закончился.</p>\n");
    if (!m_months.empty())
        monthList(QString(), firstOfMonth(today));
    m_html += QStringLiteral("</main>\n") + kFoot;
}

// The weeks of a month with lessons, each with the days of the month alone.
void PageWriter::monthPage(const QDate &month)
{
    const PublishedObject &o = m_model.list(m_kind)[m_object];
    const QDate last = month.addMonths(1).addDays(-1);
    begin(QStringLiteral("../../"), month, last);
    heading(QStringLiteral("<a href=\"../%1.html\">← Текущая неделя</a> · <a "
                           "href=\"../../index.html\">Все расписания</a>")
                .arg(link(o.file)),
            o.title + QStringLiteral(", ") + monthName(month, false));
    m_html += QStringLiteral("</header>\n");
    monthList(QStringLiteral("../"), month);
    m_html += QStringLiteral("<main>\n");
    QDate monday;
    for (size_t i = lessonFrom(month); i < m_lessons.size() && m_lessons[i].teaching->date <= last;
         ++i) {
        const QDate week = mondayOf(m_lessons[i].teaching->date);
        if (week == monday)
            continue;
        monday = week;
        weekSection(monday, QStringLiteral("Неделя "), std::max(monday, month),
                    std::min(monday.addDays(6), last), QDate());
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

QString styleSheet(const PublishModel &model)
{
    QString style = QString::fromUtf8(kStyle).trimmed() + u'\n';
    // The colours by key, each once: a discipline's on a group's page, a group's elsewhere.
    const auto rules = [&style](QChar kind, std::vector<std::pair<int, QColor>> colours) {
        std::sort(colours.begin(), colours.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[key, colour] : colours)
            style += QStringLiteral(".lessons .%1%2{background:%3%4}\n")
                         .arg(kind)
                         .arg(key)
                         .arg(colour.name(), textColourOn(colour));
    };
    std::vector<std::pair<int, QColor>> disciplines, groups;
    for (auto d = model.disciplines.cbegin(); d != model.disciplines.cend(); ++d) {
        if (d->colour.isValid())
            disciplines.emplace_back(d.key(), d->colour);
    }
    const std::vector<PublishedObject> &groupList = model.list(PublishedKind::Group);
    for (size_t i = 0; i < groupList.size() && i < model.groupColours.size(); ++i) {
        if (model.groupColours[i].isValid())
            groups.emplace_back(groupList[i].key, model.groupColours[i]);
    }
    rules(u'd', std::move(disciplines));
    rules(u'g', std::move(groups));
    return style;
}

std::vector<QDate> pageMonths(const PublishModel &model, PublishedKind kind, size_t object)
{
    std::vector<QDate> months;
    for (const ObjectLesson &l : model.lessonsOf(kind, object)) {
        const QDate month = firstOfMonth(l.teaching->date);
        if (months.empty() || months.back() != month)
            months.push_back(month);
    }
    return months;
}

std::vector<QDate> frontWeeks(const PublishModel &model, PublishedKind kind, size_t object,
                              const QDate &today)
{
    const auto &lessons = model.lessonsOf(kind, object);
    const QDate thisWeek = mondayOf(today);
    std::vector<QDate> weeks;
    if (today >= model.from && today <= model.to)
        weeks.push_back(thisWeek);
    for (auto l = model.lessonFrom(kind, object, thisWeek); l != lessons.end() && weeks.size() < 2; ++l) {
        const QDate monday = mondayOf(l->teaching->date);
        if (weeks.empty() || weeks.back() != monday)
            weeks.push_back(monday);
    }
    return weeks;
}

QString monthPagePath(const PublishedObject &object, const QDate &month)
{
    return isoMonth(month) + u'/' + object.file + QStringLiteral(".html");
}

void writeObjectPage(const PageSource &source, const QDate &today, QString &html)
{
    PageWriter(source, html).frontPage(today);
}

void writeMonthPage(const PageSource &source, const QDate &month, QString &html)
{
    PageWriter(source, html).monthPage(month);
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

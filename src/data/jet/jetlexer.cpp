#include "jetlexer.h"

#include "data/dberror.h"

namespace korvesta::jet {

namespace {

[[noreturn]] void fail(const QString &sql, int position, const QString &what)
{
    throw DbError(dberr::SyntaxError,
                  QStringLiteral("Синтаксическая ошибка в запросе (позиция %1): %2\n%3")
                      .arg(position + 1)
                      .arg(what, sql));
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

// Numbers are written in ASCII digits only; other scripts' digits are no number to SQLite.
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

} // namespace

std::vector<Token> tokenize(const QString &sql)
{
    std::vector<Token> tokens;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token token;
        token.position = i;
        if (isNameStart(c)) {
            int j = i + 1;
            while (j < n && isNamePart(sql[j]))
                ++j;
            token.kind = Token::Kind::Identifier;
            token.text = sql.mid(i, j - i);
            i = j;
        } else if (c == u'[') {
            const int close = int(sql.indexOf(u']', i + 1));
            if (close < 0)
                fail(sql, i, QStringLiteral("нет закрывающей скобки ]"));
            token.kind = Token::Kind::Bracketed;
            token.text = sql.mid(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == u'\'' || c == u'"') {
            // A quote inside is written twice.
            QString text;
            int j = i + 1;
            for (;;) {
                if (j >= n)
                    fail(sql, i, QStringLiteral("незакрытая строка"));
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += sql[j++];
            }
            token.kind = Token::Kind::String;
            token.text = text;
            i = j + 1;
        } else if (c == u'#') {
            const int close = int(sql.indexOf(u'#', i + 1));
            if (close < 0)
                fail(sql, i, QStringLiteral("незакрытая дата #"));
            token.kind = Token::Kind::Date;
            token.text = sql.mid(i + 1, close - i - 1).trimmed();
            i = close + 1;
        } else if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(sql[i + 1]))) {
            int j = i;
            while (j < n && isDigit(sql[j]))
                ++j;
            if (j < n && sql[j] == u'.') {
                ++j;
                while (j < n && isDigit(sql[j]))
                    ++j;
            }
            if (j < n && (sql[j] == u'e' || sql[j] == u'E')) {
                int k = j + 1;
                if (k < n && (sql[k] == u'+' || sql[k] == u'-'))
                    ++k;
                if (k < n && isDigit(sql[k])) {
                    j = k;
                    while (j < n && isDigit(sql[j]))
                        ++j;
                }
            }
            token.kind = Token::Kind::Number;
            token.text = sql.mid(i, j - i);
            i = j;
        } else {
            static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("!=")};
            token.kind = Token::Kind::Symbol;
            bool matched = false;
            for (const QString &s : twoChar) {
                if (QStringView(sql).mid(i, 2) == s) {
                    token.text = s == u"!=" ? QStringLiteral("<>") : s;
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                static const QString single = QStringLiteral("(),.;=<>+-*/\\&^!");
                if (!single.contains(c))
                    fail(sql, i, QStringLiteral("недопустимый символ «%1»").arg(c));
                token.text = QString(c);
                ++i;
            }
        }
        tokens.push_back(std::move(token));
    }
    Token end;
    end.position = n;
    tokens.push_back(end);
    return tokens;
}

} // namespace korvesta::jet

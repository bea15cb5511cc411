#include "jetparser.h"

#include "data/dberror.h"
#include "jetlexer.h"
#include "jetwords.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvesta::jet {

namespace {

// How deeply a statement may nest: parentheses, operators applied to operators, subqueries.
// Each level costs the parser and the translator stack; a statement this deep is nothing a
// person writes, and deeper ones are refused before they can exhaust the stack.
constexpr int kMaxDepth = 1024;

// Up to this many tokens a statement cannot nest deeper than any thread's stack holds, with
// every frame of the parser and the translator.
constexpr size_t kTokensForAnyStack = 200;

thread_local bool t_deepStack = false;

class Parser
{
public:
    explicit Parser(const QString &sql)
        : m_sql(sql)
        , m_tokens(tokenize(sql))
    {
        if (m_tokens.size() > kTokensForAnyStack && !t_deepStack)
            throw NeedsDeepStack{};
    }

    Statement statement()
    {
        Statement st;
        if (word(u"PARAMETERS")) {
            parameters(st);
        }
        if (peekWord(u"SELECT")) {
            st.kind = Statement::Kind::Select;
            st.select = select(true);
        } else if (word(u"TRANSFORM")) {
            st.kind = Statement::Kind::Crosstab;
            st.transform = expression();
            if (word(u"AS"))
                name(); // the value column's name plays no part: columns are pivot values
            if (!peekWord(u"SELECT"))
                fail(QStringLiteral("ожидается SELECT"));
            st.select = select(true);
            expectWord(u"PIVOT");
            // "PIVOT expr IN (values)": the IN names the columns, it is no test of the value.
            m_pivotHead = true;
            st.pivot = expression();
            m_pivotHead = false;
            if (word(u"IN")) {
                expectSymbol(u"(");
                st.pivotValues = expressionList();
                expectSymbol(u")");
            }
        } else if (word(u"INSERT")) {
            insert(st);
        } else if (word(u"UPDATE")) {
            update(st);
        } else if (word(u"DELETE")) {
            remove(st);
        } else {
            fail(QStringLiteral("ожидается SELECT, TRANSFORM, INSERT, UPDATE или DELETE"));
        }
        symbol(u";");
        if (peek().kind != Token::Kind::End)
            fail(QStringLiteral("лишний текст после конца запроса"));
        return st;
    }

private:
    // One more level of nesting while it lives; deeper than kMaxDepth is a syntax error.
    class Nesting
    {
    public:
        explicit Nesting(Parser &p)
            : m_parser(p)
        {
            m_parser.deeper();
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        Parser &m_parser;
    };

    void deeper()
    {
        if (++m_depth > kMaxDepth)
            tooDeep();
    }
    [[noreturn]] void tooDeep() const
    {
        fail(QStringLiteral("слишком глубокая вложенность (больше %1 уровней)").arg(kMaxDepth));
    }

    // A chain "a + b + c" parses in a loop yet builds a tree one level deeper per operator,
    // which the translator then walks recursively: the tree's height has the same limit.
    ExprPtr grown(ExprPtr e) const
    {
        int below = 0;
        for (const ExprPtr &a : e->args)
            below = std::max(below, a->height);
        e->height = below + 1;
        if (e->height > kMaxDepth)
            tooDeep();
        return e;
    }

    // Tokens ---------------------------------------------------------------------------
    const Token &peek(int ahead = 0) const
    {
        const size_t i = std::min(m_pos + size_t(ahead), m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token &take() { return m_tokens[std::min(m_pos++, m_tokens.size() - 1)]; }
    bool peekWord(QStringView w, int ahead = 0) const { return peek(ahead).isWord(w); }
    bool word(QStringView w)
    {
        if (!peekWord(w))
            return false;
        ++m_pos;
        return true;
    }
    bool symbol(QStringView s)
    {
        if (!peek().isSymbol(s))
            return false;
        ++m_pos;
        return true;
    }
    void expectWord(QStringView w)
    {
        if (!word(w))
            fail(QStringLiteral("ожидается %1").arg(w.toString()));
    }
    void expectSymbol(QStringView s)
    {
        if (!symbol(s))
            fail(QStringLiteral("ожидается «%1»").arg(s.toString()));
    }
    [[noreturn]] void fail(const QString &what) const
    {
        const Token &t = peek();
        const QString near = t.kind == Token::Kind::End
                                 ? QStringLiteral("конец текста")
                                 : QStringLiteral("«%1»").arg(m_sql.mid(t.position, 30));
        throw DbError(dberr::SyntaxError,
                      QStringLiteral("Синтаксическая ошибка в запросе (позиция %1, %2): %3")
                          .arg(t.position + 1)
                          .arg(near, what));
    }

    // A name: identifier or bracketed.
    bool peekName(int ahead = 0) const
    {
        const Token &t = peek(ahead);
        return t.kind == Token::Kind::Bracketed
               || (t.kind == Token::Kind::Identifier && !isReserved(t.text));
    }
    QString name()
    {
        if (!peekName())
            fail(QStringLiteral("ожидается имя"));
        return take().text;
    }

    // Statements -------------------------------------------------------------------------
    void parameters(Statement &st)
    {
        do {
            Parameter p;
            p.name = name();
            if (peek().kind == Token::Kind::Identifier) {
                p.type = parameterType(take().text);
                if (symbol(u"(")) { // Text (255)
                    while (!symbol(u")")) {
                        if (peek().kind == Token::Kind::End)
                            fail(QStringLiteral("ожидается «)»"));
                        take();
                    }
                }
            }
            st.parameters.push_back(p);
        } while (symbol(u","));
        expectSymbol(u";");
    }

    void insert(Statement &st)
    {
        expectWord(u"INTO");
        st.kind = Statement::Kind::Insert;
        st.table = name();
        if (peek().isSymbol(u"(") && !peekWord(u"SELECT", 1)) {
            take();
            do {
                st.columns.push_back(columnName());
            } while (symbol(u","));
            expectSymbol(u")");
        }
        if (word(u"VALUES")) {
            expectSymbol(u"(");
            st.values = expressionList();
            expectSymbol(u")");
        } else if (peekWord(u"SELECT")) {
            st.select = select(true);
        } else if (peek().isSymbol(u"(") && peekWord(u"SELECT", 1)) {
            take();
            st.select = select(true);
            expectSymbol(u")");
        } else {
            fail(QStringLiteral("ожидается VALUES или SELECT"));
        }
    }

    // A column of an INSERT list, possibly qualified by its table.
    QString columnName()
    {
        QString n = name();
        if (symbol(u"."))
            n = name();
        return n;
    }

    void update(Statement &st)
    {
        st.kind = Statement::Kind::Update;
        st.target = source();
        expectWord(u"SET");
        do {
            ExprPtr target = primary();
            if (target->kind != Expr::Kind::Name)
                fail(QStringLiteral("ожидается имя поля"));
            expectSymbol(u"=");
            st.assignments.emplace_back(std::move(target), expression());
        } while (symbol(u","));
        if (word(u"WHERE"))
            st.where = expression();
    }

    void remove(Statement &st)
    {
        st.kind = Statement::Kind::Delete;
        if (symbol(u"*")) {
        } else if (!peekWord(u"FROM")) {
            // DELETE t.* FROM ...
            st.deleteQualifier = name();
            expectSymbol(u".");
            expectSymbol(u"*");
            while (symbol(u",")) {
                name();
                expectSymbol(u".");
                expectSymbol(u"*");
            }
        }
        expectWord(u"FROM");
        st.target = source();
        if (word(u"WHERE"))
            st.where = expression();
    }

    std::unique_ptr<Select> select(bool allowOrder)
    {
        const Nesting nesting(*this);
        const bool pivotHead = std::exchange(m_pivotHead, false);
        expectWord(u"SELECT");
        auto s = std::make_unique<Select>();
        for (;;) {
            if (word(u"DISTINCT")) {
                s->distinct = true;
            } else if (word(u"DISTINCTROW") || word(u"ALL")) {
            } else if (word(u"TOP")) {
                if (peek().kind != Token::Kind::Number)
                    fail(QStringLiteral("ожидается число после TOP"));
                s->top = take().text.toInt();
                s->topPercent = word(u"PERCENT");
            } else {
                break;
            }
        }
        do {
            SelectItem item;
            item.expr = expression();
            if (word(u"AS"))
                item.alias = name();
            else if (peekName() && item.expr->kind != Expr::Kind::Star)
                item.alias = name();
            s->items.push_back(std::move(item));
        } while (symbol(u","));

        if (word(u"FROM")) {
            do {
                s->from.push_back(source());
            } while (symbol(u","));
        }
        if (word(u"WHERE"))
            s->where = expression();
        if (word(u"GROUP")) {
            expectWord(u"BY");
            s->groupBy = expressionList();
        }
        if (word(u"HAVING"))
            s->having = expression();
        if (word(u"UNION")) {
            s->nextAll = word(u"ALL");
            const bool parenthesized = symbol(u"(");
            s->next = select(!parenthesized && allowOrder);
            if (parenthesized)
                expectSymbol(u")");
            // ORDER BY after the last select orders the whole union; keep it on the first.
            if (!s->next->orderBy.empty() && !parenthesized) {
                s->orderBy = std::move(s->next->orderBy);
                s->next->orderBy.clear();
            }
        }
        if (allowOrder && word(u"ORDER")) {
            expectWord(u"BY");
            do {
                OrderItem o;
                o.expr = expression();
                if (word(u"DESC"))
                    o.descending = true;
                else
                    word(u"ASC");
                s->orderBy.push_back(std::move(o));
            } while (symbol(u","));
        }
        m_pivotHead = pivotHead;
        return s;
    }

    // Sources ------------------------------------------------------------------------------
    std::unique_ptr<Source> source()
    {
        auto left = sourcePrimary();
        for (int joins = 1;; ++joins) {
            if (joins > kMaxDepth)
                tooDeep();
            QString type;
            if (peekWord(u"INNER") && peekWord(u"JOIN", 1)) {
                type = QStringLiteral("INNER");
                m_pos += 2;
            } else if (peekWord(u"JOIN")) {
                type = QStringLiteral("INNER");
                m_pos += 1;
            } else if (peekWord(u"LEFT") || peekWord(u"RIGHT")) {
                type = take().text.toUpper();
                word(u"OUTER");
                expectWord(u"JOIN");
            } else {
                break;
            }
            auto join = std::make_unique<Source>();
            join->kind = Source::Kind::Join;
            join->joinType = type;
            join->position = left->position;
            join->left = std::move(left);
            join->right = sourcePrimary();
            expectWord(u"ON");
            join->on = expression();
            left = std::move(join);
        }
        return left;
    }

    std::unique_ptr<Source> sourcePrimary()
    {
        const Nesting nesting(*this);
        const int position = peek().position;
        if (symbol(u"(")) {
            std::unique_ptr<Source> s;
            if (peekWord(u"SELECT")) {
                s = std::make_unique<Source>();
                s->kind = Source::Kind::Subquery;
                s->subquery = select(true);
                expectSymbol(u")");
                s->alias = optionalAlias();
            } else {
                s = source();
                expectSymbol(u")");
            }
            s->position = position;
            return s;
        }
        auto s = std::make_unique<Source>();
        s->kind = Source::Kind::Table;
        s->position = position;
        s->name = name();
        s->alias = optionalAlias();
        return s;
    }

    QString optionalAlias()
    {
        if (word(u"AS"))
            return name();
        if (peekName())
            return name();
        return {};
    }

    // Expressions ------------------------------------------------------------------------
    std::vector<ExprPtr> expressionList()
    {
        std::vector<ExprPtr> list;
        do {
            list.push_back(expression());
        } while (symbol(u","));
        return list;
    }

    ExprPtr binary(QString op, ExprPtr l, ExprPtr r, int position) const
    {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Binary;
        e->op = std::move(op);
        e->position = position;
        e->args.push_back(std::move(l));
        e->args.push_back(std::move(r));
        return grown(std::move(e));
    }

    ExprPtr expression()
    {
        const Nesting nesting(*this);
        return logical(0);
    }

    // IMP < EQV < XOR < OR < AND
    ExprPtr logical(int level)
    {
        static const char16_t *const ops[] = {u"IMP", u"EQV", u"XOR", u"OR", u"AND"};
        if (level == 5)
            return negation();
        ExprPtr left = logical(level + 1);
        for (;;) {
            const int position = peek().position;
            if (!word(ops[level]))
                return left;
            left = binary(QString::fromUtf16(ops[level]), std::move(left), logical(level + 1),
                          position);
        }
    }

    ExprPtr negation()
    {
        const int position = peek().position;
        if (word(u"NOT")) {
            const Nesting nesting(*this);
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Unary;
            e->op = QStringLiteral("NOT");
            e->position = position;
            e->args.push_back(negation());
            return grown(std::move(e));
        }
        return comparison();
    }

    ExprPtr comparison()
    {
        ExprPtr left = concatenation();
        for (;;) {
            const Token &t = peek();
            const int position = t.position;
            if (m_pivotHead && peekWord(u"IN"))
                return left;
            if (t.kind == Token::Kind::Symbol
                && (t.text == u"=" || t.text == u"<>" || t.text == u"<" || t.text == u">"
                    || t.text == u"<=" || t.text == u">=")) {
                const QString op = take().text;
                    left = binary(op, std::move(left), concatenation(), position);
                continue;
            }
            bool negated = false;
            if (peekWord(u"NOT")
                && (peekWord(u"LIKE", 1) || peekWord(u"IN", 1) || peekWord(u"BETWEEN", 1))) {
                take();
                negated = true;
            }
            auto e = std::make_unique<Expr>();
            e->position = position;
            e->negated = negated;
            if (word(u"LIKE")) {
                e->kind = Expr::Kind::Like;
                e->args.push_back(std::move(left));
                e->args.push_back(concatenation());
            } else if (word(u"BETWEEN")) {
                e->kind = Expr::Kind::Between;
                e->args.push_back(std::move(left));
                e->args.push_back(concatenation());
                expectWord(u"AND");
                e->args.push_back(concatenation());
            } else if (word(u"IN")) {
                expectSymbol(u"(");
                e->args.push_back(std::move(left));
                if (peekWord(u"SELECT")) {
                    e->kind = Expr::Kind::InSelect;
                    e->subquery = select(true);
                } else {
                    e->kind = Expr::Kind::In;
                    for (auto &item : expressionList())
                        e->args.push_back(std::move(item));
                }
                expectSymbol(u")");
            } else if (word(u"IS")) {
                e->kind = Expr::Kind::IsNull;
                e->negated = word(u"NOT");
                expectWord(u"NULL");
                e->args.push_back(std::move(left));
            } else {
                if (negated)
                    fail(QStringLiteral("ожидается LIKE, IN или BETWEEN"));
                return left;
            }
            left = grown(std::move(e));
        }
    }

    ExprPtr concatenation()
    {
        ExprPtr left = additive();
        for (;;) {
            const int position = peek().position;
            if (!symbol(u"&"))
                return left;
            left = binary(QStringLiteral("&"), std::move(left), additive(), position);
        }
    }

    ExprPtr additive()
    {
        ExprPtr left = modulo();
        for (;;) {
            const int position = peek().position;
            QString op;
            if (symbol(u"+"))
                op = QStringLiteral("+");
            else if (symbol(u"-"))
                op = QStringLiteral("-");
            else
                return left;
            left = binary(op, std::move(left), modulo(), position);
        }
    }

    ExprPtr modulo()
    {
        ExprPtr left = integerDivision();
        for (;;) {
            const int position = peek().position;
            if (!word(u"MOD"))
                return left;
            left = binary(QStringLiteral("MOD"), std::move(left), integerDivision(), position);
        }
    }

    ExprPtr integerDivision()
    {
        ExprPtr left = multiplicative();
        for (;;) {
            const int position = peek().position;
            if (!symbol(u"\\"))
                return left;
            left = binary(QStringLiteral("\\"), std::move(left), multiplicative(), position);
        }
    }

    ExprPtr multiplicative()
    {
        ExprPtr left = unary();
        for (;;) {
            const int position = peek().position;
            QString op;
            if (symbol(u"*"))
                op = QStringLiteral("*");
            else if (symbol(u"/"))
                op = QStringLiteral("/");
            else
                return left;
            left = binary(op, std::move(left), unary(), position);
        }
    }

    ExprPtr unary()
    {
        const int position = peek().position;
        if (peek().isSymbol(u"-") || peek().isSymbol(u"+")) {
            const Nesting nesting(*this);
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Unary;
            e->op = take().text;
            e->position = position;
            e->args.push_back(unary());
            return grown(std::move(e));
        }
        return power();
    }

    ExprPtr power()
    {
        ExprPtr left = primary();
        for (;;) {
            const int position = peek().position;
            if (!symbol(u"^"))
                return left;
            left = binary(QStringLiteral("^"), std::move(left), primary(), position);
        }
    }

    ExprPtr literal(JetType type, QString text, int position)
    {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Literal;
        e->literalType = type;
        e->op = std::move(text);
        e->position = position;
        return e;
    }

    ExprPtr primary()
    {
        const Token &t = peek();
        const int position = t.position;
        switch (t.kind) {
        case Token::Kind::String:
            return literal(JetType::Text, take().text, position);
        case Token::Kind::Number: {
            // A number too large for any numeric type is refused rather than read as infinity.
            bool ok = false;
            const double value = t.text.toDouble(&ok);
            if (!ok || !std::isfinite(value))
                fail(QStringLiteral("число %1 вне допустимого диапазона (переполнение)")
                         .arg(t.text.left(30)));
            const QString text = take().text;
            bool whole = !text.contains(u'.') && !text.contains(u'e') && !text.contains(u'E');
            if (whole) {
                text.toLongLong(&ok);
                whole = ok; // beyond 64 bits a whole number is a Double
            }
            return literal(whole ? JetType::Long : JetType::Double, text, position);
        }
        case Token::Kind::Date: {
            const QString iso = dateLiteralToIso(t.text);
            if (iso.isEmpty())
                fail(QStringLiteral("неверная дата #%1#").arg(t.text));
            take();
            return literal(JetType::Date, iso, position);
        }
        case Token::Kind::Symbol:
            if (t.text == u"(") {
                take();
                const bool pivotHead = std::exchange(m_pivotHead, false);
                if (peekWord(u"SELECT")) {
                    auto e = std::make_unique<Expr>();
                    e->kind = Expr::Kind::Subquery;
                    e->position = position;
                    e->subquery = select(true);
                    expectSymbol(u")");
                    m_pivotHead = pivotHead;
                    return e;
                }
                ExprPtr inner = expression();
                expectSymbol(u")");
                m_pivotHead = pivotHead;
                return inner;
            }
            if (t.text == u"*") {
                take();
                auto e = std::make_unique<Expr>();
                e->kind = Expr::Kind::Star;
                e->position = position;
                return e;
            }
            fail(QStringLiteral("ожидается выражение"));
        case Token::Kind::Identifier:
            if (t.isWord(u"TRUE"))
                return take(), literal(JetType::Boolean, QStringLiteral("1"), position);
            if (t.isWord(u"FALSE"))
                return take(), literal(JetType::Boolean, QStringLiteral("0"), position);
            if (t.isWord(u"NULL"))
                return take(), literal(JetType::Unknown, QString(), position);
            if (t.isWord(u"EXISTS")) {
                take();
                expectSymbol(u"(");
                auto e = std::make_unique<Expr>();
                e->kind = Expr::Kind::Exists;
                e->position = position;
                e->subquery = select(true);
                expectSymbol(u")");
                return e;
            }
            if (peek(1).isSymbol(u"("))
                return function();
            if (isReserved(t.text))
                fail(QStringLiteral("ожидается выражение"));
            return nameReference();
        case Token::Kind::Bracketed:
            return nameReference();
        case Token::Kind::End:
            fail(QStringLiteral("неожиданный конец запроса"));
        }
        fail(QStringLiteral("ожидается выражение"));
    }

    ExprPtr function()
    {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Function;
        e->position = peek().position;
        e->op = take().text;
        if (e->op.endsWith(u'$')) // Left$, Format$ ...
            e->op.chop(1);
        expectSymbol(u"(");
        const bool pivotHead = std::exchange(m_pivotHead, false);
        if (!symbol(u")")) {
            if (word(u"DISTINCT"))
                e->distinct = true;
            e->args = expressionList();
            expectSymbol(u")");
        }
        m_pivotHead = pivotHead;
        return grown(std::move(e));
    }

    ExprPtr nameReference()
    {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Name;
        e->position = peek().position;
        e->name = take().text;
        // qualifier.name, qualifier!name, qualifier.*
        while (peek().isSymbol(u".") || peek().isSymbol(u"!")) {
            take();
            if (symbol(u"*")) {
                e->kind = Expr::Kind::Star;
                e->qualifier = e->name;
                e->name.clear();
                return e;
            }
            const Token &n = peek();
            if (n.kind != Token::Kind::Identifier && n.kind != Token::Kind::Bracketed)
                fail(QStringLiteral("ожидается имя поля"));
            e->qualifier = e->qualifier.isEmpty() ? e->name : e->qualifier + u'.' + e->name;
            e->name = take().text;
        }
        return e;
    }

    QString m_sql;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    // Reading the head of PIVOT, where IN starts the list of columns (outside parentheses).
    bool m_pivotHead = false;
};

} // namespace

DeepStack::DeepStack()
{
    t_deepStack = true;
}

DeepStack::~DeepStack()
{
    t_deepStack = false;
}

bool DeepStack::active()
{
    return t_deepStack;
}

Statement parseStatement(const QString &sql)
{
    Parser parser(sql);
    return parser.statement();
}

} // namespace korvesta::jet

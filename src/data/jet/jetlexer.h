#pragma once

#include <QString>

#include <vector>

namespace korvesta::jet {

// A token of the program's SQL dialect. Keywords are plain identifiers; the parser
// recognises them by text, without regard to letter case.
struct Token
{
    enum class Kind {
        Identifier, // name or keyword
        Bracketed,  // [name], text without the brackets
        String,     // 'text' or "text", unquoted
        Number,
        Date,       // #m/d/yyyy#, text between the signs
        Symbol,     // ( ) , . ; = <> < > <= >= + - * / \ & ^ !
        End,
    };

    Kind kind = Kind::End;
    QString text;
    int position = 0; // offset in the statement, for messages

    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isWord(QStringView word) const
    {
        return kind == Kind::Identifier && text.compare(word, Qt::CaseInsensitive) == 0;
    }
};

// Splits a statement into tokens; throws DbError (syntax error) on an unterminated
// string, bracket or date, or on a character that belongs to no token.
std::vector<Token> tokenize(const QString &sql);

} // namespace korvesta::jet

#pragma once

#include <QString>

#include <exception>

namespace korvesta {

// Error numbers of the document engine. The numbers are the ones the rest of the program
// and the shared error handler act on, so they keep the values planners' old documents
// and habits know them by.
namespace dberr {
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int TooFewParameters = 3061;
constexpr int SyntaxError = 3075;
constexpr int TableNotFound = 3078;
constexpr int ItemNotFound = 3265;
constexpr int TypeMismatch = 3464;
constexpr int ForeignFormat = 3615;
constexpr int Failed = 3146; // any other failure of the underlying engine
} // namespace dberr

class DbError : public std::exception
{
public:
    DbError(int code, QString message)
        : m_code(code)
        , m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {}

    int code() const { return m_code; }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_code;
    QString m_message;
    QByteArray m_utf8;
};

} // namespace korvesta

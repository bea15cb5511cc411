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
constexpr int Duplicate = 3022; // a unique index or key refused the value
constexpr int FileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int DiskIo = 3043;
constexpr int TooFewParameters = 3061;
constexpr int SyntaxError = 3075;
constexpr int TableNotFound = 3078;
constexpr int TooBig = 3163; // a value or a row larger than the engine takes
constexpr int Locked = 3260; // another program holds the document
constexpr int ItemNotFound = 3265;
constexpr int TypeMismatch = 3464;
constexpr int ForeignFormat = 3615;
constexpr int Failed = 3146; // any other failure of the underlying engine
} // namespace dberr

class DbError : public std::exception
{
public:
    DbError(int code, QString message, QString path = QString())
        : m_code(code)
        , m_message(std::move(message))
        , m_path(std::move(path))
        , m_utf8(m_message.toUtf8())
    {}

    // The error of a failed SQLite call: the engine's result code turned into the number and
    // the Russian text the user reads, with what to do about it; the engine's own text, when
    // it says more, follows on a line of its own. `path` names the document.
    static DbError fromEngine(int resultCode, const QString &engineText, const QString &path);

    int code() const { return m_code; }
    const QString &message() const { return m_message; }
    // The document the error concerns, where known.
    const QString &path() const { return m_path; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_code;
    QString m_message;
    QString m_path;
    QByteArray m_utf8;
};

} // namespace korvesta

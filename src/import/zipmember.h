#pragma once

#include <QByteArray>
#include <QString>

#include <zip.h>

namespace korvesta {

// One part of a zip archive, read in pieces. The sizes the archive's headers claim are not
// trusted for anything but the packing ratio: the bytes are counted as they come, and the
// reading stops with a problem once they pass the limits of an imported file.
class ZipMember
{
public:
    // Opens the part; exists() is false when the archive has no such part.
    ZipMember(zip_t *zip, const QString &name);
    ~ZipMember();
    ZipMember(const ZipMember &) = delete;
    ZipMember &operator=(const ZipMember &) = delete;

    bool exists() const { return m_file != nullptr; }
    // The next piece; empty at the end of the part or when a problem stopped the reading.
    QByteArray next();
    // Why the reading stopped early: a limit passed (named) or damaged data; empty when not.
    const QString &problem() const { return m_problem; }
    bool damaged() const { return m_damaged; }

    // The whole part (a small one: the book's index, its styles); nullopt-like empty with a
    // problem when it cannot be read whole.
    QByteArray readAll();

private:
    zip_file_t *m_file = nullptr;
    QString m_name;
    qint64 m_packed = 0;
    qint64 m_read = 0;
    bool m_damaged = false;
    QString m_problem;
};

} // namespace korvesta

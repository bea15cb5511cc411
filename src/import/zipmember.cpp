#include "zipmember.h"

#include "importlimits.h"

#include <algorithm>

namespace korvesta {

namespace {

constexpr qint64 kPiece = 256 * 1024;

} // namespace

ZipMember::ZipMember(zip_t *zip, const QString &name)
    : m_name(name)
{
    const QByteArray path = name.toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(zip, path.constData(), 0, &stat) != 0)
        return;
    if (stat.valid & ZIP_STAT_COMP_SIZE)
        m_packed = qint64(std::min<zip_uint64_t>(stat.comp_size, zip_uint64_t(1) << 62));
    m_file = zip_fopen(zip, path.constData(), 0);
}

ZipMember::~ZipMember()
{
    if (m_file)
        zip_fclose(m_file);
}

QByteArray ZipMember::next()
{
    if (!m_file || !m_problem.isEmpty())
        return QByteArray();
    QByteArray piece(kPiece, Qt::Uninitialized);
    const zip_int64_t n = zip_fread(m_file, piece.data(), zip_uint64_t(kPiece));
    if (n < 0) {
        m_damaged = true;
        m_problem = QStringLiteral("часть книги «%1» повреждена").arg(m_name);
        return QByteArray();
    }
    piece.truncate(qsizetype(n));
    m_read += n;
    using namespace importlimits;
    if (m_read > kFileBytes) {
        m_problem = QStringLiteral("часть книги «%1» в распакованном виде больше %2 МБ")
                        .arg(m_name)
                        .arg(kFileBytes >> 20);
        return QByteArray();
    }
    if (m_read > kRatioFrom && m_read > kPackRatio * std::max<qint64>(m_packed, 1)) {
        m_problem = QStringLiteral("часть книги «%1» распаковывается в %2 раз больше своего "
                                   "сжатого размера: так выглядит не таблица, а «zip-бомба»")
                        .arg(m_name)
                        .arg(m_read / std::max<qint64>(m_packed, 1));
        return QByteArray();
    }
    return piece;
}

QByteArray ZipMember::readAll()
{
    QByteArray all;
    for (QByteArray piece = next(); !piece.isEmpty(); piece = next())
        all += piece;
    return m_problem.isEmpty() ? all : QByteArray();
}

} // namespace korvesta

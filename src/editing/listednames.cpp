#include "listednames.h"

namespace korvesta {

QString ListedNames::key(std::initializer_list<QString> parts)
{
    QString key;
    for (const QString &part : parts) {
        key += part.trimmed().toCaseFolded();
        key += u'\x1f';
    }
    return key;
}

void ListedNames::loadOnce(const std::function<void(ListedNames &)> &read)
{
    if (m_loaded)
        return;
    read(*this);
    m_loaded = true;
}

} // namespace korvesta

#include "rowprompts.h"

namespace korvesta {

void RowPrompts::message(const QString &text, Icon, const QString &)
{
    if (reason.isEmpty())
        reason = QString(text)
                     .replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                     .replace(u'\t', u' ')
                     .simplified();
}

} // namespace korvesta

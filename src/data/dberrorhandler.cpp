#include "dberrorhandler.h"

#include "dberror.h"
#include "prompts.h"

namespace korvesta {

void handleDatabaseError(const DbError &error, Prompts &prompts,
                         const std::function<void()> &openDocument)
{
    switch (error.code()) {
    case dberr::ForeignFormat:
    case dberr::TooFewParameters:
        prompts.message(QStringLiteral("Некорректный формат базы данных") + QStringLiteral("\r\n")
                            + QStringLiteral("Действие отменено"),
                        Prompts::Icon::None);
        break;
    case dberr::FileNotFound:
        if (openDocument)
            openDocument();
        break;
    default:
        break;
    }
}

} // namespace korvesta

#pragma once

#include <functional>

namespace korvesta {

class DbError;
class Prompts;

// The one place that turns a failed document operation into what the user sees: a document
// of another layout (or one lacking a query, field or parameter the program uses) gets
// "Некорректный формат базы данных / Действие отменено"; a missing file runs openDocument
// so the user can pick another. Other errors end the operation silently.
void handleDatabaseError(const DbError &error, Prompts &prompts,
                         const std::function<void()> &openDocument);

} // namespace korvesta

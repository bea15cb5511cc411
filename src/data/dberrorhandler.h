#pragma once

#include <QString>

#include <functional>

namespace korvesta {

class DbError;
class Prompts;

// The one place that turns a failed document operation into what the user sees, always in
// Russian and always once:
// - a document of another layout (or one lacking a query, table, field or parameter the
//   program uses): "Некорректный формат базы данных / Действие отменено";
// - a document file that has gone: said once per user action, then the user may save the data
//   the program still holds into a file they pick (saveElsewhere, given the file written,
//   makes it the current document) or open another document (openDocument);
// - a document another program holds: "Документ занят другой программой", once per action;
// - any other failure: its own message, which says what was not done and what to do.
void handleDatabaseError(const DbError &error, Prompts &prompts,
                         const std::function<void()> &openDocument,
                         const std::function<void(const QString &)> &saveElsewhere = {});

// For an action that can simply run again: a document another program holds is reported with
// "Повторить"/"Отмена". True when the user chose to repeat; false (nothing said) for any other
// error, which goes to handleDatabaseError.
bool askToRetryLocked(const DbError &error, Prompts &prompts);

// A missing or locked document once reported is not reported again until the user's action
// ends (the event loop runs again). Without an event loop, this ends the action.
void endReportedLoss();

} // namespace korvesta

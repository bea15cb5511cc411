#pragma once

#include "jetast.h"

#include <QString>

namespace korvesta::jet {

// Parses one statement of the program's SQL dialect. Throws DbError (syntax error, with
// the position) when the text is not a statement, or nests too deeply. A statement long
// enough to nest deeply is parsed only on a thread marked by DeepStack; elsewhere it throws
// NeedsDeepStack, for the caller to start again on such a thread.
Statement parseStatement(const QString &sql);

struct NeedsDeepStack
{
};

// Marks the current thread, while it lives, as having a stack with room for the deepest
// statement the parser admits and for its translation.
class DeepStack
{
public:
    DeepStack();
    ~DeepStack();
    DeepStack(const DeepStack &) = delete;
    DeepStack &operator=(const DeepStack &) = delete;

    static bool active();
    // The stack size such a thread needs, with room to spare in any build.
    static constexpr unsigned kBytes = 256u << 20;
};

// The ISO text of a date literal written between # signs (m/d/yyyy, optionally with a
// time, or yyyy-mm-dd); empty when the text is not a date.
QString dateLiteralToIso(const QString &text);

} // namespace korvesta::jet

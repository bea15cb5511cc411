#include "keyboardlocks.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <optional>

#ifdef KORVESTA_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/keysym.h>
// Xlib defines names that clash with Qt's enums.
#undef None
#undef KeyPress
#undef KeyRelease
#undef FocusIn
#undef FocusOut
#undef Bool
#endif

namespace korvesta {

namespace {

#ifdef KORVESTA_HAVE_X11
std::optional<KeyboardLocks::State> queryX11()
{
    const auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>()
                           : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != 0)
        return std::nullopt;
    const unsigned numMask = XkbKeysymToModifiers(display, XK_Num_Lock);
    KeyboardLocks::State result;
    result.caps = (state.locked_mods & LockMask) != 0;
    result.num = numMask != 0 && (state.locked_mods & numMask) != 0;
    return result;
}
#endif

} // namespace

KeyboardLocks::State KeyboardLocks::query()
{
#ifdef KORVESTA_HAVE_X11
    if (const std::optional<State> state = queryX11())
        return *state;
#endif
    return m_followed;
}

void KeyboardLocks::lockKeyPressed(int key)
{
    if (key == Qt::Key_CapsLock)
        m_followed.caps = !m_followed.caps;
    else if (key == Qt::Key_NumLock)
        m_followed.num = !m_followed.num;
}

} // namespace korvesta

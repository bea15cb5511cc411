#pragma once

namespace korvesta {

// The state of the Caps Lock and Num Lock keys. Read from the X server where the program
// runs on X11; elsewhere (Wayland, offscreen) the state is followed from the lock keys
// pressed while the program has the keyboard, starting from off.
class KeyboardLocks
{
public:
    struct State
    {
        bool caps = false;
        bool num = false;
    };

    // The current state, as well as it can be known.
    State query();
    // A lock key was pressed in the program (Qt::Key_CapsLock or Qt::Key_NumLock).
    void lockKeyPressed(int key);

private:
    State m_followed;
};

} // namespace korvesta

// Turning Win32 console key events into the key presses that getKey hands
// out: a character as its byte, 0 followed by the scan code for a key
// without a character, or the Alt chord code for Alt with a character key;
// and mouse events into mouse codes.
#ifndef CORVANE_PLATFORM_WIN32_CONSOLE_KEYS_H
#define CORVANE_PLATFORM_WIN32_CONSOLE_KEYS_H

#include <vector>

#include "platform/win32/windows_api.h"

namespace corvane {

// Appends the presses that one key event stands for: none for a key release
// or a key that only modifies others (Shift, Ctrl, Alt, the lock and Windows
// keys); one per repeat otherwise.
void appendKeyPresses(const KEY_EVENT_RECORD& event, std::vector<int>& presses);

// Appends the mouse events (console/mouse_event.h) that one mouse record
// stands for: one per button it finds newly pressed, or a wheel turn; none
// for a release or a move. buttonsHeld is the button state before the
// record and is brought up to date.
void appendMouseEvents(const MOUSE_EVENT_RECORD& event, DWORD& buttonsHeld,
                       std::vector<int>& presses);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_CONSOLE_KEYS_H

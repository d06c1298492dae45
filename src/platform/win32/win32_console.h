// Corvane's screen in a Windows console window.
#ifndef CORVANE_PLATFORM_WIN32_WIN32_CONSOLE_H
#define CORVANE_PLATFORM_WIN32_WIN32_CONSOLE_H

#include <memory>

#include "console/console.h"

namespace corvane {

// Takes over the console that standard input belongs to: Corvane draws on a
// screen buffer of its own, 80 x 25, in code page 437, and reads raw key
// events. Everything is given back as it was (the user's screen buffer,
// modes, code page) when the console is destroyed, when the program exits,
// and when the window is closed or Ctrl-Break is pressed. Nothing (nullptr)
// when standard input is not a console.
std::unique_ptr<Console> makeWin32Console();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_WIN32_CONSOLE_H

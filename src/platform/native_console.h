// The console of the platform Corvane runs on: the real terminal (or Win32
// console) when standard input is one, else the scripted console that reads
// keys from standard input and draws nothing.
#ifndef CORVANE_PLATFORM_NATIVE_CONSOLE_H
#define CORVANE_PLATFORM_NATIVE_CONSOLE_H

#include <memory>
#include <string>

#include "console/console.h"

namespace corvane {

// A console as it was opened, or why none was.
struct OpenedConsole {
  // Null when standard input is a terminal Corvane cannot draw on.
  std::unique_ptr<Console> console;
  // Then why, in one line for the user.
  std::string problem;
};

OpenedConsole makeNativeConsole();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_NATIVE_CONSOLE_H

// The console of the platform Corvane runs on: the real terminal (or Win32
// console) when standard input is one, else the scripted console that reads
// keys from standard input and draws nothing. Null when standard input is a
// terminal Corvane cannot draw on; problem then says why, in one line.
#ifndef CORVANE_PLATFORM_NATIVE_CONSOLE_H
#define CORVANE_PLATFORM_NATIVE_CONSOLE_H

#include <memory>
#include <string>

#include "platform/console.h"

namespace corvane {

std::unique_ptr<Console> makeNativeConsole(std::string& problem);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_NATIVE_CONSOLE_H

// The console of the platform Corvane runs on: the real terminal (or Win32
// console) when standard input is one, else the scripted console that reads
// keys from standard input and draws nothing.
#ifndef CORVANE_PLATFORM_NATIVE_CONSOLE_H
#define CORVANE_PLATFORM_NATIVE_CONSOLE_H

#include <memory>

#include "ui/console.h"

namespace corvane {

std::unique_ptr<Console> makeNativeConsole();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_NATIVE_CONSOLE_H

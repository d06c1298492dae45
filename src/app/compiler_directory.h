// Finds the Borland C++ 5.5 installation that the makefile names after
// "BCDIR = ": beside the program, or by asking the user.
#ifndef CORVANE_APP_COMPILER_DIRECTORY_H
#define CORVANE_APP_COMPILER_DIRECTORY_H

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "ui/corvane_screen.h"

namespace corvane {

// The compiler directory, never empty; nothing when the user pressed Esc at a
// prompt, in which case the screen has been destroyed and the run ends with
// exit status 1.
std::optional<std::string> locateCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                                   const std::string& programPath);
std::optional<std::string> askCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_COMPILER_DIRECTORY_H

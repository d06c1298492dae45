// Finds the Borland C++ 5.5 installation that the makefile names after
// "BCDIR = ": beside the program, or by asking the user.
#ifndef CORVANE_APP_COMPILER_DIRECTORY_H
#define CORVANE_APP_COMPILER_DIRECTORY_H

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "ui/corvane_screen.h"

namespace corvane {

// What the search for the compiler came to.
struct CompilerSearch {
  // The compiler directory, never empty; nothing when the user pressed Esc
  // at a prompt (the run then ends with exit status 1).
  std::optional<std::string> directory;
  // After Esc, the compiler path last looked for and not found; empty when
  // none was.
  std::string lastTried;
};

// `previous` is the directory the makefile about to be replaced names (empty
// when there is none): when the compiler is there, the prompts offer it
// instead of the built-in default.
CompilerSearch locateCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                       const std::string& programPath,
                                       const std::string& previous = std::string());
CompilerSearch askCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                    const std::string& previous = std::string());

}  // namespace corvane

#endif  // CORVANE_APP_COMPILER_DIRECTORY_H

// Finds the Borland C++ 5.5 installation that the makefile names after
// "BCDIR = ": beside the program, or by asking the user.
#ifndef CORVANE_APP_COMPILER_DIRECTORY_H
#define CORVANE_APP_COMPILER_DIRECTORY_H

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "text/text_utils.h"
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

// Where the compiler is looked for in a directory: directory\Bin\Bcc32.exe,
// as the prompts name it when it is not there.
std::string compilerPathIn(const std::string& directory);

// What a directory the user names for the compiler (typed at the prompt, or
// given on the command line) stands for after "BCDIR = ", once the compiler
// is found there; nothing when it is not. A Bin directory that holds
// Bcc32.exe stands for the directory above it, the one the makefile wants.
// A directory of this disk is named as the Borland tools see it, exactly as
// one found beside the program is (through Wine's drives on POSIX systems);
// a Windows path (C:\Borland\Bcc55) is kept as it was given.
std::optional<std::string> compilerDirectoryFromAnswer(const FileSystem& fs,
                                                       const std::string& answer);

// What a search that asks nobody came to.
struct CompilerLookup {
  std::optional<std::string> directory;  // found: the directory, never empty
  List tried;  // not found: every compiler path looked for, in order
};

// The search of a run that may not ask: beside the program as
// locateCompilerDirectory looks, then `previous` (the directory the makefile
// about to be replaced names) when its Bin holds the compiler.
CompilerLookup lookUpCompiler(const FileSystem& fs, const std::string& programPath,
                              const std::string& previous);

}  // namespace corvane

#endif  // CORVANE_APP_COMPILER_DIRECTORY_H

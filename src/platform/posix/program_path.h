// Where the running program's file is, as the user started it. Corvane looks
// for the compiler beside that file, and a user may have put a symbolic link
// to it into the compiler's Bin directory: the link is what counts, not the
// file it leads to.
#ifndef CORVANE_PLATFORM_POSIX_PROGRAM_PATH_H
#define CORVANE_PLATFORM_POSIX_PROGRAM_PATH_H

#include <string>

namespace corvane {

// The absolute path of the program file named by the first element of the
// argument vector, links left as they are: a name holding a slash is taken
// from the current directory, a bare name from the directories of PATH
// (`searchPath`, may be null; an empty entry is the current directory), the
// first executable file of that name winning, as the shell chooses. "." and
// repeated slashes are dropped. Empty when no such file exists.
std::string startedProgramPath(const std::string& startedAs, const char* searchPath,
                               const std::string& currentDirectory);

// The started path when it leads to the very file that is running (a lying
// or outdated first argument is not trusted), else the running file with
// every link resolved, as the system reports it; empty when neither is known.
std::string programPathOf(const std::string& startedAs, const char* searchPath,
                          const std::string& currentDirectory);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_PROGRAM_PATH_H

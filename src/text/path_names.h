// Names of files and directories as text. The makefile is for Windows tools
// and a project file may have been edited anywhere, so both "\" and "/"
// separate, and a path may start with a drive: a letter and a colon.
#ifndef CORVANE_TEXT_PATH_NAMES_H
#define CORVANE_TEXT_PATH_NAMES_H

#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kPathSeparators = "\\/";

constexpr bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

// Whether the path starts with an ASCII letter and a colon ("C:", "d:x").
bool hasDriveLetter(std::string_view path);

struct PathParts {
  std::string drive;      // "C:" where drives are split off; else empty
  std::string directory;  // up to and including the last separator
  std::string name;       // the last component without its extension
  std::string extension;  // the last dot of the last component and what follows
};

// Splits a path at its last separator and the last dot after it. With
// withDrive a leading drive is split off first; without it (POSIX names,
// where "C:x" is a file name) it stays in the directory or the name.
PathParts splitPathName(std::string_view path, bool withDrive);

}  // namespace corvane

#endif  // CORVANE_TEXT_PATH_NAMES_H

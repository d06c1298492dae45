// Pure text work on Windows paths, kept apart from the API calls so that it
// can be tested on its own.
#ifndef CORVANE_PLATFORM_WIN32_WINDOWS_PATH_H
#define CORVANE_PLATFORM_WIN32_WINDOWS_PATH_H

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace corvane {

// Drive ("C:" when the path starts with a letter and a colon), directory (up
// to and including the last backslash or slash), name and extension (the
// last dot of the last component and what follows).
PathParts splitWindowsPath(std::string_view path);

// Whether the name ends in "." followed by the extension, ignoring ASCII
// case, the way the directory search of Windows compares long names.
bool hasExtension(std::string_view name, std::string_view extension);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_WINDOWS_PATH_H

// The parts of the POSIX file system (platform/native_file_system.h) that
// its tests and the other POSIX parts use.
#ifndef CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H
#define CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/native_file_system.h"

namespace corvane {

// Whether a path written the Windows way names something on this disk:
// "\" separates like "/", a component that is not there exactly is matched
// without regard to case (installations copied from Windows have BIN and
// BCC32.EXE), and "C:" is the C drive of the Wine prefix given.
bool windowsPathExists(const std::string& path, const std::string& winePrefix);

// The names between the slashes of a path; empty ones (from "//" or a
// final "/") are no components.
std::vector<std::string> pathComponents(const std::string& path);

// Whether two names are the same without regard to case, ASCII letters only,
// the way Windows matches file names.
bool sameNameNoCase(std::string_view a, std::string_view b);

// The absolute path with every link, "." and ".." resolved; nothing when
// some part of it is not there.
std::optional<std::string> resolvedPath(const std::string& path);

// The Wine prefix of the user: $WINEPREFIX, or ~/.wine.
std::string winePrefix();

// Whether the permission bits let anyone at all write the file.
bool grantsWritePermission(mode_t mode);

// Writes the content under the name so that a failure never leaves a
// half-written file behind (see FileSystem::saveFile for the rules).
SaveResult saveFileSafely(const std::string& path, const std::string& content);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

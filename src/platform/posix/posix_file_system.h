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

// The absolute path with every link, "." and ".." resolved; nothing when
// some part of it is not there.
std::optional<std::string> resolvedPath(const std::string& path);

// The Wine prefix of the user: $WINEPREFIX, or ~/.wine.
std::string winePrefix();

// Whether the permission bits let anyone at all write the file.
bool grantsWritePermission(mode_t mode);

// The directory part of a POSIX path: "." for a bare name, "/" for a name
// in the root.
std::string directoryOf(const std::string& path);

// The file a name finally stands for: symbolic links are followed (relative
// targets are relative to the link's directory), so that a link survives a
// save and the file it points to is replaced; a dangling link gives the
// file it would point to. Nothing when a link cannot be read, the chain is
// too long, or a link is one the kernel would refuse to follow under
// fs.protected_symlinks (whatever that setting is here: the kernel never
// sees these links followed).
std::optional<std::string> followLinks(std::string path);

class SystemCalls;

// Writes the content under the name so that a failure never leaves a
// half-written file behind (see FileSystem::saveFile for the rules). The
// system calls that write go through `calls`.
SaveResult saveFileSafely(const std::string& path, const std::string& content);
SaveResult saveFileSafely(const std::string& path, const std::string& content,
                          SystemCalls& calls);

// The name of the copy of a file's old bytes that an in-place rewrite keeps
// beside it until the new bytes are on the disk: "corvane-" and eight letters
// or digits, then kCrashCopySuffix. A crash leaves it.
inline constexpr char kCrashCopySuffix[] = ".old";

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

// The parts of the POSIX file system (platform/native_file_system.h) that
// its tests and the other POSIX parts use.
#ifndef CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H
#define CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/native_file_system.h"
#include "platform/posix/descriptor.h"

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

// A name reached the way the kernel reaches it when fs.protected_symlinks
// is on, whatever that setting is here: the path is walked one part at a
// time from an open directory to the next, and every symbolic link met, in
// the directory parts as at the end, is followed only where that rule
// allows (see mayFollowLink). The directory stays open, so that what is done
// with the name afterwards happens there, whatever is renamed on the way
// meanwhile.
class ReachedName {
 public:
  // The directory the name is in, for the *at calls: the current directory
  // (AT_FDCWD) or an open descriptor (O_PATH).
  int directory() const;
  // The last part: never a link, unless one was put there since; maybe a
  // name that is not there yet.
  const std::string& name() const { return name_; }
  // The path of the name, as the user would write it (links resolved,
  // relative where the path was).
  std::string path() const { return pathIn(name_); }
  // The path of another name in the same directory.
  std::string pathIn(const std::string& name) const;

 private:
  friend std::optional<ReachedName> reachName(const std::string& path, std::string* sofar);
  Descriptor held_{-1};  // none for the current directory
  std::string directoryPath_;  // empty for the current directory
  std::string name_;
};

// Walks the path (see ReachedName). Nothing, with errno set, when a part on
// the way is missing (ENOENT) or no directory (ENOTDIR), a link may not be
// followed (EACCES, as the kernel refuses it) or the links do not end
// (ELOOP); `sofar` (if given) then holds the path as far as the walk went,
// the parts not walked after it. A dangling link at the end reaches the
// name it would create.
std::optional<ReachedName> reachName(const std::string& path, std::string* sofar = nullptr);

// Whether the kernel would follow a link with this status in the directory
// (an open descriptor) with fs.protected_symlinks on: in a directory that is
// sticky and writable by all (such as /tmp), only a link of the user's own
// or of the directory's owner, so that nobody can plant a link there that
// sends another user's writes elsewhere.
bool mayFollowLink(int directory, const struct stat& link);

class SystemCalls;

// Writes the content under the name so that a failure never leaves a
// half-written file behind (see FileSystem::saveFile and
// platform/save_policy.h for the rules). The system calls that write go
// through `calls`.
SaveOutcome saveFileSafely(const std::string& path, const std::string& content);
SaveOutcome saveFileSafely(const std::string& path, const std::string& content,
                           SystemCalls& calls);

// The name of the copy of a file's old bytes that an in-place rewrite keeps
// beside it until the new bytes are on the disk: "corvane-" and eight letters
// or digits, then kCrashCopySuffix. A crash leaves it.
inline constexpr char kCrashCopySuffix[] = ".old";

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

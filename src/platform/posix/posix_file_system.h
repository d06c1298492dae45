// The real disk on Linux and other POSIX systems.
#ifndef CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H
#define CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

#include <sys/types.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

namespace corvane {

class PosixFileSystem : public FileSystem {
 public:
  // `startedAs` is the program's first argument; empty, programPath is the
  // running file with its links resolved.
  explicit PosixFileSystem(std::string startedAs = std::string())
      : startedAs_(std::move(startedAs)) {}

  std::string currentDirectory() const override;
  std::vector<std::string> listMatching(const std::string& extension) const override;
  bool exists(const std::string& path) const override;
  bool isWritable(const std::string& path) const override;
  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override;
  SaveResult saveFile(const std::string& path, const std::string& content) override;
  std::string programPath() const override;
  PathParts splitPath(const std::string& path) const override;
  std::string windowsDirectoryName(const std::string& directory) const override;

 private:
  std::string startedAs_;
};

// Whether a path written the Windows way names something on this disk:
// "\" separates like "/", a component that is not there exactly is matched
// without regard to case (installations copied from Windows have BIN and
// BCC32.EXE), and "C:" is the C drive of the Wine prefix given.
bool windowsPathExists(const std::string& path, const std::string& winePrefix);

// Whether two names are the same without regard to case, ASCII letters only,
// the way Windows matches file names.
bool sameNameNoCase(std::string_view a, std::string_view b);

// The Wine prefix of the user: $WINEPREFIX, or ~/.wine.
std::string winePrefix();

// Whether the permission bits let anyone at all write the file.
bool grantsWritePermission(mode_t mode);

// Writes the content under the name so that a failure never leaves a
// half-written file behind (see FileSystem::saveFile for the rules).
SaveResult saveFileSafely(const std::string& path, const std::string& content);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_POSIX_FILE_SYSTEM_H

// The file system of the platform Corvane was built for: one class, whose
// members platform/posix (the disk of a POSIX system, Windows paths looked
// up through Wine's drives) and platform/win32 (the Win32 API, names in the
// ANSI code page) each implement.
#ifndef CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H
#define CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H

#include <memory>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "platform/native_file_system.h"

namespace corvane {

class NativeFileSystem : public FileSystem {
 public:
  // `startedAs` is the program's first argument, where programPath begins
  // on a POSIX system; empty, programPath is the running file with its links
  // resolved. Windows tells the running program's path itself.
  explicit NativeFileSystem(std::string startedAs = std::string())
      : startedAs_(std::move(startedAs)) {}

  std::string currentDirectory() const override;
  std::vector<std::string> listMatching(const std::string& extension) const override;
#ifndef _WIN32
  std::vector<std::vector<std::string>> listMatchingEach(
      const std::vector<std::string>& extensions) const override;
#endif
  bool exists(const std::string& path) const override;
  bool isWritable(const std::string& path) const override;
  FileContent readFile(const std::string& path, std::size_t maxBytes) const override;
  bool sameFile(const std::string& a, const std::string& b) const override;
  std::vector<std::size_t> firstSameFiles(const std::vector<std::string>& names,
                                          const std::vector<std::string>& candidates) const override;
  SaveOutcome saveFile(const std::string& path, const std::string& content) override;
  std::string programPath() const override;
  PathParts splitPath(const std::string& path) const override;
#ifndef _WIN32
  // On Windows a path is the name Windows programs know it by, and taken as
  // given: the defaults of FileSystem.
  std::string windowsDirectoryName(const std::string& directory) const override;
  std::string resolvedDirectory(const std::string& directory) const override;
  std::string finalName(const std::string& path) const override;
#endif

 private:
  std::string startedAs_;
};

// The file system of the platform Corvane was built for, for the program and
// the tests that use the real disk. `startedAs` is the first element of the
// program's argument vector, where programPath begins.
std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& startedAs = std::string());

}  // namespace corvane

#endif  // CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H

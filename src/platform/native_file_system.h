// The file system of the platform Corvane was built for: one class, whose
// members platform/posix (the disk of a POSIX system, Windows paths looked
// up through Wine's drives) and platform/win32 (the Win32 API, names in the
// ANSI code page) each implement.
#ifndef CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H
#define CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_file_system.h"

namespace corvane {

// One state of a directory: which directory it is (its volume and its file
// there) and when its entries last changed. Two equal stamps taken at
// different times mean the same entries, provided the change lay further
// back, when the first was taken, than the file system's clock can tell
// apart: two changes within one tick of it leave the same time.
struct DirectoryStamp {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  // When the entries last changed and when the stamp was taken, in ticks of
  // the system's clock.
  std::int64_t modified = 0;
  std::int64_t taken = 0;
  std::int64_t ticksPerSecond = 1;
  // Whether the file system marks a directory's time whenever an entry
  // comes, goes or is renamed.
  bool marksChanges = true;

  bool sameState(const DirectoryStamp& other) const {
    return volume == other.volume && file == other.file && modified == other.modified;
  }
  // Whether a later change would leave another time.
  bool settled() const;
};

class NativeFileSystem : public FileSystem {
 public:
  // `startedAs` is the program's first argument, where programPath begins
  // on a POSIX system; empty, programPath is the running file with its links
  // resolved. Windows tells the running program's path itself.
  explicit NativeFileSystem(std::string startedAs = std::string())
      : startedAs_(std::move(startedAs)) {}

  std::string currentDirectory() const override;
  // The current directory is read once and its names kept: a directory of
  // thousands of entries takes milliseconds to read, and the screens list
  // it at every turn. It is read again when it changed since (see
  // DirectoryStamp), and whenever its state cannot be told.
  std::vector<std::string> listMatching(const std::string& extension) const override;
  std::vector<std::vector<std::string>> listMatchingEach(
      const std::vector<std::string>& extensions) const override;
  // Which read of the directory the names kept come from; 0 when none are
  // kept or the directory changed since.
  std::uint64_t listingVersion() const override;
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
  // The names of the current directory's entries but "." and "..", read
  // again only when the directory changed since they were read.
  const std::vector<std::string>& directoryNames() const;
  // The current directory's state now; nothing when it cannot be told.
  std::optional<DirectoryStamp> directoryStamp() const;
  // The names of the current directory's entries but "." and "..".
  std::vector<std::string> readDirectory() const;

  std::string startedAs_;
  // The names last read, and the state of the directory they were read in
  // when that state can be trusted to change with them.
  mutable std::optional<DirectoryStamp> listedStamp_;
  mutable std::vector<std::string> listedNames_;
  mutable std::uint64_t reads_ = 0;
};

// The file system of the platform Corvane was built for, for the program and
// the tests that use the real disk. `startedAs` is the first element of the
// program's argument vector, where programPath begins.
std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& startedAs = std::string());

}  // namespace corvane

#endif  // CORVANE_PLATFORM_NATIVE_FILE_SYSTEM_H

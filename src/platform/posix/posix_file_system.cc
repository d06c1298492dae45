#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include "platform/posix/descriptor.h"
#include "platform/posix/program_path.h"
#include "platform/posix/wine_drives.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

FileContent readFailure(int error) { return {ReadStatus::kFailed, {}, std::strerror(error)}; }

bool sameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file's name in the directory a path names it in.
std::string_view lastPart(std::string_view path) { return path.substr(path.rfind('/') + 1); }

// The directory a path names its file in, and the file's name there.
std::pair<std::string, std::string> directoryAndName(const std::string& path) {
  return {directoryOf(path), std::string(lastPart(path))};
}

// What stat found of a name: whether it is there, and which file it is.
struct LookedUp {
  bool there = false;
  struct stat status {};
};

LookedUp lookUp(const std::string& path) {
  LookedUp found;
  found.there = ::stat(path.c_str(), &found.status) == 0;
  return found;
}

// Whether two different names, looked up already, name one file. Saves
// write through links, so the files the links lead to are compared.
bool sameFileFound(const std::string& a, const LookedUp& first, const std::string& b,
                   const LookedUp& second) {
  if (first.there || second.there)
    return first.there && second.there && sameInode(first.status, second.status);
  // Neither is there yet: the first save would make the file the second
  // replaces when both name it in the same directory.
  const auto [firstDirectory, firstName] = directoryAndName(a);
  const auto [secondDirectory, secondName] = directoryAndName(b);
  if (firstName.empty() || firstName != secondName) return false;
  const LookedUp firstPlace = lookUp(firstDirectory);
  const LookedUp secondPlace = lookUp(secondDirectory);
  return firstPlace.there && secondPlace.there && sameInode(firstPlace.status, secondPlace.status);
}

}  // namespace

std::string NativeFileSystem::currentDirectory() const {
  std::string buffer(256, '\0');
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

std::optional<DirectoryStamp> NativeFileSystem::directoryStamp() const {
  struct stat status {};
  timespec now {};
  if (::stat(".", &status) != 0 || ::clock_gettime(CLOCK_REALTIME, &now) != 0) return std::nullopt;
  constexpr std::int64_t kNsPerSecond = 1000000000;
  const auto ticks = [](const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNsPerSecond + time.tv_nsec;
  };
  DirectoryStamp stamp;
  stamp.volume = static_cast<std::uint64_t>(status.st_dev);
  stamp.file = static_cast<std::uint64_t>(status.st_ino);
  stamp.modified = ticks(status.st_mtim);
  stamp.taken = ticks(now);
  stamp.ticksPerSecond = kNsPerSecond;
  return stamp;
}

std::vector<std::string> NativeFileSystem::readDirectory() const {
  std::vector<std::string> names;
  DIR* directory = ::opendir(".");
  if (directory == nullptr) return names;
  while (const dirent* entry = ::readdir(directory)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(directory);
  return names;
}

bool NativeFileSystem::exists(const std::string& path) const {
  return windowsPathExists(path, winePrefix());
}

bool NativeFileSystem::isWritable(const std::string& path) const {
  // access() answers yes to the administrator for any file; a file that
  // grants nobody write permission is meant to stay as it is.
  struct stat status {};
  return !path.empty() && ::stat(path.c_str(), &status) == 0 &&
         grantsWritePermission(status.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

FileContent NativeFileSystem::readFile(const std::string& path, std::size_t maxBytes) const {
  // Only regular files are read: a FIFO named x.cpp would block the open or
  // the read forever, and a device such as /dev/zero would never end.
  // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer. A
  // plain name that is no link (a source of the directory) is opened at
  // once; any other path is walked part by part.
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW;
  Descriptor file(path.find('/') == std::string::npos ? ::open(path.c_str(), kFlags) : -1);
  if (!file.valid() && (path.find('/') != std::string::npos || errno == ELOOP)) {
    const std::optional<ReachedName> reached = reachName(path);
    if (reached) file = Descriptor(::openat(reached->directory(), reached->name().c_str(), kFlags));
  }
  if (!file.valid()) {
    // A missing directory on the way means as little a file as a missing
    // file; every other refusal (no permission, an I/O error, a link that
    // may not be followed) is a failure.
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return readFailure(errno);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return readFailure(errno);
  if (S_ISDIR(status.st_mode)) return readFailure(EISDIR);
  if (!S_ISREG(status.st_mode)) return {ReadStatus::kNotPlainFile, {}, {}};
  // The size a file claims is only a hint, and a bad one at that: files
  // under /proc claim 0 and never end, a sparse file claims terabytes. The
  // hint may reserve memory up to the bound; beyond it nothing is read.
  FileContent read{ReadStatus::kRead, {}, {}};
  std::string& content = read.bytes;
  if (status.st_size > 0) {
    content.reserve(std::min(static_cast<std::size_t>(status.st_size), maxBytes));
  }
  char piece[64 * 1024];
  while (content.size() < maxBytes) {
    const ssize_t got =
        ::read(file.get(), piece, std::min(sizeof piece, maxBytes - content.size()));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return readFailure(errno);
    }
    content.append(piece, static_cast<std::size_t>(got));
  }
  return read;
}

bool NativeFileSystem::sameFile(const std::string& a, const std::string& b) const {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  return sameFileFound(a, lookUp(a), b, lookUp(b));
}

// A name accepted on the main screen is checked against every source of the
// directory: 20,000 sources are at most 20,000 lookups, not two for each pair.
std::vector<std::size_t> NativeFileSystem::firstSameFiles(
    const std::vector<std::string>& names, const std::vector<std::string>& candidates) const {
  std::vector<std::size_t> first(names.size(), candidates.size());
  std::vector<LookedUp> found;
  for (const std::string& name : names) found.push_back(lookUp(name));
  for (std::size_t c = 0; c < candidates.size(); ++c) {
    const std::string& candidate = candidates[c];
    std::optional<LookedUp> candidateFound;  // only when a name differs from it
    for (std::size_t n = 0; n < names.size(); ++n) {
      const std::string& name = names[n];
      if (first[n] != candidates.size() || name.empty() || candidate.empty()) continue;
      if (name != candidate) {
        // A name not there yet names the same file only as another name not
        // there, by the same last part: most candidates need no lookup.
        if (!found[n].there && lastPart(name) != lastPart(candidate)) continue;
        if (!candidateFound) candidateFound = lookUp(candidate);
        if (!sameFileFound(name, found[n], candidate, *candidateFound)) continue;
      }
      first[n] = c;
    }
  }
  return first;
}

SaveOutcome NativeFileSystem::saveFile(const std::string& path, const std::string& content) {
  return saveFileSafely(path, content);
}

std::string NativeFileSystem::programPath() const {
  return programPathOf(startedAs_, std::getenv("PATH"), currentDirectory());
}

std::optional<std::string> resolvedPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return std::nullopt;
  std::string result = real;
  std::free(real);
  return result;
}

std::string NativeFileSystem::resolvedDirectory(const std::string& directory) const {
  return resolvedPath(directory).value_or(directory);
}

std::string NativeFileSystem::windowsDirectoryName(const std::string& directory) const {
  // A path with a drive letter is a Windows name already (exists() looks it
  // up in the Wine prefix).
  if (hasDriveLetter(directory)) return directory;
  // "\\" separates as it does for exists(), unless the name is there as
  // it is.
  std::string path = directory;
  if (!resolvedPath(path)) std::replace(path.begin(), path.end(), '\\', '/');
  return wineDirectoryName(path, winePrefix());
}

// "\\" separates here too: the program's path and the directories that the
// Borland tools' names lead to may be written the Windows way.
PathParts NativeFileSystem::splitPath(const std::string& path) const {
  return splitPathName(path, false);
}

}  // namespace corvane

// Saving a file so that nothing the user had is ever lost.
//
// The usual way is a temporary file beside the old one, written and flushed
// and then renamed over it, so that a crash or a full disk at any moment
// leaves either the old or the new content. A rename makes a new file,
// though, and that is only right when the new file can be everything the
// old one was: the same owner, group and mode (set-id bits included), the
// only name of its content (another hard link would keep the old content),
// in a directory that lets us make and rename files. Where that does not
// hold, the file is rewritten in place, its old first bytes kept in memory
// and put back if the write fails. Devices and pipes are written to like any
// program writes to them; they are never replaced by a plain file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <random>

#include "platform/posix/descriptor.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/save_signal_guard.h"

namespace corvane {

namespace {

constexpr mode_t kModeBits = 07777;

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a name finally stands for: symbolic links are followed (relative
// targets are relative to the link's directory) so that the link itself
// survives and the file it points to is replaced. A dangling link gives the
// file it would point to.
std::string followLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return path;
    target.resize(static_cast<std::size_t>(length));
    path = (!target.empty() && target[0] == '/') ? target : directoryOf(path) + "/" + target;
  }
  return path;
}

bool writeContent(int fd, const std::string& content) {
  return writeAll(fd, content.data(), content.size());
}

bool readStart(int fd, std::string& bytes) {
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::pread(fd, &bytes[filled], bytes.size() - filled,
                                static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

// A new file in the directory, with a short name of its own so that it fits
// whatever the length of the name it stands in for. The mode 0666 lets the
// umask decide the bits of a file that did not exist before.
int createTemporary(const std::string& directory, std::string& name) {
  static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = directory + "/corvane-";
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    name += ".tmp";
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the new name itself durable; a failure here loses nothing already
// written, so it is not reported.
void syncDirectory(const std::string& directory) {
  Descriptor handle(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.valid()) ::fsync(handle.get());
}

// Writes the content to a temporary file and renames it to the target. With
// `old` given (the target exists), nothing when the result would not be
// everything the old file was: the caller then rewrites it in place.
std::optional<SaveResult> writeAndRename(const std::string& target, const struct stat* old,
                                         const std::string& content, SaveSignalGuard& guard) {
  const std::string directory = directoryOf(target);
  std::string temporary;
  int created = -1;
  {
    HeldSignals held;
    created = createTemporary(directory, temporary);
    if (created >= 0) guard.removeOnSignal(temporary);
  }
  Descriptor file(created);
  if (!file.valid()) {
    if (old != nullptr) return std::nullopt;  // a directory that allows no new file
    return SaveResult::kCannotOpen;
  }
  auto giveUp = [&](std::optional<SaveResult> result) {
    file.close();
    ::unlink(temporary.c_str());
    guard.clear();
    return result;
  };

  struct stat made {};
  if (::fstat(file.get(), &made) != 0) return giveUp(SaveResult::kCannotWrite);
  // An owner or group that only the administrator could give.
  if (old != nullptr && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
      ::fchown(file.get(), old->st_uid, old->st_gid) != 0) {
    return giveUp(std::nullopt);
  }
  if (!writeContent(file.get(), content)) return giveUp(SaveResult::kCannotWrite);
  // The mode after the write, which clears set-id bits; the system may also
  // drop a set-group-id bit without a word, hence the check.
  if (old != nullptr && (::fchmod(file.get(), old->st_mode & kModeBits) != 0 ||
                         ::fstat(file.get(), &made) != 0 ||
                         (made.st_mode & kModeBits) != (old->st_mode & kModeBits))) {
    return giveUp(std::nullopt);
  }
  if (::fsync(file.get()) != 0 || !file.close()) return giveUp(SaveResult::kCannotWrite);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    // Refused (a sticky directory, say): the in-place way remains for an
    // existing file.
    return giveUp(old != nullptr ? std::nullopt
                                 : std::optional<SaveResult>(SaveResult::kCannotOpen));
  }
  guard.clear();
  syncDirectory(directory);
  return SaveResult::kSaved;
}

// Rewrites an existing file in place: the new bytes over the old ones, then
// the file cut to the new length. Only as many old bytes as the new content
// covers are ever overwritten before the end, so keeping just those is
// enough to put the file back as it was when the write fails.
SaveResult rewriteInPlace(const std::string& target, const std::string& content,
                          SaveSignalGuard& guard) {
  Descriptor file(::open(target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  struct stat before {};
  if (!file.valid() || ::fstat(file.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  const off_t newSize = static_cast<off_t>(content.size());
  std::string oldStart(std::min(static_cast<std::size_t>(before.st_size), content.size()), '\0');
  if (!readStart(file.get(), oldStart)) return SaveResult::kCannotOpen;

  guard.restoreOnSignal(file.get(), oldStart, before.st_size);
  bool good = ::lseek(file.get(), 0, SEEK_SET) == 0 && writeContent(file.get(), content);
  if (good) {
    guard.finishOnSignal(file.get(), newSize);
    good = ::ftruncate(file.get(), newSize) == 0 && ::fsync(file.get()) == 0;
  }
  if (!good) {
    guard.restoreOnSignal(file.get(), oldStart, before.st_size);
    putBackOldBytes(file.get(), oldStart.data(), oldStart.size(), before.st_size);
    ::fsync(file.get());
    guard.clear();
    return SaveResult::kCannotWrite;
  }
  guard.clear();
  // Writing clears the set-id bits of a file; its owner may set them again.
  struct stat after {};
  if (::fstat(file.get(), &after) == 0 &&
      (after.st_mode & kModeBits) != (before.st_mode & kModeBits)) {
    (void)!::fchmod(file.get(), before.st_mode & kModeBits);
  }
  return file.close() ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

// A device, a FIFO or a socket gets the bytes the way any program would
// write them: opened without creating or truncating anything. The open does
// not wait (a FIFO with no reader cannot be opened); the writes may.
SaveResult writeToSpecialFile(const std::string& target, const std::string& content) {
  Descriptor file(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0 || S_ISREG(status.st_mode) ||
      S_ISDIR(status.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return SaveResult::kCannotOpen;
  }
  const bool written = writeContent(file.get(), content);
  return file.close() && written ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

}  // namespace

bool grantsWritePermission(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

SaveResult saveFileSafely(const std::string& path, const std::string& content) {
  if (path.empty()) return SaveResult::kCannotOpen;
  const std::string target = followLinks(path);
  SaveSignalGuard guard;
  struct stat old {};
  if (::lstat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) return SaveResult::kCannotOpen;
    return *writeAndRename(target, nullptr, content, guard);
  }
  // A file that grants nobody write permission is read-only for everyone,
  // the administrator included, whom the system itself would let write.
  if (S_ISDIR(old.st_mode) || !grantsWritePermission(old.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  if (!S_ISREG(old.st_mode)) return writeToSpecialFile(target, content);

  // Whether we may write the file at all, before anything is written.
  Descriptor probe(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!probe.valid()) return SaveResult::kCannotOpen;
  probe.close();

  const bool ownFile = ::geteuid() == 0 || ::geteuid() == old.st_uid;
  if (old.st_nlink == 1 && ownFile) {
    if (std::optional<SaveResult> result = writeAndRename(target, &old, content, guard)) {
      return *result;
    }
  }
  return rewriteInPlace(target, content, guard);
}

}  // namespace corvane

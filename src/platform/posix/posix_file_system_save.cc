// Saving a file so that nothing the user had is ever lost.
//
// The usual way is a temporary file beside the old one, written and flushed
// and then renamed over it, so that a crash or a full disk at any moment
// leaves either the old or the new content. A rename makes a new file,
// though, and that is only right when the new file can be everything the
// old one was: the same owner, group and mode (set-id bits included) and
// extended attributes (POSIX ACLs among them), the only name of its content
// (another hard link would keep the old content), in a directory that lets
// us make and rename files. Where that does not hold, the file is rewritten
// in place: its old bytes are kept in memory and put back if the write
// fails, and a copy of them waits on the disk beside it until the new bytes
// are there too, for a crash that no put-back can undo. Devices and pipes
// are written to like any program writes to them; they are never replaced
// by a plain file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <vector>

#include "platform/posix/descriptor.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/save_signal_guard.h"
#include "platform/posix/system_calls.h"

namespace corvane {

namespace {

constexpr mode_t kModeBits = 07777;

// The most old bytes an in-place rewrite keeps in memory to put back. The
// project files Corvane loads are at most 16 MiB and its makefiles far
// smaller; a larger file is no file of ours to rewrite without a rename.
constexpr off_t kMostOldBytes = off_t{64} << 20;

// What a save through a temporary file came to.
enum class ThroughTemporary {
  kSaved,        // the new content has the name
  kCannotWrite,  // the content could not be written; nothing changed
  kRefused,      // the new file could not take the name as everything the old
                 // one was (no new file allowed in the directory, an owner,
                 // mode or attribute it cannot have, the rename refused);
                 // nothing changed
};

// What a save through a temporary file that was not refused reports.
SaveResult resultOf(ThroughTemporary outcome) {
  return outcome == ThroughTemporary::kSaved ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

// A new file in the directory, private to its maker, with a short name of
// its own so that it fits whatever the length of the name it stands beside.
// errno tells why there is none.
int createBeside(SystemCalls& calls, const std::string& directory, const char* suffix,
                 std::string& name) {
  static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = directory + "/corvane-";
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    name += suffix;
    const int fd = calls.open(
        name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes new names in the directory durable; a failure here loses nothing
// already written, so it is not reported.
void syncDirectory(SystemCalls& calls, const std::string& directory) {
  Descriptor handle(calls.open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC), &calls);
  if (handle.valid()) calls.sync(handle.get());
}

std::vector<std::string> namesIn(const std::string& list) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    const std::size_t end = std::min(list.find('\0', at), list.size());
    if (end > at) names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// Gives the new file exactly the extended attributes of the old one: those
// it lacks or has with another value are set, those it has beyond them (a
// directory's default ACL gives new files one) removed. False when any
// cannot be, for want of the privilege, say.
bool copyAttributes(SystemCalls& calls, const std::string& from, int to) {
  const std::optional<std::string> oldList = calls.attributeNames(from);
  const std::optional<std::string> newList = calls.attributeNames(to);
  if (!oldList || !newList) return false;
  const std::vector<std::string> oldNames = namesIn(*oldList);
  for (const std::string& name : oldNames) {
    const std::optional<std::string> value = calls.attribute(from, name);
    if (!value) return false;
    if (calls.attribute(to, name) != value && calls.setAttribute(to, name, *value) != 0) {
      return false;
    }
  }
  for (const std::string& name : namesIn(*newList)) {
    if (std::find(oldNames.begin(), oldNames.end(), name) == oldNames.end() &&
        calls.removeAttribute(to, name) != 0) {
      return false;
    }
  }
  return true;
}

// The permission bits that a file made in the directory with mode 0666
// gets: what the umask leaves, or, where the directory has a default ACL,
// what its owner, mask (or group) and other entries allow, as the system
// would give them. The temporary file is made private and gets these bits
// once its content is complete. Nothing when the directory's default ACL
// cannot be read: any guess might open the file to others.
std::optional<mode_t> newFileMode(SystemCalls& calls, const std::string& directory) {
  constexpr mode_t kRequested = 0666;
  const std::optional<std::string> acl = calls.attribute(directory, "system.posix_acl_default");
  if (!acl && errno != ENODATA && errno != ENOTSUP) return std::nullopt;
  if (acl && acl->size() >= 4) {
    // A version word, then entries of a 16-bit tag, 16-bit permissions and a
    // 32-bit id, little-endian.
    mode_t owner = 0, group = 0, mask = 0, other = 0;
    bool masked = false;
    const auto word = [&acl](std::size_t at) {
      return static_cast<mode_t>(static_cast<unsigned char>((*acl)[at]) |
                                 static_cast<unsigned char>((*acl)[at + 1]) << 8);
    };
    for (std::size_t at = 4; at + 8 <= acl->size(); at += 8) {
      const mode_t permissions = word(at + 2) & 07;
      switch (word(at)) {
        case 0x01: owner = permissions; break;
        case 0x04: group = permissions; break;
        case 0x10: mask = permissions; masked = true; break;
        case 0x20: other = permissions; break;
        default: break;
      }
    }
    return kRequested & ((owner << 6) | ((masked ? mask : group) << 3) | other);
  }
  const mode_t umask = ::umask(0);
  ::umask(umask);
  return kRequested & ~umask;
}

// Writes the content to a temporary file and renames it to the target.
// With `old` given (the target exists), the new file gets its owner, group,
// mode and extended attributes first.
ThroughTemporary writeAndRename(SystemCalls& calls, const std::string& target,
                                const struct stat* old, const std::string& content,
                                SaveSignalGuard& guard) {
  const std::string directory = directoryOf(target);
  std::string temporary;
  int created = -1;
  {
    HeldSignals held;
    created = createBeside(calls, directory, ".tmp", temporary);
    if (created >= 0) guard.removeOnSignal(temporary);
  }
  Descriptor file(created, &calls);
  if (!file.valid()) return ThroughTemporary::kRefused;
  auto giveUp = [&](ThroughTemporary result) {
    file.close();
    ::unlink(temporary.c_str());
    guard.clear();
    return result;
  };

  const std::optional<mode_t> mode =
      old != nullptr ? old->st_mode & kModeBits : newFileMode(calls, directory);
  if (!mode) return giveUp(ThroughTemporary::kRefused);
  struct stat made {};
  if (::fstat(file.get(), &made) != 0) return giveUp(ThroughTemporary::kCannotWrite);
  // An owner or group that only the administrator could give.
  if (old != nullptr && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
      calls.changeOwner(file.get(), old->st_uid, old->st_gid) != 0) {
    return giveUp(ThroughTemporary::kRefused);
  }
  if (!calls.writeAll(file.get(), content)) return giveUp(ThroughTemporary::kCannotWrite);
  if (old != nullptr && !copyAttributes(calls, target, file.get())) {
    return giveUp(ThroughTemporary::kRefused);
  }
  // The mode last: a write clears set-id bits, and an ACL sets the group
  // bits. The system may also drop a set-group-id bit without a word,
  // hence the check.
  if (calls.changeMode(file.get(), *mode) != 0 || ::fstat(file.get(), &made) != 0 ||
      (made.st_mode & kModeBits) != *mode) {
    return giveUp(ThroughTemporary::kRefused);
  }
  if (calls.sync(file.get()) != 0 || !file.close()) {
    return giveUp(ThroughTemporary::kCannotWrite);
  }
  if (calls.rename(temporary, target) != 0) return giveUp(ThroughTemporary::kRefused);
  guard.clear();
  syncDirectory(calls, directory);
  return ThroughTemporary::kSaved;
}

bool readWhole(SystemCalls& calls, int fd, std::string& bytes) {
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = calls.readAt(fd, &bytes[filled], bytes.size() - filled,
                                     static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

// Before a file is rewritten in place, a copy of its old bytes beside it,
// on the disk, so that a crash part way, which nothing can put back, leaves
// them to the user. `name` is the copy's, or empty where the directory
// allows no new file: such a rewrite cannot survive a crash. False when the
// copy could not be made whole (nothing is left of it then).
bool makeCrashCopy(SystemCalls& calls, const std::string& directory, const std::string& old,
                   SaveSignalGuard& guard, std::string& name) {
  int created = -1;
  int error = 0;
  {
    HeldSignals held;
    created = createBeside(calls, directory, kCrashCopySuffix, name);
    error = errno;
    if (created >= 0) guard.removeOnSignal(name);
  }
  if (created < 0) {
    name.clear();
    return error == EACCES || error == EPERM || error == EROFS;
  }
  Descriptor copy(created, &calls);
  if (calls.writeAll(copy.get(), old) && calls.sync(copy.get()) == 0 && copy.close()) {
    syncDirectory(calls, directory);
    return true;
  }
  copy.close();
  ::unlink(name.c_str());
  guard.clear();
  name.clear();
  return false;
}

// Puts the old bytes back where the new ones went and flushes them: whether
// the file is exactly as it was, on the disk.
bool putBack(SystemCalls& calls, int fd, const std::string& old) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && calls.writeAll(fd, old) &&
         calls.cut(fd, static_cast<off_t>(old.size())) == 0 && calls.sync(fd) == 0;
}

// Rewrites an existing file in place: the new bytes over the old ones, then
// the file cut to the new length and flushed. Until that is done, all the
// old bytes are kept to be put back, in memory and, where the directory
// allows, in a copy on the disk that is removed once the new bytes are
// there. A failing close after a good flush loses nothing and is no failure.
SaveResult rewriteInPlace(SystemCalls& calls, const std::string& target,
                          const std::string& content, SaveSignalGuard& guard) {
  Descriptor file(
      calls.open(target, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW), &calls);
  struct stat before {};
  if (!file.valid() || ::fstat(file.get(), &before) != 0 || !S_ISREG(before.st_mode) ||
      before.st_size > kMostOldBytes) {
    return SaveResult::kCannotOpen;
  }
  std::string old(static_cast<std::size_t>(before.st_size), '\0');
  if (!readWhole(calls, file.get(), old)) return SaveResult::kCannotOpen;
  std::string copy;
  if (!makeCrashCopy(calls, directoryOf(target), old, guard, copy)) {
    return SaveResult::kCannotWrite;
  }
  const char* copyName = copy.empty() ? nullptr : copy.c_str();
  const auto dropCopy = [&copy] {
    if (!copy.empty()) ::unlink(copy.c_str());
  };

  guard.restoreOnSignal(file.get(), old, before.st_size, copyName);
  const off_t newSize = static_cast<off_t>(content.size());
  bool good = ::lseek(file.get(), 0, SEEK_SET) == 0 && calls.writeAll(file.get(), content);
  if (good) {
    guard.finishOnSignal(file.get(), newSize, copyName);
    good = calls.cut(file.get(), newSize) == 0 && calls.sync(file.get()) == 0;
  }
  if (!good) {
    guard.restoreOnSignal(file.get(), old, before.st_size, copyName);
    const bool restored = putBack(calls, file.get(), old);
    guard.clear();
    if (!restored) return SaveResult::kDamaged;  // the copy stays
    dropCopy();
    return SaveResult::kCannotWrite;
  }
  guard.clear();
  // Writing clears the set-id bits of a file; its owner may set them again.
  struct stat after {};
  if (::fstat(file.get(), &after) == 0 &&
      (after.st_mode & kModeBits) != (before.st_mode & kModeBits)) {
    (void)calls.changeMode(file.get(), before.st_mode & kModeBits);
  }
  file.close();
  dropCopy();
  return SaveResult::kSaved;
}

// A device, a FIFO or a socket gets the bytes the way any program would
// write them: opened without creating or truncating anything. The open does
// not wait (a FIFO with no reader cannot be opened); the writes may.
SaveResult writeToSpecialFile(SystemCalls& calls, const std::string& target,
                              const std::string& content) {
  Descriptor file(calls.open(target, O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW),
                  &calls);
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0 || S_ISREG(status.st_mode) ||
      S_ISDIR(status.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return SaveResult::kCannotOpen;
  }
  const bool written = calls.writeAll(file.get(), content);
  return file.close() && written ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

}  // namespace

bool grantsWritePermission(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

SaveResult saveFileSafely(const std::string& path, const std::string& content) {
  SystemCalls calls;
  return saveFileSafely(path, content, calls);
}

SaveResult saveFileSafely(const std::string& path, const std::string& content,
                          SystemCalls& calls) {
  if (path.empty()) return SaveResult::kCannotOpen;
  const std::optional<std::string> followed = followLinks(path);
  if (!followed) return SaveResult::kCannotOpen;
  const std::string& target = *followed;
  SaveSignalGuard guard;
  struct stat old {};
  if (::lstat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) return SaveResult::kCannotOpen;
    const ThroughTemporary outcome = writeAndRename(calls, target, nullptr, content, guard);
    if (outcome != ThroughTemporary::kRefused) return resultOf(outcome);
    return SaveResult::kCannotOpen;
  }
  // A file that grants nobody write permission is read-only for everyone,
  // the administrator included, whom the system itself would let write.
  if (S_ISDIR(old.st_mode) || !grantsWritePermission(old.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  if (!S_ISREG(old.st_mode)) return writeToSpecialFile(calls, target, content);

  // Whether we may write the file at all, before anything is written.
  Descriptor probe(
      calls.open(target, O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW), &calls);
  if (!probe.valid()) return SaveResult::kCannotOpen;
  probe.close();

  const bool ownFile = ::geteuid() == 0 || ::geteuid() == old.st_uid;
  if (old.st_nlink == 1 && ownFile) {
    const ThroughTemporary outcome = writeAndRename(calls, target, &old, content, guard);
    if (outcome != ThroughTemporary::kRefused) return resultOf(outcome);
  }
  return rewriteInPlace(calls, target, content, guard);
}

}  // namespace corvane

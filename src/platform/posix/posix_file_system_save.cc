// The steps of a save (platform/save_policy.h) on a POSIX system. The name
// is reached part by part (reachName) and everything after happens in the
// directory it was reached in, through the *at calls: a link planted on the
// way after the walk cannot send the save elsewhere. A rename keeps the old
// file's owner, group, mode (set-id bits included), extended attributes
// (POSIX ACLs among them) and inode flags (chattr's), or is not made.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <random>
#include <vector>

#include "platform/posix/descriptor.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/save_signal_guard.h"
#include "platform/posix/system_calls.h"
#include "platform/save_policy.h"

namespace corvane {

namespace {

constexpr mode_t kModeBits = 07777;
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;

// The most old bytes an in-place rewrite keeps in memory to put back. The
// project files Corvane loads are at most 16 MiB and its makefiles far
// smaller; a larger file is no file of ours to rewrite without a rename.
constexpr off_t kMostOldBytes = off_t{64} << 20;

// The inode flags that a new file gets from its directory or not at all, and
// that its owner may set: a rename would drop or add them. Append-only and
// immutable files cannot be opened for writing, so they never get here.
constexpr unsigned kCarriedFlags = FS_SECRM_FL | FS_UNRM_FL | FS_COMPR_FL | FS_SYNC_FL |
                                   FS_NODUMP_FL | FS_NOATIME_FL | FS_JOURNAL_DATA_FL |
                                   FS_NOTAIL_FL | FS_NOCOMP_FL | FS_NOCOW_FL;

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
bool copyAttributes(SystemCalls& calls, int from, int to) {
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

// Gives the new file the old one's inode flags (see kCarriedFlags), keeping
// those of its own that no one sets (ext4's extents, say). False when they
// cannot be read or set: a file with +d or +A must not lose them.
bool copyInodeFlags(SystemCalls& calls, int from, int to) {
  const std::optional<unsigned> old = calls.inodeFlags(from);
  const std::optional<unsigned> made = calls.inodeFlags(to);
  if (!old || !made) return false;
  if ((*old & kCarriedFlags) == (*made & kCarriedFlags)) return true;
  if (calls.setInodeFlags(to, (*made & ~kCarriedFlags) | (*old & kCarriedFlags)) != 0) {
    return false;
  }
  const std::optional<unsigned> now = calls.inodeFlags(to);
  return now && (*now & kCarriedFlags) == (*old & kCarriedFlags);
}

// The permission bits that a file made in a directory with mode 0666 gets,
// given the directory's default ACL (if it has one): what its owner, mask
// (or group) and other entries allow, as the system would give them; else
// what the umask leaves. Nothing when the ACL cannot be read: any guess
// might open the file to others.
std::optional<mode_t> newFileMode(const std::optional<std::string>& acl, int error) {
  constexpr mode_t kRequested = 0666;
  if (!acl && error != ENODATA && error != ENOTSUP) return std::nullopt;
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

bool sameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class PosixSaveSteps : public SaveSteps {
 public:
  PosixSaveSteps(std::string path, SystemCalls& calls) : calls_(calls), path_(std::move(path)) {}

  SaveTarget examine() override;
  Made create(File file) override;
  std::string name(File file) const override {
    return file == File::kTarget ? place_->path() : place_->pathIn(names_[index(file)]);
  }
  bool openTarget(std::string& old) override;
  bool prepare(bool replacing) override;
  bool complete(bool replacing) override;
  bool write(File file, std::string_view bytes) override {
    return ::lseek(fd(file), 0, SEEK_SET) == 0 && calls_.writeAll(fd(file), bytes);
  }
  bool cut(std::uint64_t size) override {
    return calls_.cut(fd(File::kTarget), static_cast<off_t>(size)) == 0;
  }
  bool flush(File file) override { return calls_.sync(fd(file)) == 0; }
  bool close(File file) override { return files_[index(file)].close(); }
  bool replace(bool) override {
    return calls_.rename(place_->directory(), names_[index(File::kTemporary)],
                         place_->name()) == 0;
  }
  bool remove(File file) override;
  void syncDirectory() override;
  void afterRewrite() override;
  SaveResult writeToSpecial(std::string_view content) override;

  void onSignalRestore(const std::string& old) override {
    guard_.restoreOnSignal(fd(File::kTarget), old, static_cast<off_t>(old.size()),
                           place_->directory(), copyName());
  }
  void onSignalFinish(std::uint64_t newSize) override {
    guard_.finishOnSignal(fd(File::kTarget), static_cast<off_t>(newSize), place_->directory(),
                          copyName());
  }
  void onSignalRemove(File file) override {
    guard_.removeOnSignal(place_->directory(), names_[index(file)], file == File::kTemporary);
  }
  void onSignalNothing() override { guard_.clear(); }

 private:
  static std::size_t index(File file) { return static_cast<std::size_t>(file); }
  int fd(File file) const { return files_[index(file)].get(); }
  const char* copyName() const {
    const std::string& copy = names_[index(File::kCopy)];
    return copy.empty() ? nullptr : copy.c_str();
  }
  // The directory opened for reading (fsync, its default ACL), where it may
  // be; -1 where it may not.
  int readableDirectory();

  SystemCalls& calls_;
  std::string path_;
  std::optional<ReachedName> place_;
  SaveSignalGuard guard_;
  struct stat old_ {};
  // The old file, opened for writing when examined: whether we may write it
  // at all, and where its attributes and flags are read.
  Descriptor probe_{-1};
  std::array<Descriptor, 3> files_{Descriptor(-1, &calls_), Descriptor(-1, &calls_),
                                   Descriptor(-1, &calls_)};
  std::array<std::string, 3> names_;  // of the made files, in the directory
  std::optional<Descriptor> readable_;
  mode_t mode_ = 0;  // the mode the temporary file gets once complete
};

SaveTarget PosixSaveSteps::examine() {
  place_ = reachName(path_);
  if (!place_) return SaveTarget::kCannotOpen;
  if (::fstatat(place_->directory(), place_->name().c_str(), &old_, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? SaveTarget::kAbsent : SaveTarget::kCannotOpen;
  }
  // A file that grants nobody write permission is read-only for everyone,
  // the administrator included, whom the system itself would let write. A
  // link here was put there since the walk.
  if (S_ISDIR(old_.st_mode) || S_ISLNK(old_.st_mode) || !grantsWritePermission(old_.st_mode)) {
    return SaveTarget::kCannotOpen;
  }
  if (!S_ISREG(old_.st_mode)) return SaveTarget::kSpecial;
  // Whether we may write the file at all, before anything is written.
  probe_ = Descriptor(calls_.open(place_->directory(), place_->name(),
                                  O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW),
                      &calls_);
  struct stat opened {};
  if (!probe_.valid() || ::fstat(probe_.get(), &opened) != 0 || !sameInode(opened, old_)) {
    return SaveTarget::kCannotOpen;
  }
  const bool ownFile = ::geteuid() == 0 || ::geteuid() == old_.st_uid;
  return old_.st_nlink == 1 && ownFile ? SaveTarget::kReplaceable : SaveTarget::kInPlaceOnly;
}

// A new file in the directory, private to its maker, with a short name of
// its own so that it fits whatever the length of the name it stands beside.
// It is made while the ending signals are held, so that none can come
// between its making and the guard learning of it.
Made PosixSaveSteps::create(File file) {
  static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  std::string& name = names_[index(file)];
  HeldSignals held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = "corvane-";
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    name += file == File::kTemporary ? ".tmp" : kCrashCopySuffix;
    const int fd = calls_.open(place_->directory(), name,
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW,
                               kPrivate);
    if (fd >= 0) {
      files_[index(file)] = Descriptor(fd, &calls_);
      onSignalRemove(file);
      return Made::kMade;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  return error == EACCES || error == EPERM || error == EROFS ? Made::kRefused : Made::kFailed;
}

bool PosixSaveSteps::openTarget(std::string& old) {
  Descriptor& file = files_[index(File::kTarget)];
  file = Descriptor(calls_.open(place_->directory(), place_->name(),
                                O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW),
                    &calls_);
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_size > kMostOldBytes) {
    return false;
  }
  old_ = status;
  old.assign(static_cast<std::size_t>(status.st_size), '\0');
  return readWhole(calls_, file.get(), old);
}

int PosixSaveSteps::readableDirectory() {
  if (!readable_) {
    readable_.emplace(calls_.open(place_->directory(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC),
                      &calls_);
  }
  return readable_->get();
}

// The new file's mode is known first; its owner and group (which only the
// administrator can give, and which clear set-id bits) and its inode flags
// are given before any byte is written.
bool PosixSaveSteps::prepare(bool replacing) {
  const int temporary = fd(File::kTemporary);
  if (replacing) {
    mode_ = old_.st_mode & kModeBits;
  } else {
    // The directory's default ACL, through the directory opened for reading
    // or, where it may not be read, through a name of it.
    constexpr char kDefaultAcl[] = "system.posix_acl_default";
    const int directory = readableDirectory();
    const std::string name = place_->directory() == AT_FDCWD
                                 ? std::string(".")
                                 : "/proc/self/fd/" + std::to_string(place_->directory());
    const std::optional<std::string> acl = directory >= 0
                                               ? calls_.attribute(directory, kDefaultAcl)
                                               : calls_.attribute(name, kDefaultAcl);
    const std::optional<mode_t> mode = newFileMode(acl, errno);
    if (!mode) return false;
    mode_ = *mode;
    return true;
  }
  struct stat made {};
  if (::fstat(temporary, &made) != 0) return false;
  if ((made.st_uid != old_.st_uid || made.st_gid != old_.st_gid) &&
      calls_.changeOwner(temporary, old_.st_uid, old_.st_gid) != 0) {
    return false;
  }
  return copyInodeFlags(calls_, probe_.get(), temporary);
}

// The mode last: a write clears set-id bits, and an ACL sets the group bits.
// The system may also drop a set-group-id bit without a word, hence the
// check.
bool PosixSaveSteps::complete(bool replacing) {
  const int temporary = fd(File::kTemporary);
  if (replacing && !copyAttributes(calls_, probe_.get(), temporary)) return false;
  struct stat made {};
  return calls_.changeMode(temporary, mode_) == 0 && ::fstat(temporary, &made) == 0 &&
         (made.st_mode & kModeBits) == mode_;
}

// A file that cannot be removed (the directory is append-only, say) stays
// private as it was made; a temporary file, which may have been given the
// mode of the saved file, is made private again and emptied: nothing of the
// new content stays where others could read it.
bool PosixSaveSteps::remove(File file) {
  Descriptor& open = files_[index(file)];
  const std::string& name = names_[index(file)];
  const bool removed = calls_.remove(place_->directory(), name) == 0;
  if (!removed && file == File::kTemporary) {
    if (!open.valid()) {
      open = Descriptor(calls_.open(place_->directory(), name,
                                    O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC),
                        &calls_);
    }
    (void)calls_.changeMode(open.get(), kPrivate);
    (void)calls_.cut(open.get(), 0);
  }
  open.close();
  return removed;
}

// Makes new names in the directory durable; a failure here loses nothing
// already written, so it is not reported.
void PosixSaveSteps::syncDirectory() {
  const int directory = readableDirectory();
  if (directory >= 0) calls_.sync(directory);
}

// Writing clears the set-id bits of a file; its owner may set them again.
void PosixSaveSteps::afterRewrite() {
  struct stat after {};
  const int target = fd(File::kTarget);
  if (::fstat(target, &after) == 0 && (after.st_mode & kModeBits) != (old_.st_mode & kModeBits)) {
    (void)calls_.changeMode(target, old_.st_mode & kModeBits);
  }
}

// A device, a FIFO or a socket gets the bytes the way any program would
// write them: opened without creating or truncating anything. The open does
// not wait (a FIFO with no reader cannot be opened); the writes may.
SaveResult PosixSaveSteps::writeToSpecial(std::string_view content) {
  Descriptor file(calls_.open(place_->directory(), place_->name(),
                              O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW),
                  &calls_);
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0 || S_ISREG(status.st_mode) ||
      S_ISDIR(status.st_mode)) {
    return SaveResult::kCannotOpen;
  }
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return SaveResult::kCannotOpen;
  }
  const bool written = calls_.writeAll(file.get(), content);
  return file.close() && written ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

}  // namespace

bool grantsWritePermission(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

SaveOutcome saveFileSafely(const std::string& path, const std::string& content) {
  SystemCalls calls;
  return saveFileSafely(path, content, calls);
}

SaveOutcome saveFileSafely(const std::string& path, const std::string& content,
                           SystemCalls& calls) {
  PosixSaveSteps steps(path, calls);
  return saveThrough(steps, content);
}

std::unique_ptr<SaveSteps> makeNativeSaveSteps(const std::string& path) {
  // The calls live as long as the steps that use them.
  struct Owning : SystemCalls, PosixSaveSteps {
    explicit Owning(const std::string& path) : PosixSaveSteps(path, *this) {}
  };
  return std::make_unique<Owning>(path);
}

}  // namespace corvane

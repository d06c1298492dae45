// The system calls that a save makes, in one place: a save is only as safe
// as its handling of every one of them failing, and a test can make any of
// them fail here the way a failing or full disk would, without privileges
// or a tracer. The real calls are made unless a subclass says otherwise.
#ifndef CORVANE_PLATFORM_POSIX_SYSTEM_CALLS_H
#define CORVANE_PLATFORM_POSIX_SYSTEM_CALLS_H

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class SystemCalls {
 public:
  // The kinds of call that can fail.
  enum class Call {
    kOpen,
    kRead,
    kWrite,
    kCut,  // ftruncate
    kSync,
    kClose,
    kRename,
    kRemove,  // unlink
    kChangeMode,
    kChangeOwner,
    kAttributes,  // listing, reading, setting or removing extended attributes
    kInodeFlags,  // reading or setting the flags chattr sets
  };

  SystemCalls() = default;
  virtual ~SystemCalls() = default;
  SystemCalls(const SystemCalls&) = delete;
  SystemCalls& operator=(const SystemCalls&) = delete;

  // Each as the system call of that name, errno included; names are of
  // files in the directory given as an open descriptor (or AT_FDCWD).
  int open(int directory, const std::string& name, int flags, mode_t mode = 0);
  ssize_t readAt(int fd, char* bytes, std::size_t count, off_t offset);
  ssize_t write(int fd, const char* bytes, std::size_t count);
  int cut(int fd, off_t size);
  int sync(int fd);
  // Closes the descriptor whatever it reports, as close(2) does on Linux.
  int close(int fd);
  int rename(int directory, const std::string& from, const std::string& to);
  int remove(int directory, const std::string& name);
  int changeMode(int fd, mode_t mode);
  int changeOwner(int fd, uid_t owner, gid_t group);
  int setAttribute(int fd, const std::string& name, const std::string& value);
  int removeAttribute(int fd, const std::string& name);

  // The flags of a file that chattr sets (FS_IOC_GETFLAGS); none (0) where
  // the file system keeps none; nothing when they cannot be read.
  std::optional<unsigned> inodeFlags(int fd);
  int setInodeFlags(int fd, unsigned flags);

  // Every byte from the current position on, retrying short and interrupted
  // writes; false when the file takes no more.
  bool writeAll(int fd, std::string_view bytes);
  // The names of the extended attributes of an open file, each followed by
  // a NUL; empty where the file system keeps none. Nothing when they cannot
  // be listed.
  std::optional<std::string> attributeNames(int fd);
  // The value of one extended attribute of a file (by a path that may end
  // in a link, which is followed) or of an open file; nothing when the file
  // has none of that name or it cannot be read.
  std::optional<std::string> attribute(const std::string& path, const std::string& name);
  std::optional<std::string> attribute(int fd, const std::string& name);

 protected:
  // Asked before every call of the kind, with the open file it is about, or
  // the directory and the name in it: 0 makes the call, an errno value fails
  // it with that error instead.
  virtual int failure(Call /*call*/, int /*fd*/, const std::string& /*name*/) { return 0; }

 private:
  // Whether the call may go ahead; sets errno when it may not.
  bool allowed(Call call, int fd, const std::string& name = std::string());
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_SYSTEM_CALLS_H

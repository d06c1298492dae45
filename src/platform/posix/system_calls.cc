#include "platform/posix/system_calls.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/descriptor.h"

namespace corvane {

namespace {

// The attribute calls take a buffer and its size, and with a size of 0 tell
// the size needed; the content may grow in between, hence the retries.
template <typename Read>
std::optional<std::string> sizedRead(Read read) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const ssize_t size = read(nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const ssize_t got = read(bytes.data(), bytes.size());
    if (got >= 0) {
      bytes.resize(static_cast<std::size_t>(got));
      return bytes;
    }
    if (errno != ERANGE) return std::nullopt;
  }
  return std::nullopt;
}

// A file system that keeps no extended attributes has none to list.
std::optional<std::string> noneWhereUnsupported(std::optional<std::string> names) {
  if (!names && errno == ENOTSUP) return std::string();
  return names;
}

}  // namespace

bool SystemCalls::allowed(Call call, int fd, const std::string& name) {
  const int error = failure(call, fd, name);
  if (error == 0) return true;
  errno = error;
  return false;
}

int SystemCalls::open(int directory, const std::string& name, int flags, mode_t mode) {
  return allowed(Call::kOpen, directory, name) ? ::openat(directory, name.c_str(), flags, mode) : -1;
}

ssize_t SystemCalls::readAt(int fd, char* bytes, std::size_t count, off_t offset) {
  return allowed(Call::kRead, fd) ? ::pread(fd, bytes, count, offset) : -1;
}

ssize_t SystemCalls::write(int fd, const char* bytes, std::size_t count) {
  return allowed(Call::kWrite, fd) ? ::write(fd, bytes, count) : -1;
}

int SystemCalls::cut(int fd, off_t size) {
  return allowed(Call::kCut, fd) ? ::ftruncate(fd, size) : -1;
}

int SystemCalls::sync(int fd) { return allowed(Call::kSync, fd) ? ::fsync(fd) : -1; }

int SystemCalls::close(int fd) {
  const bool report = allowed(Call::kClose, fd);
  const int error = errno;
  const int closed = ::close(fd);
  if (report) return closed;
  errno = error;
  return -1;
}

int SystemCalls::rename(int directory, const std::string& from, const std::string& to) {
  return allowed(Call::kRename, directory, from) ? ::renameat(directory, from.c_str(), directory, to.c_str())
                                      : -1;
}

int SystemCalls::remove(int directory, const std::string& name) {
  return allowed(Call::kRemove, directory, name) ? ::unlinkat(directory, name.c_str(), 0) : -1;
}

int SystemCalls::changeMode(int fd, mode_t mode) {
  return allowed(Call::kChangeMode, fd) ? ::fchmod(fd, mode) : -1;
}

int SystemCalls::changeOwner(int fd, uid_t owner, gid_t group) {
  return allowed(Call::kChangeOwner, fd) ? ::fchown(fd, owner, group) : -1;
}

int SystemCalls::setAttribute(int fd, const std::string& name, const std::string& value) {
  return allowed(Call::kAttributes, fd)
             ? ::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0)
             : -1;
}

int SystemCalls::removeAttribute(int fd, const std::string& name) {
  return allowed(Call::kAttributes, fd) ? ::fremovexattr(fd, name.c_str()) : -1;
}

std::optional<unsigned> SystemCalls::inodeFlags(int fd) {
  if (!allowed(Call::kInodeFlags, fd)) return std::nullopt;
  int flags = 0;
  if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) return static_cast<unsigned>(flags);
  if (errno == ENOTTY || errno == EOPNOTSUPP) return 0u;
  return std::nullopt;
}

int SystemCalls::setInodeFlags(int fd, unsigned flags) {
  int value = static_cast<int>(flags);
  return allowed(Call::kInodeFlags, fd) ? ::ioctl(fd, FS_IOC_SETFLAGS, &value) : -1;
}

bool SystemCalls::writeAll(int fd, std::string_view bytes) {
  return writeAllWith(
      [this](int to, const char* from, std::size_t count) { return write(to, from, count); }, fd,
      bytes.data(), bytes.size());
}

std::optional<std::string> SystemCalls::attributeNames(int fd) {
  return noneWhereUnsupported(sizedRead([&](char* list, std::size_t size) {
    return allowed(Call::kAttributes, fd) ? ::flistxattr(fd, list, size) : -1;
  }));
}

std::optional<std::string> SystemCalls::attribute(const std::string& path,
                                                  const std::string& name) {
  return sizedRead([&](char* value, std::size_t size) {
    return allowed(Call::kAttributes, -1, path) ? ::getxattr(path.c_str(), name.c_str(), value, size)
                                      : -1;
  });
}

std::optional<std::string> SystemCalls::attribute(int fd, const std::string& name) {
  return sizedRead([&](char* value, std::size_t size) {
    return allowed(Call::kAttributes, fd) ? ::fgetxattr(fd, name.c_str(), value, size) : -1;
  });
}

}  // namespace corvane

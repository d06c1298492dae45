// Saving a file so that a failure part way (a full disk, a file-size limit,
// a crash) never leaves a truncated project file or makefile: the content is
// written and flushed to a temporary file beside the target, which then
// takes the target's name in one rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

#include "platform/posix/posix_file_system.h"

namespace corvane {

namespace {

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

// Whether the name can be written at all, decided before anything is
// written: an existing file must open for writing (without truncating it),
// a new one needs a writable directory.
bool canOpenForWriting(const std::string& target, const std::string& directory) {
  int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  if (errno != ENOENT) return false;
  struct stat status {};
  return ::stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         ::access(directory.c_str(), W_OK | X_OK) == 0;
}

bool writeAll(int fd, const std::string& content) {
  std::size_t written = 0;
  while (written < content.size()) {
    ssize_t done = ::write(fd, content.data() + written, content.size() - written);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (done == 0) return false;
    written += static_cast<std::size_t>(done);
  }
  return true;
}

// Creates a new file beside the target; the mode 0666 lets the umask decide
// the bits of a file that did not exist before.
int createTemporary(const std::string& target, std::string& name) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + ".tmp" + std::to_string(random() % 1000000000u);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

SaveResult saveFileSafely(const std::string& path, const std::string& content) {
  if (path.empty()) return SaveResult::kCannotOpen;
  const std::string target = followLinks(path);
  const std::string directory = directoryOf(target);
  if (!canOpenForWriting(target, directory)) return SaveResult::kCannotOpen;

  std::string temporary;
  int fd = createTemporary(target, temporary);
  if (fd < 0) return SaveResult::kCannotOpen;

  bool good = writeAll(fd, content);
  struct stat old {};
  if (good && ::stat(target.c_str(), &old) == 0) {
    good = ::fchmod(fd, old.st_mode & 07777) == 0;
    // Keeping the owner only works with the privilege to do so; without it
    // the file simply becomes the saver's, as any new file would.
    if (good && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
      good = ::fchmod(fd, old.st_mode & 0777) == 0;
    }
  }
  good = good && ::fsync(fd) == 0;
  good = (::close(fd) == 0) && good;
  good = good && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!good) {
    ::unlink(temporary.c_str());
    return SaveResult::kCannotWrite;
  }
  // Make the new name itself durable; a failure here loses nothing already
  // written, so it is not reported.
  int directoryFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directoryFd >= 0) {
    ::fsync(directoryFd);
    ::close(directoryFd);
  }
  return SaveResult::kSaved;
}

}  // namespace corvane

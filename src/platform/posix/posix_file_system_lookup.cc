// Answers "does this path exist" for paths typed the Windows way: a Borland
// installation copied from Windows or installed under Wine keeps Windows
// spellings (C:\Borland\Bcc55\Bin\Bcc32.exe) that the Linux disk holds as
// .../BIN/BCC32.EXE or under the Wine prefix. And reaches the file that a
// name to be saved or read stands for, through its symbolic links.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

using Components = std::vector<std::string>;

bool statOf(const std::string& path, struct stat& status) {
  return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

std::string join(const std::string& base, const std::string& name) {
  if (base.empty() || base.back() == '/') return base + name;
  return base + "/" + name;
}

// Walks the components below `base`, which exists, one level at a time. A
// component may be spelt in another case on the disk, and POSIX allows
// several spellings side by side of which only one may lead on, so each
// level keeps every file that the components so far name in any case. A
// file reached under several spellings (links that loop, such as d -> .
// beside D -> .) is kept once: the walk never holds more than the distinct
// files that match, and takes one pass per component however deep it goes.
bool resolveFrom(const std::string& base, const Components& components, bool wantDirectory) {
  Components reached{base};
  for (std::size_t index = 0; index < components.size(); ++index) {
    const std::string& component = components[index];
    // Every component but the last must be a directory to go on.
    const bool directoryHere = wantDirectory || index + 1 < components.size();
    Components next;
    std::set<std::pair<dev_t, ino_t>> seen;
    auto keep = [&](const std::string& path) {
      struct stat status {};
      if (!statOf(path, status) || (directoryHere && !S_ISDIR(status.st_mode))) return;
      if (seen.emplace(status.st_dev, status.st_ino).second) next.push_back(path);
    };
    for (const std::string& directoryPath : reached) {
      keep(join(directoryPath, component));
      if (component == "." || component == "..") continue;
      DIR* directory = ::opendir(directoryPath.c_str());
      if (directory == nullptr) continue;
      while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != component && equalNoCase(name, component)) keep(join(directoryPath, name));
      }
      ::closedir(directory);
    }
    if (next.empty()) return false;
    reached = std::move(next);
  }
  struct stat status {};
  return !wantDirectory || (statOf(reached.front(), status) && S_ISDIR(status.st_mode));
}

}  // namespace

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool mayFollowLink(int directory, const struct stat& link) {
  struct stat status {};
  if (::fstatat(directory, ".", &status, 0) != 0) return false;
  const bool shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
}

int ReachedName::directory() const { return held_.valid() ? held_.get() : AT_FDCWD; }

std::string ReachedName::pathIn(const std::string& name) const {
  if (directoryPath_.empty()) return name;
  if (directoryPath_.back() == '/') return directoryPath_ + name;
  return directoryPath_ + "/" + name;
}

namespace {

// The parts of a path joined again, from the root when it is absolute.
std::string joined(bool absolute, const std::vector<std::string>& parts) {
  std::string path = absolute ? "/" : "";
  for (const std::string& part : parts) {
    if (!path.empty() && path.back() != '/') path += '/';
    path += part;
  }
  return path;
}

}  // namespace

std::optional<ReachedName> reachName(const std::string& path, std::string* sofar) {
  ReachedName reached;
  // The parts still to walk, and those walked: real directories all, so
  // that ".." after one of them is its parent on the disk too.
  std::deque<std::string> ahead;
  std::vector<std::string> walked;
  bool absolute = false;
  const auto walkFrom = [&](const std::string& from) {
    if (!from.empty() && from[0] == '/') {
      reached.held_ = Descriptor(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
      walked.clear();
      absolute = true;
    }
    const Components parts = pathComponents(from);
    ahead.insert(ahead.begin(), parts.begin(), parts.end());
  };
  // Where the walk stopped, and why (errno).
  const auto stop = [&](const std::string& part, int error) -> std::optional<ReachedName> {
    if (sofar != nullptr) {
      std::vector<std::string> parts = walked;
      if (!part.empty()) parts.push_back(part);
      parts.insert(parts.end(), ahead.begin(), ahead.end());
      *sofar = joined(absolute, parts);
    }
    errno = error;
    return std::nullopt;
  };
  walkFrom(path);
  if (ahead.empty()) return stop("", path.empty() ? ENOENT : EISDIR);
  // As many links as the kernel follows in one path.
  int linksLeft = 40;
  while (!ahead.empty()) {
    if (absolute && !reached.held_.valid()) return stop("", errno);
    const std::string part = ahead.front();
    ahead.pop_front();
    const bool last = ahead.empty();
    const int directory = reached.directory();
    if (part == "." || part == "..") {
      if (part == "..") {
        Descriptor parent(::openat(directory, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!parent.valid()) return stop(part, errno);
        reached.held_ = std::move(parent);
        if (!walked.empty() && walked.back() != "..") {
          walked.pop_back();
        } else if (!absolute) {
          walked.push_back("..");
        }
      }
      if (last) reached.name_ = ".";
      continue;
    }
    if (!last) {
      Descriptor next(
          ::openat(directory, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (next.valid()) {
        reached.held_ = std::move(next);
        walked.push_back(part);
        continue;
      }
      if (errno != ENOTDIR && errno != ELOOP) return stop(part, errno);
    }
    // The link itself, held open, so that its owner and its target are read
    // of one and the same link.
    Descriptor link(::openat(directory, part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!link.valid() || ::fstat(link.get(), &status) != 0) {
      if (!last || errno != ENOENT) return stop(part, errno);
      reached.name_ = part;  // not there yet
      break;
    }
    if (!S_ISLNK(status.st_mode)) {
      if (!last) return stop(part, ENOTDIR);
      reached.name_ = part;
      break;
    }
    if (--linksLeft < 0) return stop(part, ELOOP);
    if (!mayFollowLink(directory, status)) return stop(part, EACCES);
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlinkat(link.get(), "", target.data(), target.size());
    if (length <= 0) return stop(part, length == 0 ? ENOENT : errno);
    target.resize(static_cast<std::size_t>(length));
    walkFrom(target);
  }
  reached.directoryPath_ = joined(absolute, walked);
  return reached;
}

std::vector<std::string> pathComponents(const std::string& path) {
  std::vector<std::string> components;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string::npos) end = path.size();
    if (end > at) components.push_back(path.substr(at, end - at));
    at = end + 1;
  }
  return components;
}

std::string winePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.wine";
}

bool windowsPathExists(const std::string& path, const std::string& prefix) {
  if (path.empty()) return false;
  std::string slashed = path;
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  const bool wantDirectory = slashed.back() == '/';
  struct stat status {};

  if (hasDriveLetter(slashed)) {
    const Components components = pathComponents(slashed.substr(2));
    const char letter = slashed[0];
    for (char spelling :
         {static_cast<char>(lowerCaseAscii(letter)), static_cast<char>(upperCaseAscii(letter))}) {
      const std::string drive = prefix + "/dosdevices/" + spelling + ":";
      if (statOf(drive, status) && resolveFrom(drive, components, wantDirectory)) return true;
    }
    return false;
  }

  if (statOf(slashed, status)) return true;
  const std::string root = slashed.front() == '/' ? "/" : ".";
  return resolveFrom(root, pathComponents(slashed), wantDirectory);
}

}  // namespace corvane

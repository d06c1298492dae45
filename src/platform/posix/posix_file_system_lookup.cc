// Answers "does this path exist" for paths typed the Windows way: a Borland
// installation copied from Windows or installed under Wine keeps Windows
// spellings (C:\Borland\Bcc55\Bin\Bcc32.exe) that the Linux disk holds as
// .../BIN/BCC32.EXE or under the Wine prefix. And finds the file that a
// name to be saved stands for, through its symbolic links.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
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

// Whether the kernel would follow this link with fs.protected_symlinks on:
// in a directory that is sticky and writable by all (such as /tmp), only a
// link of the user's own or of the directory's owner, so that nobody can
// plant a link there that sends another user's writes elsewhere.
bool mayFollow(const std::string& link, const struct stat& status) {
  struct stat directory {};
  if (::stat(directoryOf(link).c_str(), &directory) != 0) return false;
  const bool shared = (directory.st_mode & S_ISVTX) != 0 && (directory.st_mode & S_IWOTH) != 0;
  return !shared || status.st_uid == ::geteuid() || status.st_uid == directory.st_uid;
}

}  // namespace

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::optional<std::string> followLinks(std::string path) {
  // As many links as the kernel follows in one path.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    if (!mayFollow(path, status)) return std::nullopt;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    path = (!target.empty() && target[0] == '/') ? target : directoryOf(path) + "/" + target;
  }
  return std::nullopt;
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

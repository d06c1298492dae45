// Answers "does this path exist" for paths typed the Windows way: a Borland
// installation copied from Windows or installed under Wine keeps Windows
// spellings (C:\Borland\Bcc55\Bin\Bcc32.exe) that the Linux disk holds as
// .../BIN/BCC32.EXE or under the Wine prefix.
#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>

#include "platform/posix/posix_file_system.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

bool statOf(const std::string& path, struct stat& status) {
  return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat status {};
  return statOf(path, status) && S_ISDIR(status.st_mode);
}

std::string join(const std::string& base, const std::string& name) {
  if (base.empty() || base.back() == '/') return base + name;
  return base + "/" + name;
}

// Walks the components below `base`, which exists. A component that is not
// there with its exact spelling may be there in another case; every such
// spelling is tried, as POSIX allows several of them side by side.
bool resolveFrom(const std::string& base, const List& components, std::size_t index,
                 bool wantDirectory) {
  if (index == components.size()) return !wantDirectory || isDirectory(base);
  const std::string& component = components[index];
  struct stat status {};
  const std::string exact = join(base, component);
  if (statOf(exact, status) && resolveFrom(exact, components, index + 1, wantDirectory)) {
    return true;
  }
  if (component == "." || component == "..") return false;
  DIR* directory = ::opendir(base.c_str());
  if (directory == nullptr) return false;
  const std::string folded = upperCase(component);
  List spellings;
  while (const dirent* entry = ::readdir(directory)) {
    std::string name = entry->d_name;
    if (name != component && upperCase(name) == folded) spellings.push_back(std::move(name));
  }
  ::closedir(directory);
  for (const std::string& spelling : spellings) {
    std::string candidate = join(base, spelling);
    if (statOf(candidate, status) &&
        resolveFrom(candidate, components, index + 1, wantDirectory)) {
      return true;
    }
  }
  return false;
}

bool hasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

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
    const List components = splitWords(slashed.substr(2), "/");
    const char letter = slashed[0];
    for (char spelling : {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))),
                          static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))}) {
      const std::string drive = prefix + "/dosdevices/" + spelling + ":";
      if (statOf(drive, status) && resolveFrom(drive, components, 0, wantDirectory)) return true;
    }
    return false;
  }

  if (statOf(slashed, status)) return true;
  const std::string root = slashed.front() == '/' ? "/" : ".";
  return resolveFrom(root, splitWords(slashed, "/"), 0, wantDirectory);
}

}  // namespace corvane

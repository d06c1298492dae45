#include "platform/posix/wine_drives.h"

#include <dirent.h>

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/posix/posix_file_system.h"
#include "text/path_names.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

// Whether the directory `root` is `path` or holds it; both are resolved.
bool holds(const std::string& root, const std::string& path) {
  if (root == "/") return true;
  return path.compare(0, root.size(), root) == 0 &&
         (path.size() == root.size() || path[root.size()] == '/');
}

// "c:" and the like; "c::" (the raw device of a drive) and com1 are no
// drives for this purpose.
bool isDriveLink(std::string_view name) {
  return name.size() == 2 && hasDriveLetter(name);
}

}  // namespace

std::string wineDirectoryName(const std::string& directory, const std::string& winePrefix) {
  const std::string path = resolvedPath(directory).value_or(directory);
  if (path.empty() || path.front() != '/') return directory;

  char letter = 'z';
  std::string root = "/";
  bool found = false;
  const std::string devices = winePrefix + "/dosdevices";
  if (DIR* listing = ::opendir(devices.c_str())) {
    while (const dirent* entry = ::readdir(listing)) {
      const std::string_view name = entry->d_name;
      if (!isDriveLink(name)) continue;
      const std::optional<std::string> target = resolvedPath(devices + "/" + std::string(name));
      if (!target || !holds(*target, path)) continue;
      const char candidate = static_cast<char>(lowerCaseAscii(name[0]));
      // The listing comes in no particular order: the longer target wins,
      // then the earlier letter.
      if (!found || target->size() > root.size() ||
          (target->size() == root.size() && candidate < letter)) {
        found = true;
        letter = candidate;
        root = *target;
      }
    }
    ::closedir(listing);
  }

  std::string name(1, static_cast<char>(upperCaseAscii(letter)));
  name += ':';
  if (path == root) return name;
  for (std::size_t i = root == "/" ? 0 : root.size(); i < path.size(); ++i)
    name += path[i] == '/' ? '\\' : path[i];
  return name;
}

}  // namespace corvane

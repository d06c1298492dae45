// The name a path to be saved finally leads to, for the checks made before
// saving (see FileSystem::finalName). The save follows the same links.
#include <optional>
#include <string>

#include "platform/posix/posix_file_system.h"

namespace corvane {

std::string NativeFileSystem::finalName(const std::string& path) const {
  std::string final = followLinks(path).value_or(path);
  // A target beside the link comes back as "./target": it is shown to the
  // user as the link names it.
  if (final != path && final.rfind("./", 0) == 0) final.erase(0, 2);
  return final;
}

}  // namespace corvane

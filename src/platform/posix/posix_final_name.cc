// The name a path to be saved finally leads to, for the checks made before
// saving (see FileSystem::finalName): the walk the save itself makes.
#include <optional>
#include <string>

#include "platform/posix/posix_file_system.h"

namespace corvane {

std::string NativeFileSystem::finalName(const std::string& path) const {
  std::string sofar;
  const std::optional<ReachedName> reached = reachName(path, &sofar);
  return reached ? reached->path() : sofar;
}

}  // namespace corvane

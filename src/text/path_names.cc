#include "text/path_names.h"

namespace corvane {

bool hasDriveLetter(std::string_view path) {
  return path.size() >= 2 &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':';
}

PathParts splitPathName(std::string_view path, bool withDrive) {
  PathParts parts;
  if (withDrive && hasDriveLetter(path)) {
    parts.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const std::size_t lastSeparator = path.find_last_of(kPathSeparators);
  if (lastSeparator != std::string_view::npos) {
    parts.directory = std::string(path.substr(0, lastSeparator + 1));
    path.remove_prefix(lastSeparator + 1);
  }
  const std::size_t lastDot = path.rfind('.');
  if (lastDot != std::string_view::npos) {
    parts.extension = std::string(path.substr(lastDot));
    path = path.substr(0, lastDot);
  }
  parts.name = std::string(path);
  return parts;
}

}  // namespace corvane

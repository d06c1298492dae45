#include "platform/win32/windows_path.h"

#include "platform/native_file_system.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

PathParts splitWindowsPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
    parts.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const auto lastSeparator = path.find_last_of("\\/");
  if (lastSeparator != std::string_view::npos) {
    parts.directory = std::string(path.substr(0, lastSeparator + 1));
    path.remove_prefix(lastSeparator + 1);
  }
  const auto lastDot = path.rfind('.');
  if (lastDot != std::string_view::npos) {
    parts.extension = std::string(path.substr(lastDot));
    path = path.substr(0, lastDot);
  }
  parts.name = std::string(path);
  return parts;
}

bool hasExtension(std::string_view name, std::string_view extension) {
  return endsWithNoCase(name, "." + std::string(extension));
}

}  // namespace corvane

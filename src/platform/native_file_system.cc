#include "platform/native_file_system.h"

#include <memory>

namespace corvane {

bool sameNameNoCase(std::string_view a, std::string_view b) {
  const auto upper = [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& startedAs) {
  return std::make_unique<NativeFileSystem>(startedAs);
}

}  // namespace corvane

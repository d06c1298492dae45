#include "makefile/object_names.h"

#include "text/path_names.h"
#include "text/text_utils.h"

namespace corvane {

std::string objectName(std::string_view sourceName) {
  std::string name = trimRight(sourceName);
  const std::size_t slash = name.find_last_of(kPathSeparators);
  const std::size_t componentStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot >= componentStart) name.erase(dot);
  return name + ".obj";
}

}  // namespace corvane

#include "makefile/object_names.h"

#include "text/path_names.h"
#include "text/text_utils.h"

namespace corvane {

std::string_view objectStem(std::string_view sourceName) {
  const std::string_view name = withoutTrailingBlanks(sourceName);
  const std::size_t slash = name.find_last_of(kPathSeparators);
  const std::size_t componentStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot >= componentStart) return name.substr(0, dot);
  return name;
}

}  // namespace corvane

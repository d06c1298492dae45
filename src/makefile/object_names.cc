#include "makefile/object_names.h"

#include "text/path_names.h"
#include "text/text_utils.h"

namespace corvane {

std::string_view objectStem(std::string_view sourceName) {
  const std::string_view name = withoutTrailingBlanks(sourceName);
  const std::size_t dot = name.rfind('.');
  // Only a dot of the last path component starts an extension: "b.dir/x"
  // has none.
  if (dot == std::string_view::npos ||
      name.find_first_of(kPathSeparators, dot) != std::string_view::npos)
    return name;
  return name.substr(0, dot);
}

}  // namespace corvane

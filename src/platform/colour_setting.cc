#include "platform/colour_setting.h"

#include <cstdlib>

namespace corvane {

bool colourWanted() {
  const char* setting = std::getenv("NO_COLOR");
  return setting == nullptr || *setting == '\0';
}

}  // namespace corvane

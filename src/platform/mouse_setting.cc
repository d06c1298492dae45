#include "platform/mouse_setting.h"

#include <cstdlib>
#include <cstring>

namespace corvane {

bool mouseWanted() {
  const char* setting = std::getenv("CORVANE_MOUSE");
  return setting == nullptr || std::strcmp(setting, "0") != 0;
}

}  // namespace corvane

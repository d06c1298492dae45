#include "platform/script_input.h"

#include <io.h>

namespace corvane {

long DescriptorScriptInput::read(char* buffer, unsigned size) {
  return _read(descriptor_, buffer, size);
}

// Console input never reaches here; a file or pipe is read when asked.
bool DescriptorScriptInput::ready() { return true; }

}  // namespace corvane

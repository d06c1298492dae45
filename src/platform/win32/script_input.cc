#include "platform/script_input.h"

#include <io.h>

namespace corvane {

long readScriptBytes(int descriptor, char* buffer, unsigned size) {
  return _read(descriptor, buffer, size);
}

// Console input never reaches here; a file or pipe is read when asked.
bool scriptBytesReady(int /*descriptor*/) { return true; }

}  // namespace corvane

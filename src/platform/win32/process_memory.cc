#include "platform/process_memory.h"

namespace corvane {

// The Windows heap keeps freed blocks for the process by itself.
void keepFreedMemory() {}

}  // namespace corvane

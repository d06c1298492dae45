#include "platform/script_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace corvane {

long readScriptBytes(int descriptor, char* buffer, unsigned size) {
  ssize_t got;
  do {
    got = ::read(descriptor, buffer, size);
  } while (got < 0 && errno == EINTR);
  return static_cast<long>(got);
}

bool scriptBytesReady(int descriptor) {
  pollfd request{descriptor, POLLIN, 0};
  return ::poll(&request, 1, 0) > 0;
}

}  // namespace corvane

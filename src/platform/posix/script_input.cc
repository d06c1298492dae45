#include "platform/script_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace corvane {

long DescriptorScriptInput::read(char* buffer, unsigned size) {
  ssize_t got;
  do {
    got = ::read(descriptor_, buffer, size);
  } while (got < 0 && errno == EINTR);
  return static_cast<long>(got);
}

bool DescriptorScriptInput::ready() {
  pollfd request{descriptor_, POLLIN, 0};
  return ::poll(&request, 1, 0) > 0;
}

}  // namespace corvane

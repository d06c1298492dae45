#include "platform/script_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace corvane {

namespace {

class DescriptorInput : public ScriptInput {
 public:
  explicit DescriptorInput(int descriptor) : descriptor_(descriptor) {}

  long read(char* buffer, unsigned size) override {
    ssize_t got;
    do {
      got = ::read(descriptor_, buffer, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
  }

  bool ready() override {
    pollfd request{descriptor_, POLLIN, 0};
    return ::poll(&request, 1, 0) > 0;
  }

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<ScriptInput> scriptInputOf(int descriptor) {
  return std::make_unique<DescriptorInput>(descriptor);
}

}  // namespace corvane

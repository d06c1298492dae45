#include "platform/script_input.h"

#include <io.h>

namespace corvane {

namespace {

class DescriptorInput : public ScriptInput {
 public:
  explicit DescriptorInput(int descriptor) : descriptor_(descriptor) {}

  long read(char* buffer, unsigned size) override { return _read(descriptor_, buffer, size); }

  // Console input never reaches here; a file or pipe is read when asked.
  bool ready() override { return true; }

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<ScriptInput> scriptInputOf(int descriptor) {
  return std::make_unique<DescriptorInput>(descriptor);
}

}  // namespace corvane

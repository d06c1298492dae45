// The bytes of a script: how each system reads standard input when it is a
// file or a pipe. The scripted console that decodes them is the same
// everywhere.
#ifndef CORVANE_PLATFORM_SCRIPT_INPUT_H
#define CORVANE_PLATFORM_SCRIPT_INPUT_H

#include "console/scripted_console.h"

namespace corvane {

// Reads a descriptor, which stays the caller's to close.
class DescriptorScriptInput : public ScriptInput {
 public:
  explicit DescriptorScriptInput(int descriptor) : descriptor_(descriptor) {}

  long read(char* buffer, unsigned size) override;
  bool ready() override;

 private:
  int descriptor_;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_SCRIPT_INPUT_H

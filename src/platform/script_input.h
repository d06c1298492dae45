// The bytes of a script: how each system reads standard input when it is a
// file or a pipe. The scripted console that decodes them is the same
// everywhere.
#ifndef CORVANE_PLATFORM_SCRIPT_INPUT_H
#define CORVANE_PLATFORM_SCRIPT_INPUT_H

#include <memory>

#include "console/scripted_console.h"

namespace corvane {

// Reads the descriptor, which stays the caller's to close.
std::unique_ptr<ScriptInput> scriptInputOf(int descriptor);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_SCRIPT_INPUT_H

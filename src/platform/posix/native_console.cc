#include "platform/native_console.h"

#include <unistd.h>

#include <memory>
#include <utility>

#include "console/scripted_console.h"
#include "platform/posix/terminal_console.h"
#include "platform/script_input.h"

namespace corvane {

OpenedConsole makeNativeConsole() {
  // A terminal Corvane cannot draw on is not read as a script: its input
  // never ends, and the user would wait at a question nobody can see.
  if (::isatty(STDIN_FILENO)) return TerminalConsole::open();
  auto input = std::make_unique<DescriptorScriptInput>(STDIN_FILENO);
  return {std::make_unique<ScriptedConsole>(std::move(input)), ""};
}

}  // namespace corvane

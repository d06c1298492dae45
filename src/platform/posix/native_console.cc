#include "platform/native_console.h"

#include <unistd.h>

#include "platform/posix/terminal_console.h"
#include "platform/scripted_console.h"

namespace corvane {

std::unique_ptr<Console> makeNativeConsole() {
  if (::isatty(STDIN_FILENO)) {
    if (auto terminal = TerminalConsole::open()) return terminal;
  }
  // Keys from a script (or from a terminal curses cannot drive, which at
  // least never hangs: every key past the input is Esc).
  return std::make_unique<ScriptedConsole>(STDIN_FILENO);
}

}  // namespace corvane

#include "console/scripted_console.h"

#include <utility>

namespace corvane {

ScriptedConsole::ScriptedConsole(std::unique_ptr<ScriptInput> input) : input_(std::move(input)) {}

bool ScriptedConsole::readInput(bool wait) {
  if (ended_ || (!wait && !input_->ready())) return false;
  char buffer[256];
  const long got = input_->read(buffer, sizeof buffer);
  if (got <= 0) {
    // End of input (or an error, which ends it just as well): an Esc still
    // waiting for a sequence was the Esc key.
    ended_ = true;
    decoder_.inputPaused();
    return false;
  }
  decoder_.feed(std::string_view(buffer, static_cast<std::size_t>(got)));
  return true;
}

int ScriptedConsole::getKey() {
  while (!decoder_.hasKey() && !ended_) readInput(true);
  pasted_ = decoder_.nextKeyPasted();
  return decoder_.takeKey();  // Esc once the input has ended
}

bool ScriptedConsole::keyPending() {
  while (!decoder_.hasKey() && !ended_) {
    if (!readInput(false)) break;
  }
  return decoder_.hasKey() || ended_;
}

}  // namespace corvane

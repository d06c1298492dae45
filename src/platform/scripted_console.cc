#include "platform/scripted_console.h"

#include "platform/script_input.h"

namespace corvane {

ScriptedConsole::ScriptedConsole(int inputDescriptor) : input_(inputDescriptor) {}

bool ScriptedConsole::readInput(bool wait) {
  if (ended_ || (!wait && !scriptBytesReady(input_))) return false;
  char buffer[256];
  const long got = readScriptBytes(input_, buffer, sizeof buffer);
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
  return decoder_.takeKey();  // Esc once the input has ended
}

bool ScriptedConsole::keyPending() {
  while (!decoder_.hasKey() && !ended_) {
    if (!readInput(false)) break;
  }
  return decoder_.hasKey() || ended_;
}

}  // namespace corvane

#include "platform/scripted_console.h"

#include "ui/keys.h"

#ifdef _WIN32
#include <io.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

#include <cerrno>

namespace corvane {

namespace {

#ifdef _WIN32
long readBytes(int fd, char* buffer, unsigned size) { return _read(fd, buffer, size); }
// Console input never reaches here; a file or pipe is read when asked.
bool bytesReady(int /*fd*/) { return true; }
#else
long readBytes(int fd, char* buffer, unsigned size) {
  ssize_t got;
  do {
    got = ::read(fd, buffer, size);
  } while (got < 0 && errno == EINTR);
  return static_cast<long>(got);
}
bool bytesReady(int fd) {
  pollfd request{fd, POLLIN, 0};
  return ::poll(&request, 1, 0) > 0;
}
#endif

}  // namespace

ScriptedConsole::ScriptedConsole(int inputDescriptor) : input_(inputDescriptor) {}

bool ScriptedConsole::readInput(bool wait) {
  if (ended_ || (!wait && !bytesReady(input_))) return false;
  char buffer[256];
  const long got = readBytes(input_, buffer, sizeof buffer);
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

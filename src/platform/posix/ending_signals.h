// The signals that end a program from the terminal or from outside, and the
// one way Corvane puts its own handlers in their place: the terminal mode
// (to give the terminal back) and a save in progress (to undo it) both take
// them over for a while, and both must leave alone a signal the caller chose
// to ignore, such as SIGHUP under nohup.
#ifndef CORVANE_PLATFORM_POSIX_ENDING_SIGNALS_H
#define CORVANE_PLATFORM_POSIX_ENDING_SIGNALS_H

#include <signal.h>

#include <cstddef>

namespace corvane {

inline constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
inline constexpr std::size_t kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// The handlers that the ending signals had before ours, kept where a signal
// handler can reach them (static storage) to be put back or handed a signal.
class EndingSignalHandlers {
 public:
  // Makes `action` the handler of every ending signal that is not ignored,
  // keeping the handlers before it.
  void install(const struct sigaction& action);
  // Puts back the handlers that install found.
  void restore() const;
  // The handler that install found for this ending signal; null for any
  // other signal. Safe inside a signal handler.
  const struct sigaction* before(int signal) const;

 private:
  struct sigaction previous_[kEndingSignalCount] = {};
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_ENDING_SIGNALS_H

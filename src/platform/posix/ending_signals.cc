#include "platform/posix/ending_signals.h"

namespace corvane {

void EndingSignalHandlers::install(const struct sigaction& action) {
  for (std::size_t i = 0; i < kEndingSignalCount; ++i) {
    ::sigaction(kEndingSignals[i], nullptr, &previous_[i]);
    const bool ignored =
        (previous_[i].sa_flags & SA_SIGINFO) == 0 && previous_[i].sa_handler == SIG_IGN;
    if (!ignored) ::sigaction(kEndingSignals[i], &action, nullptr);
  }
}

void EndingSignalHandlers::restore() const {
  for (std::size_t i = 0; i < kEndingSignalCount; ++i)
    ::sigaction(kEndingSignals[i], &previous_[i], nullptr);
}

const struct sigaction* EndingSignalHandlers::before(int signal) const {
  for (std::size_t i = 0; i < kEndingSignalCount; ++i)
    if (kEndingSignals[i] == signal) return &previous_[i];
  return nullptr;
}

}  // namespace corvane

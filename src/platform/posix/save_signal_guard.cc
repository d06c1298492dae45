#include "platform/posix/save_signal_guard.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "platform/posix/descriptor.h"
#include "platform/posix/ending_signals.h"

namespace corvane {

namespace {

constexpr int kIgnoredSignals[] = {SIGXFSZ, SIGPIPE};
constexpr std::size_t kIgnoredCount = sizeof kIgnoredSignals / sizeof kIgnoredSignals[0];

enum Undo : int { kNothing, kRemove, kRestore, kFinish };

// A signal handler can reach static storage only, so the save in progress
// is described here; there is never more than one. The handler reads the
// fields only after `undo` says what they hold, and every change of them
// happens while `undo` is kNothing.
struct PendingSave {
  volatile std::sig_atomic_t undo = kNothing;
  int directory = -1;          // where `removed` and `copy` are
  const char* removed = nullptr;
  bool emptied = false;        // whether `removed` is emptied if it stays
  int fd = -1;
  const char* oldStart = nullptr;
  std::size_t oldCount = 0;
  off_t size = 0;
  const char* copy = nullptr;  // the old bytes beside the file, or null
  int (*sync)(int) = ::fsync;
  EndingSignalHandlers previous;
  struct sigaction previousIgnored[kIgnoredCount];
};

PendingSave pending;

// The copy of the old bytes is needed no more once the file is whole on
// the disk; should anything fail, it stays for the user.
void dropCopyOnceSynced(bool whole) {
  if (whole && pending.copy != nullptr && pending.sync(pending.fd) == 0) {
    ::unlinkat(pending.directory, pending.copy, 0);
  }
}

// A file that cannot be removed keeps nothing that others could read.
void removeOrEmpty() {
  if (::unlinkat(pending.directory, pending.removed, 0) == 0 || !pending.emptied) return;
  const int fd = ::openat(pending.directory, pending.removed,
                          O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  ::fchmod(fd, S_IRUSR | S_IWUSR);
  ::ftruncate(fd, 0);
  ::close(fd);
}

void undoPendingSave() {
  switch (pending.undo) {
    case kRemove:
      removeOrEmpty();
      break;
    case kRestore:
      dropCopyOnceSynced(
          putBackOldBytes(pending.fd, pending.oldStart, pending.oldCount, pending.size));
      break;
    case kFinish:
      dropCopyOnceSynced(::ftruncate(pending.fd, pending.size) == 0);
      break;
    default:
      break;
  }
  pending.undo = kNothing;
}

// Undoes the save, then hands the signal on as if the guard had never been
// there: to the handler before it (the terminal's restore, which ends the
// program), or to the default action, which ends it here.
void undoAndPassOn(int signal, siginfo_t* info, void* context) {
  const int savedErrno = errno;
  undoPendingSave();
  if (const struct sigaction* before = pending.previous.before(signal)) {
    if (before->sa_flags & SA_SIGINFO) {
      before->sa_sigaction(signal, info, context);
    } else if (before->sa_handler == SIG_DFL) {
      ::sigaction(signal, before, nullptr);
      ::raise(signal);
    } else if (before->sa_handler != SIG_IGN) {
      before->sa_handler(signal);
    }
  }
  errno = savedErrno;
}

// The fields first, then what to undo with them.
void arm(int undo) {
  std::atomic_signal_fence(std::memory_order_seq_cst);
  pending.undo = undo;
}

}  // namespace

SaveSignalGuard::SaveSignalGuard(int (*sync)(int)) {
  pending.undo = kNothing;
  pending.sync = sync != nullptr ? sync : ::fsync;
  struct sigaction action {};
  action.sa_sigaction = undoAndPassOn;
  sigemptyset(&action.sa_mask);
  // The signal handed on must take effect at once, inside the handler.
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  pending.previous.install(action);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  for (std::size_t i = 0; i < kIgnoredCount; ++i)
    ::sigaction(kIgnoredSignals[i], &ignore, &pending.previousIgnored[i]);
}

SaveSignalGuard::~SaveSignalGuard() {
  clear();
  pending.previous.restore();
  for (std::size_t i = 0; i < kIgnoredCount; ++i)
    ::sigaction(kIgnoredSignals[i], &pending.previousIgnored[i], nullptr);
}

void SaveSignalGuard::removeOnSignal(int directory, const std::string& name, bool empty) {
  clear();
  pending.directory = directory;
  pending.removed = name.c_str();
  pending.emptied = empty;
  arm(kRemove);
}

void SaveSignalGuard::restoreOnSignal(int fd, const std::string& oldStart, off_t oldSize,
                                      int directory, const char* copy) {
  clear();
  pending.directory = directory;
  pending.fd = fd;
  pending.oldStart = oldStart.data();
  pending.oldCount = oldStart.size();
  pending.size = oldSize;
  pending.copy = copy;
  arm(kRestore);
}

void SaveSignalGuard::finishOnSignal(int fd, off_t newSize, int directory, const char* copy) {
  clear();
  pending.directory = directory;
  pending.fd = fd;
  pending.size = newSize;
  pending.copy = copy;
  arm(kFinish);
}

void SaveSignalGuard::clear() {
  pending.undo = kNothing;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

HeldSignals::HeldSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  for (int signal : kEndingSignals) sigaddset(&ending, signal);
  ::sigprocmask(SIG_BLOCK, &ending, &previous_);
}

HeldSignals::~HeldSignals() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

bool putBackOldBytes(int fd, const char* bytes, std::size_t count, off_t size) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes, count) &&
         ::ftruncate(fd, size) == 0;
}

}  // namespace corvane

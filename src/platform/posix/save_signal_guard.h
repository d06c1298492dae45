// What a signal must undo when it ends Corvane in the middle of a save.
//
// The signals that end a program from the terminal or from outside
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT) may come while a file is half written.
// For as long as a guard lives they first undo the save in progress (remove
// the temporary copy, or put back the old bytes of a file rewritten in
// place) and then go on to whatever would have handled them before: the
// terminal's restore, or the end of the program. SIGXFSZ and SIGPIPE are
// ignored meanwhile, so that a file-size limit or a pipe whose reader went
// away fail the write instead of killing the program with the terminal
// still in Corvane's mode.
#ifndef CORVANE_PLATFORM_POSIX_SAVE_SIGNAL_GUARD_H
#define CORVANE_PLATFORM_POSIX_SAVE_SIGNAL_GUARD_H

#include <signal.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace corvane {

// One guard at a time (saves do not nest). The texts handed to it must
// outlive the next call of a member function, since a signal handler reads
// them in place. Files are named in a directory given as an open descriptor
// (or AT_FDCWD).
class SaveSignalGuard {
 public:
  // `sync` is how the handler flushes a file it put back (fsync; a test
  // makes it fail).
  explicit SaveSignalGuard(int (*sync)(int) = nullptr);
  ~SaveSignalGuard();
  SaveSignalGuard(const SaveSignalGuard&) = delete;
  SaveSignalGuard& operator=(const SaveSignalGuard&) = delete;

  // A signal removes this file; one that cannot be removed is, if `empty`,
  // cut to nothing and made private to its owner.
  void removeOnSignal(int directory, const std::string& name, bool empty);
  // A signal puts these bytes back at the start of the file and cuts it to
  // its old size: it is being rewritten in place. Once that is done and on
  // the disk, the copy of the old bytes named `copy` (if any) goes too.
  void restoreOnSignal(int fd, const std::string& oldStart, off_t oldSize, int directory = -1,
                       const char* copy = nullptr);
  // The new content is all written: a signal only cuts the file to its new
  // size, which is all that is left to do, and once that is on the disk
  // removes the copy.
  void finishOnSignal(int fd, off_t newSize, int directory = -1, const char* copy = nullptr);
  // Nothing to undo.
  void clear();
};

// Holds the ending signals back while it lives: one that comes meanwhile is
// handled when the hold ends. A file made and then handed to the guard must
// be made under a hold, or a signal between the two would leave it behind.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t previous_;
};

// Puts the old bytes of a file back at its start and gives it its old size;
// only calls that a signal handler may make.
bool putBackOldBytes(int fd, const char* bytes, std::size_t count, off_t size);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_SAVE_SIGNAL_GUARD_H

#include "platform/posix/save_signal_guard.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

void endOnTerm(int) { ::_exit(42); }

int failingSync(int) {
  errno = EIO;
  return -1;
}

// A rewrite in place caught by a signal at its worst moments: whatever it
// had written must be undone before the handler it displaced ends the
// program. (SafeSave tests the temporary copy of a save through a real one.)
TEST(SaveSignalGuard, EndingSignalsUndoTheSaveInProgress) {
  ScratchDirectory scratch;
  scratch.write("Project.gen", "the old content");
  scratch.write("Makefile.b", "an old and longer content");
  scratch.write("kept.tmp", "half");
  scratch.write("Other.gen", "old");
  scratch.write("copy.old", "old");
  scratch.write("Third.gen", "old");
  scratch.write("kept.old", "old");

  struct Case {
    const char* name;
    std::function<int()> save;  // ends by raising a signal
    int outcome;
    std::string file;
    std::string content;  // empty: the file is gone
  };
  const std::vector<Case> cases = {
      {"rewrite in place put back",
       [] {
         const int fd = ::open("Project.gen", O_RDWR);
         const std::string oldStart = "the old content";
         SaveSignalGuard guard;
         guard.restoreOnSignal(fd, oldStart, static_cast<off_t>(oldStart.size()));
         (void)!::write(fd, "A NEW AND MUCH LONGER CONT", 26);
         return ::raise(SIGINT);
       },
       kSignalled + SIGINT, "Project.gen", "the old content"},
      {"copy of the old bytes removed once they are back",
       [] {
         const int fd = ::open("Other.gen", O_RDWR);
         const std::string old = "old";
         SaveSignalGuard guard;
         guard.restoreOnSignal(fd, old, 3, AT_FDCWD, "copy.old");
         (void)!::write(fd, "new content", 11);
         return ::raise(SIGTERM);
       },
       kSignalled + SIGTERM, "copy.old", ""},
      {"copy kept when the bytes put back cannot be flushed",
       [] {
         const int fd = ::open("Third.gen", O_RDWR);
         const std::string old = "old";
         SaveSignalGuard guard(failingSync);
         guard.restoreOnSignal(fd, old, 3, AT_FDCWD, "kept.old");
         (void)!::write(fd, "new content", 11);
         return ::raise(SIGTERM);
       },
       kSignalled + SIGTERM, "kept.old", "old"},
      {"finished rewrite cut to its size",
       [] {
         const int fd = ::open("Makefile.b", O_RDWR);
         (void)!::write(fd, "new", 3);
         SaveSignalGuard guard;
         guard.finishOnSignal(fd, 3);
         return ::raise(SIGHUP);
       },
       kSignalled + SIGHUP, "Makefile.b", "new"},
      {"earlier handler still called",
       [] {
         ::signal(SIGTERM, endOnTerm);  // the terminal's restore, say
         const std::string name = "kept.tmp";
         SaveSignalGuard guard;
         guard.removeOnSignal(AT_FDCWD, name, true);
         return ::raise(SIGTERM);
       },
       42, "kept.tmp", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.outcome, inChild(c.save));
    if (c.content.empty()) {
      EXPECT_NE(0, ::access(c.file.c_str(), F_OK));
    } else {
      EXPECT_EQ(c.content, scratch.read(c.file));
    }
  }
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/posix_file_system.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Saves in a child process whose file-size limit is `limit` bytes, so that
// writes fail without any privilege; returns the child's SaveResult.
int saveUnderSizeLimit(const std::string& path, const std::string& content, rlim_t limit) {
  pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit rl {limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &rl);
    ::_exit(static_cast<int>(saveFileSafely(path, content)));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SafeSave, CreatesAndReplaces) {
  ScratchDirectory scratch;
  mode_t mask = ::umask(022);
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("new.gen", "one\r\n"));
  EXPECT_EQ(0644u, modeOf("new.gen"));
  ::umask(mask);
  ASSERT_EQ(0, ::chmod("new.gen", 0640));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("new.gen", "two"));
  EXPECT_EQ("two", scratch.read("new.gen"));
  EXPECT_EQ(0640u, modeOf("new.gen"));
  EXPECT_EQ("new.gen ", scratch.listing());
}

TEST(SafeSave, SymbolicLinkStaysALink) {
  ScratchDirectory scratch;
  scratch.makeDirectory("real");
  scratch.write("real/Makefile.b", "old");
  ASSERT_EQ(0, ::symlink("real/Makefile.b", "Makefile.b"));
  ASSERT_EQ(0, ::symlink("absent.txt", "dangling"));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("Makefile.b", "new"));
  struct stat status {};
  ASSERT_EQ(0, ::lstat("Makefile.b", &status));
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ("new", scratch.read("real/Makefile.b"));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("dangling", "made"));
  EXPECT_EQ("made", scratch.read("absent.txt"));
  EXPECT_EQ("Makefile.b absent.txt dangling real ", scratch.listing());
}

TEST(SafeSave, CannotOpenChangesNothing) {
  ScratchDirectory scratch;
  scratch.makeDirectory("Project.gen");
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("Project.gen", "x"));
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("missing/dir/file", "x"));
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("", "x"));
  if (::geteuid() != 0) {
    scratch.write("ro.gen", "keep");
    ASSERT_EQ(0, ::chmod("ro.gen", 0444));
    EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("ro.gen", "x"));
    EXPECT_EQ("keep", scratch.read("ro.gen"));
    scratch.makeDirectory("locked");
    ASSERT_EQ(0, ::chmod("locked", 0555));
    EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("locked/new", "x"));
  }
  EXPECT_EQ(std::string("Project.gen ") + (::geteuid() != 0 ? "locked ro.gen " : ""),
            scratch.listing());
}

TEST(SafeSave, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
  ScratchDirectory scratch;
  scratch.write("Makefile.b", "old content");
  const std::string big(64 * 1024, 'x');
  EXPECT_EQ(static_cast<int>(SaveResult::kCannotWrite),
            saveUnderSizeLimit("Makefile.b", big, 4096));
  EXPECT_EQ("old content", scratch.read("Makefile.b"));
  EXPECT_EQ(static_cast<int>(SaveResult::kCannotWrite),
            saveUnderSizeLimit("fresh.b", big, 4096));
  EXPECT_EQ("Makefile.b ", scratch.listing());
  EXPECT_EQ(static_cast<int>(SaveResult::kSaved), saveUnderSizeLimit("Makefile.b", "ok", 4096));
  EXPECT_EQ("ok", scratch.read("Makefile.b"));
}

}  // namespace
}  // namespace corvane

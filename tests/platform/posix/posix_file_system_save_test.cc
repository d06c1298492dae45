#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "support/child_process.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

constexpr uid_t kNobody = 65534;

// inChild for a user without privileges: run by the administrator, the
// child becomes nobody first, for whom permissions hold.
int asUnprivileged(const std::function<int()>& body) {
  return inChild([&body] {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      return 99;
    }
    return body();
  });
}

bool administrator() { return ::geteuid() == 0; }

// Gives a file to the user asUnprivileged runs as.
void handOver(const std::string& path) {
  if (administrator()) {
    ASSERT_EQ(0, ::lchown(path.c_str(), kNobody, kNobody)) << path;
  }
}

// Saves in a child process whose file-size limit is `limit` bytes, so that
// writes fail without any privilege; returns the child's SaveResult. The
// limit's signal is left as it is by default: it would end the program.
int saveUnderSizeLimit(const std::string& path, const std::string& content, rlim_t limit) {
  return inChild([&] {
    struct rlimit rl {limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &rl);
    return static_cast<int>(saveFileSafely(path, content));
  });
}

struct stat statusOf(const std::string& path) {
  struct stat status {};
  ::lstat(path.c_str(), &status);
  return status;
}

std::string listingOf(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += name + " ";
  return joined;
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
  // Without any write permission a file is read-only for the administrator
  // too, whom the system itself would let write.
  scratch.write("ro.gen", "keep");
  ASSERT_EQ(0, ::chmod("ro.gen", 0444));
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("ro.gen", "x"));
  EXPECT_EQ("keep", scratch.read("ro.gen"));
  scratch.makeDirectory("locked");
  handOver("locked");
  ASSERT_EQ(0, ::chmod("locked", 0555));
  EXPECT_EQ(static_cast<int>(SaveResult::kCannotOpen),
            asUnprivileged([] { return static_cast<int>(saveFileSafely("locked/new", "x")); }));
  EXPECT_EQ("Project.gen locked ro.gen ", scratch.listing());
  EXPECT_EQ("", listingOf("locked"));
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

// Special files are written to like any program writes to them, and stay
// what they are.
TEST(SafeSave, SpecialFilesAreWrittenToNeverReplaced) {
  ScratchDirectory scratch;
  // A device node of our own where we may make one; otherwise a link to the
  // system's, which an unprivileged test cannot replace whatever happens.
  const bool ownDevices = administrator() && ::mknod("null", S_IFCHR | 0666, makedev(1, 3)) == 0;
  if (!ownDevices) {
    ASSERT_EQ(0, ::symlink("/dev/null", "null"));
  }
  ASSERT_EQ(0, ::mkfifo("lonely", 0666));
  ASSERT_EQ(0, ::mkfifo("read", 0666));
  const int reader = ::open("read", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);

  struct Case {
    const char* name;
    SaveResult expected;
    mode_t type;
  };
  std::vector<Case> cases = {
      {"null", SaveResult::kSaved, S_IFCHR},
      {"lonely", SaveResult::kCannotOpen, S_IFIFO},  // no reader: cannot open, never waits
      {"read", SaveResult::kSaved, S_IFIFO},
  };
  if (ownDevices) {
    ASSERT_EQ(0, ::mknod("locked", S_IFCHR | 0444, makedev(1, 3)));
    cases.push_back({"locked", SaveResult::kCannotOpen, S_IFCHR});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, saveFileSafely(c.name, "new\r\n")) << c.name;
    struct stat status {};
    ASSERT_EQ(0, ::stat(c.name, &status)) << c.name;
    EXPECT_EQ(c.type, status.st_mode & S_IFMT) << c.name;
  }
  char got[16] = {};
  EXPECT_EQ(5, ::read(reader, got, sizeof got));
  EXPECT_EQ("new\r\n", std::string(got));
  ::close(reader);
  EXPECT_EQ(std::string(ownDevices ? "locked " : "") + "lonely null read ", scratch.listing());
}

// Where a rename could not keep everything the old file had, the file is
// rewritten in place; either way the save succeeds, the file keeps its
// owner, group, mode and links, and nothing is left beside it.
TEST(SafeSave, EveryDirectorySituationKeepsTheFileWhole) {
  ScratchDirectory scratch;
  struct Situation {
    const char* name;
    bool needsAdministrator;  // to give files to another user
    std::string file;
    std::function<void(const std::string& dir, const std::string& file)> prepare;
  };
  const std::vector<Situation> situations = {
      {"directory without write permission", false, "Project.gen",
       [](const std::string& dir, const std::string&) { ::chmod(dir.c_str(), 0555); }},
      {"sticky directory, file of another user", true, "Project.gen",
       [](const std::string& dir, const std::string& file) {
         ::lchown(file.c_str(), 0, 0);
         ::chmod(file.c_str(), 0666);
         ::lchown(dir.c_str(), 0, 0);
         ::chmod(dir.c_str(), 01777);
       }},
      {"group the user is not in", true, "Project.gen",
       [](const std::string&, const std::string& file) { ::lchown(file.c_str(), kNobody, 0); }},
      {"second hard link", false, "Project.gen",
       [](const std::string& dir, const std::string& file) {
         ::link(file.c_str(), (dir + "/other.gen").c_str());
       }},
      {"set-id bits", false, "Project.gen",
       [](const std::string&, const std::string& file) { ::chmod(file.c_str(), 06755); }},
      {"name of 250 bytes", false, std::string(250, 'n'),
       [](const std::string&, const std::string&) {}},
  };
  int number = 0;
  for (const Situation& situation : situations) {
    if (situation.needsAdministrator && !administrator()) continue;
    SCOPED_TRACE(situation.name);
    const std::string dir = "case" + std::to_string(++number);
    const std::string path = dir + "/" + situation.file;
    scratch.makeDirectory(dir);
    scratch.write(path, "the old content");
    handOver(dir);
    handOver(path);
    situation.prepare(dir, path);
    const struct stat before = statusOf(path);
    const std::string listing = listingOf(dir);
    EXPECT_EQ(static_cast<int>(SaveResult::kSaved),
              asUnprivileged([&path] { return static_cast<int>(saveFileSafely(path, "new")); }));
    EXPECT_EQ("new", scratch.read(path));
    const struct stat after = statusOf(path);
    EXPECT_EQ(before.st_uid, after.st_uid);
    EXPECT_EQ(before.st_gid, after.st_gid);
    EXPECT_EQ(before.st_mode, after.st_mode);
    EXPECT_EQ(before.st_nlink, after.st_nlink);
    EXPECT_EQ(listing, listingOf(dir));
  }
}

TEST(SafeSave, FailedRewriteInPlacePutsTheOldBytesBack) {
  ScratchDirectory scratch;
  scratch.write("Makefile.b", "old content");
  ASSERT_EQ(0, ::link("Makefile.b", "other.b"));
  const std::string big(64 * 1024, 'x');
  EXPECT_EQ(static_cast<int>(SaveResult::kCannotWrite),
            saveUnderSizeLimit("Makefile.b", big, 4096));
  EXPECT_EQ("old content", scratch.read("Makefile.b"));
  EXPECT_EQ("Makefile.b other.b ", scratch.listing());
  // Shorter new content leaves no old bytes behind it.
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("other.b", "new"));
  EXPECT_EQ("new", scratch.read("Makefile.b"));
}

// A save ended by SIGTERM part way leaves the old file or the new one,
// whole, and no temporary copy. The signal is sent once the copy is seen;
// should the save have finished first, it is tried again with more to write.
TEST(SafeSave, EndingSignalDuringASaveLeavesNoTemporaryCopy) {
  ScratchDirectory scratch;
  for (std::size_t size = std::size_t{32} << 20; size <= std::size_t{512} << 20; size *= 2) {
    scratch.write("Project.gen", "old");
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string content(size, 'x');
      ::_exit(static_cast<int>(saveFileSafely("Project.gen", content)));
    }
    int status = 0;
    for (;;) {
      if (scratch.listing() != "Project.gen ") {
        ::kill(child, SIGTERM);
        ::waitpid(child, &status, 0);
        break;
      }
      if (::waitpid(child, &status, WNOHANG) == child) break;
    }
    if (!WIFSIGNALED(status)) continue;  // finished before the signal came
    EXPECT_EQ(SIGTERM, WTERMSIG(status));
    EXPECT_EQ("Project.gen ", scratch.listing());
    const off_t saved = statusOf("Project.gen").st_size;
    EXPECT_TRUE(saved == 3 || saved == static_cast<off_t>(size)) << saved;
    return;
  }
  FAIL() << "every save finished before the signal reached it";
}

}  // namespace
}  // namespace corvane

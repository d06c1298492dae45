#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_calls.h"
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

using Call = SystemCalls::Call;

// The exit status of a save that a test ended part way.
constexpr int kEnded = 77;

// Removes everything in the current directory.
void emptyCurrentDirectory() {
  for (const auto& entry : std::filesystem::directory_iterator("."))
    std::filesystem::remove_all(entry.path());
}

// The names of Corvane's own files beside the saved one (the temporary file
// and the copy of the old bytes), each followed by a space.
std::string ownFilesIn(const std::string& directory) {
  std::string own;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("corvane-", 0) == 0) own += name + " ";
  }
  return own;
}

// Every extended attribute of a file (its ACL among them), by name.
std::map<std::string, std::string> attributesOf(const std::string& path) {
  std::map<std::string, std::string> attributes;
  char names[1024];
  const ssize_t size = ::llistxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    char value[256];
    const ssize_t length = ::lgetxattr(path.c_str(), names + at, value, sizeof value);
    attributes[names + at] = std::string(value, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
  }
  return attributes;
}

// A POSIX ACL as the system keeps it in an extended attribute: a version
// word, then per entry a 16-bit tag (1 owner, 2 named user, 4 group, 16
// mask, 32 other), 16-bit permissions and a 32-bit id.
std::string aclAttribute(std::initializer_list<std::array<unsigned, 3>> entries) {
  std::string bytes{'\2', '\0', '\0', '\0'};
  for (const auto& [tag, permissions, id] : entries) {
    for (const unsigned value : {tag, permissions, id & 0xffff, id >> 16}) {
      bytes += static_cast<char>(value & 0xff);
      bytes += static_cast<char>(value >> 8);
    }
  }
  return bytes;
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

// A link is followed only where the kernel would follow it with
// fs.protected_symlinks on, whatever the setting here: in a sticky directory
// writable by all, a link of the user's own or of the directory's owner, so
// that a link planted there by another user cannot send a save elsewhere.
// Every link of a chain counts. The cases of links that belong to someone
// else need the administrator, who alone can give them away.
TEST(SafeSave, LinksPlantedInASharedDirectoryAreNotFollowed) {
  ScratchDirectory scratch;
  struct Case {
    const char* name;
    mode_t directoryMode;
    bool nobodysDirectory;
    bool nobodysLink;
    bool chain;     // the name is a link of our own to the link in the directory
    bool dangling;  // the link points to no file
    bool followed;
  };
  const Case cases[] = {
      {"own link in a sticky directory", 01777, false, false, false, false, true},
      {"another user's link in a sticky directory", 01777, false, true, false, false, false},
      {"the same at the end of a chain", 01777, false, true, true, false, false},
      {"the same, dangling", 01777, false, true, false, true, false},
      {"link of the sticky directory's owner", 01777, true, true, false, false, true},
      {"another user's link in a directory that is not sticky", 0777, false, true, false, false,
       true},
  };
  scratch.makeDirectory("private");
  ASSERT_EQ(0, ::chmod("private", 0700));
  int number = 0;
  for (const Case& c : cases) {
    if (c.nobodysLink && !administrator()) continue;
    SCOPED_TRACE(c.name);
    const std::string shared = "shared" + std::to_string(++number);
    const std::string target = "private/file" + std::to_string(number);
    if (!c.dangling) scratch.write(target, "old");
    scratch.makeDirectory(shared);
    ASSERT_EQ(0, ::chmod(shared.c_str(), c.directoryMode));
    if (c.nobodysDirectory) handOver(shared);
    const std::string link = shared + "/Makefile.b";
    ASSERT_EQ(0, ::symlink(("../" + target).c_str(), link.c_str()));
    if (c.nobodysLink) handOver(link);
    std::string name = link;
    if (c.chain) {
      name = "chain" + std::to_string(number);
      ASSERT_EQ(0, ::symlink(link.c_str(), name.c_str()));
    }
    EXPECT_EQ(c.followed ? SaveResult::kSaved : SaveResult::kCannotOpen,
              saveFileSafely(name, "new"));
    if (c.dangling) {
      EXPECT_NE(0, ::access(target.c_str(), F_OK));
    } else {
      EXPECT_EQ(c.followed ? "new" : "old", scratch.read(target));
    }
    EXPECT_EQ("", ownFilesIn("private") + ownFilesIn(shared));
  }
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

// The real calls, but from the `from`th call of one kind on: that one
// fails with EIO (kOnce), or every one fails as a disk that starts failing
// does (kFromThenOn), or the process ends there as if killed (kEnding).
// Meanwhile it watches that nothing Corvane makes beside the file is open
// to group or others while bytes are written into it.
enum class Failing { kOnce, kFromThenOn, kEnding };

class FailingCalls : public SystemCalls {
 public:
  FailingCalls(Call kind, int from, Failing how) : kind_(kind), from_(from), how_(how) {}
  int made() const { return made_; }
  bool exposed() const { return exposed_; }

 protected:
  int failure(Call call) override {
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      if (call != Call::kWrite) break;
      if (entry.path().filename().string().rfind("corvane-", 0) == 0 &&
          (modeOf(entry.path().string()) & 077) != 0) {
        exposed_ = true;
      }
    }
    if (call != kind_ || ++made_ < from_ || (made_ > from_ && how_ == Failing::kOnce)) return 0;
    if (how_ == Failing::kEnding) ::_exit(kEnded);
    return EIO;
  }

 private:
  Call kind_;
  int from_;
  Failing how_;
  int made_ = 0;
  bool exposed_ = false;
};

// Every system call of a save fails in turn (once, and from then on), or
// the save ends there, on each way a save goes. Whatever fails, the file
// ends exactly old or new as the result says, with its mode, owner and
// extended attributes (ACLs among them; the directory's default ACL gives
// every new file one, which a file without must not gain); a new file gets
// the mode and ACL of any program's new file there. Nothing of Corvane's is
// left beside it but the copy of the old bytes when they could not be put
// back, and nothing it made is readable by others while written. Ended part
// way, only a rewrite in place is neither old nor new, and its copy holds
// the old bytes. A save makes exactly these calls of each kind (-1: some),
// so a step left out (the flush before the rename, say) shows too.
TEST(SafeSave, EveryFailingSystemCallLeavesTheFileOldOrNew) {
  ScratchDirectory scratch;
  constexpr unsigned kNoId = 0xffffffff;
  const std::string defaultAcl = aclAttribute(
      {{1, 7, kNoId}, {2, 6, kNobody}, {4, 4, kNoId}, {16, 6, kNoId}, {32, 4, kNoId}});
  const std::string fileAcl = aclAttribute(
      {{1, 6, kNoId}, {2, 4, kNobody}, {4, 4, kNoId}, {16, 4, kNoId}, {32, 0, kNoId}});
  const bool attributes =
      ::setxattr(".", "system.posix_acl_default", defaultAcl.data(), defaultAcl.size(), 0) == 0 &&
      ::setxattr(".", "user.corvane", "probe", 5, 0) == 0;
  const std::string oldContent = "the old content of the file, longer than the new\r\n";
  const std::string newContent = "the new content\r\n";
  struct Way {
    const char* name;
    bool exists;
    bool hardLink;    // makes the save rewrite the file in place
    bool otherOwner;  // nobody's file without an ACL, saved by the administrator
    std::map<Call, int> calls;
  };
  const Way ways[] = {
      {"new file", false, false, false,
       {{Call::kOpen, 2}, {Call::kWrite, 1}, {Call::kSync, 2}, {Call::kClose, 2},
        {Call::kRename, 1}, {Call::kChangeMode, 1}, {Call::kAttributes, -1}}},
      {"rename", true, false, false,
       {{Call::kOpen, 3}, {Call::kWrite, 1}, {Call::kSync, 2}, {Call::kClose, 3},
        {Call::kRename, 1}, {Call::kChangeMode, 1}, {Call::kAttributes, -1}}},
      {"rename, another user's file", true, false, true,
       {{Call::kOpen, 3}, {Call::kWrite, 1}, {Call::kSync, 2}, {Call::kClose, 3},
        {Call::kRename, 1}, {Call::kChangeMode, 1}, {Call::kChangeOwner, 1},
        {Call::kAttributes, -1}}},
      {"in place", true, true, false,
       {{Call::kOpen, 4}, {Call::kRead, 1}, {Call::kWrite, 2}, {Call::kCut, 1},
        {Call::kSync, 3}, {Call::kClose, 4}}},
  };
  const std::pair<Call, const char*> kinds[] = {
      {Call::kOpen, "open"},          {Call::kRead, "read"},      {Call::kWrite, "write"},
      {Call::kCut, "ftruncate"},      {Call::kSync, "fsync"},     {Call::kClose, "close"},
      {Call::kRename, "rename"},      {Call::kChangeMode, "fchmod"},
      {Call::kChangeOwner, "fchown"}, {Call::kAttributes, "xattr"}};
  for (const Way& way : ways) {
    // Only the administrator can give a file to another user.
    if (way.otherOwner && !administrator()) continue;
    const std::string before = way.exists ? oldContent : "";
    for (const auto& [kind, kindName] : kinds) {
      for (const Failing how : {Failing::kOnce, Failing::kFromThenOn, Failing::kEnding}) {
        for (int from = 1;; ++from) {
          SCOPED_TRACE(std::string(way.name) + ": " + kindName + " number " +
                       std::to_string(from) +
                       (how == Failing::kOnce         ? " fails"
                        : how == Failing::kFromThenOn ? " and every later one fail"
                                                      : " ends the save"));
          emptyCurrentDirectory();
          ::close(::open("reference", O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
          if (way.exists) {
            scratch.write("Project.gen", oldContent);
            ::removexattr("Project.gen", "system.posix_acl_access");
            ASSERT_EQ(0, ::chmod("Project.gen", 0644));
            ::setxattr("Project.gen", "user.corvane", "kept", 4, 0);
            if (!way.otherOwner) {
              ::setxattr("Project.gen", "system.posix_acl_access", fileAcl.data(),
                         fileAcl.size(), 0);
            }
          }
          if (way.hardLink) {
            ASSERT_EQ(0, ::link("Project.gen", "other.gen"));
          }
          if (way.otherOwner) handOver("Project.gen");
          const struct stat old = statusOf("Project.gen");
          const std::map<std::string, std::string> oldAttributes = attributesOf("Project.gen");
          FailingCalls calls(kind, from, how);
          const auto save = [&calls, &newContent] {
            return static_cast<int>(saveFileSafely("Project.gen", newContent, calls));
          };
          const int result = how == Failing::kEnding ? inChild(save) : save();
          EXPECT_FALSE(calls.exposed());
          const std::string now = scratch.read("Project.gen");
          const std::string own = ownFilesIn(".");
          const std::string firstOwn = own.substr(0, own.find(' '));
          if (result == kEnded) {
            if (now != before && now != newContent) {
              ASSERT_TRUE(way.hardLink);
              EXPECT_EQ(oldContent, scratch.read(firstOwn));
            }
            continue;
          }
          switch (static_cast<SaveResult>(result)) {
            case SaveResult::kSaved:
              EXPECT_EQ(newContent, now);
              EXPECT_EQ("", own);
              break;
            case SaveResult::kDamaged:
              // Only a put-back that failed too; the old bytes stay beside.
              ASSERT_TRUE(way.hardLink && how == Failing::kFromThenOn);
              ASSERT_NE(std::string::npos, own.find(kCrashCopySuffix)) << own;
              EXPECT_EQ(oldContent, scratch.read(firstOwn));
              break;
            case SaveResult::kCannotOpen:
            case SaveResult::kCannotWrite:
              EXPECT_EQ(before, now);
              EXPECT_EQ(way.exists, ::access("Project.gen", F_OK) == 0);
              EXPECT_EQ("", own);
              break;
          }
          const std::string model = way.exists ? "" : "reference";
          if (way.exists || result == static_cast<int>(SaveResult::kSaved)) {
            const struct stat after = statusOf("Project.gen");
            EXPECT_EQ(way.exists ? old.st_mode : statusOf("reference").st_mode, after.st_mode);
            EXPECT_EQ(way.exists ? old.st_uid : ::geteuid(), after.st_uid);
            EXPECT_EQ(way.exists ? oldAttributes : attributesOf("reference"),
                      attributesOf("Project.gen"));
          }
          if (how != Failing::kEnding && calls.made() >= from) continue;
          // The save made fewer calls of the kind: all have failed in turn.
          if (how == Failing::kOnce) {
            const auto expected = way.calls.find(kind);
            const int count = expected == way.calls.end() ? 0 : expected->second;
            if (count >= 0) {
              EXPECT_EQ(count, calls.made());
            } else {
              EXPECT_GT(calls.made(), 0);
            }
          }
          break;
        }
      }
    }
  }
  if (!attributes) {
    GTEST_SKIP() << "the temporary directory's file system keeps no user attributes or ACLs: "
                    "their copy was not tested";
  }
}

}  // namespace
}  // namespace corvane

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
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
    return static_cast<int>(saveFileSafely(path, content).result);
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

// The exit status of a save that a test ended part way, and what a save in
// a child process adds to its status when it saw something exposed.
constexpr int kEnded = 37;
constexpr int kExposed = 64;

// Removes everything in the current directory.
void emptyCurrentDirectory() {
  for (const auto& entry : std::filesystem::directory_iterator("."))
    std::filesystem::remove_all(entry.path());
}

// The names of Corvane's own files beside the saved one (the temporary file
// and the copy of the old bytes), sorted, each followed by a space.
std::string ownFilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("corvane-", 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::string own;
  for (const std::string& name : names) own += name + " ";
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
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("new.gen", "one\r\n").result);
  EXPECT_EQ(0644u, modeOf("new.gen"));
  ::umask(mask);
  ASSERT_EQ(0, ::chmod("new.gen", 0640));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("new.gen", "two").result);
  EXPECT_EQ("two", scratch.read("new.gen"));
  EXPECT_EQ(0640u, modeOf("new.gen"));
  // A directory that may be written but not read takes a new file too, with
  // the mode any new file gets there: named from outside it and from in it.
  scratch.makeDirectory("drop");
  handOver("drop");
  ASSERT_EQ(0, ::chmod("drop", 0333));
  for (const char* name : {"drop/outside.gen", "inside.gen"}) {
    EXPECT_EQ(static_cast<int>(SaveResult::kSaved), asUnprivileged([name] {
                ::umask(022);
                if (name[0] == 'i' && ::chdir("drop") != 0) return 98;
                return static_cast<int>(saveFileSafely(name, "x").result);
              })) << name;
  }
  ASSERT_EQ(0, ::chmod("drop", 0755));
  EXPECT_EQ(0644u, modeOf("drop/outside.gen"));
  EXPECT_EQ(0644u, modeOf("drop/inside.gen"));
  EXPECT_EQ("drop new.gen ", scratch.listing());
}

TEST(SafeSave, SymbolicLinkStaysALink) {
  ScratchDirectory scratch;
  scratch.makeDirectory("real");
  scratch.write("real/Makefile.b", "old");
  ASSERT_EQ(0, ::symlink("real/Makefile.b", "Makefile.b"));
  ASSERT_EQ(0, ::symlink("absent.txt", "dangling"));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("Makefile.b", "new").result);
  struct stat status {};
  ASSERT_EQ(0, ::lstat("Makefile.b", &status));
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ("new", scratch.read("real/Makefile.b"));
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("dangling", "made").result);
  EXPECT_EQ("made", scratch.read("absent.txt"));
  EXPECT_EQ("Makefile.b absent.txt dangling real ", scratch.listing());
}

TEST(SafeSave, CannotOpenChangesNothing) {
  ScratchDirectory scratch;
  scratch.makeDirectory("Project.gen");
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("Project.gen", "x").result);
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("missing/dir/file", "x").result);
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("", "x").result);
  // Without any write permission a file is read-only for the administrator
  // too, whom the system itself would let write.
  scratch.write("ro.gen", "keep");
  ASSERT_EQ(0, ::chmod("ro.gen", 0444));
  EXPECT_EQ(SaveResult::kCannotOpen, saveFileSafely("ro.gen", "x").result);
  EXPECT_EQ("keep", scratch.read("ro.gen"));
  scratch.makeDirectory("locked");
  handOver("locked");
  ASSERT_EQ(0, ::chmod("locked", 0555));
  EXPECT_EQ(static_cast<int>(SaveResult::kCannotOpen),
            asUnprivileged([] { return static_cast<int>(saveFileSafely("locked/new", "x").result); }));
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
    EXPECT_EQ(c.expected, saveFileSafely(c.name, "new\r\n").result) << c.name;
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
              asUnprivileged([&path] { return static_cast<int>(saveFileSafely(path, "new").result); }));
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
  EXPECT_EQ(SaveResult::kSaved, saveFileSafely("other.b", "new").result);
  EXPECT_EQ("new", scratch.read("Makefile.b"));
}

// A link is followed only where the kernel would follow it with
// fs.protected_symlinks on, whatever the setting here: in a sticky directory
// writable by all, a link of the user's own or of the directory's owner, so
// that a link planted there by another user cannot send a save elsewhere.
// Every link of a chain counts, and so does a link to a directory on the
// way. Saving, reading and finalName all reach a name the same way. The
// cases of links that belong to someone else need the administrator, who
// alone can give them away.
TEST(SafeSave, LinksPlantedInASharedDirectoryAreNotFollowed) {
  ScratchDirectory scratch;
  NativeFileSystem fs;
  struct Case {
    const char* name;
    mode_t directoryMode;
    bool nobodysDirectory;
    bool nobodysLink;
    bool chain;     // the name is a link of our own to the link in the directory
    bool onTheWay;  // the link leads to the private directory, not to the file
    bool dangling;  // the link points to no file
    bool followed;
  };
  const Case cases[] = {
      {"own link in a sticky directory", 01777, false, false, false, false, false, true},
      {"another user's link in a sticky directory", 01777, false, true, false, false, false,
       false},
      {"the same at the end of a chain", 01777, false, true, true, false, false, false},
      {"the same, dangling", 01777, false, true, false, false, true, false},
      {"another user's link to a directory on the way", 01777, false, true, false, true, false,
       false},
      {"the same, to a file not there yet", 01777, false, true, false, true, true, false},
      {"own link to a directory on the way", 01777, false, false, false, true, false, true},
      {"link of the sticky directory's owner", 01777, true, true, false, false, false, true},
      {"another user's link in a directory that is not sticky", 0777, false, true, false, false,
       false, true},
  };
  scratch.makeDirectory("private");
  ASSERT_EQ(0, ::chmod("private", 0700));
  int number = 0;
  for (const Case& c : cases) {
    if (c.nobodysLink && !administrator()) continue;
    SCOPED_TRACE(c.name);
    const std::string shared = "shared" + std::to_string(++number);
    const std::string file = "file" + std::to_string(number);
    const std::string target = "private/" + file;
    if (!c.dangling) scratch.write(target, "old");
    scratch.makeDirectory(shared);
    ASSERT_EQ(0, ::chmod(shared.c_str(), c.directoryMode));
    if (c.nobodysDirectory) handOver(shared);
    const std::string link = shared + (c.onTheWay ? "/evil" : "/Makefile.b");
    ASSERT_EQ(0, ::symlink(c.onTheWay ? "../private" : ("../" + target).c_str(), link.c_str()));
    if (c.nobodysLink) handOver(link);
    std::string name = c.onTheWay ? link + "/" + file : link;
    if (c.chain) {
      name = "chain" + std::to_string(number);
      ASSERT_EQ(0, ::symlink(link.c_str(), name.c_str()));
    }
    // Not followed, the name is as far as the links may be followed.
    EXPECT_EQ(c.followed ? target : c.chain ? link : name, fs.finalName(name));
    EXPECT_EQ(c.followed ? ReadStatus::kRead : ReadStatus::kFailed, fs.readFile(name, 100).status);
    EXPECT_EQ(c.followed ? SaveResult::kSaved : SaveResult::kCannotOpen,
              saveFileSafely(name, "new").result);
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
      ::_exit(static_cast<int>(saveFileSafely("Project.gen", content).result));
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

// Which of a save's files a call is about, by the name it is given or the
// open file it is made on: "temporary", "copy", "target" (Project.gen), or
// "" (the directory).
std::string roleOf(int fd, const std::string& name) {
  std::string file = name;
  if (file.empty() && fd >= 0) {
    char link[PATH_MAX];
    const ssize_t length =
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link);
    if (length > 0) file.assign(link, static_cast<std::size_t>(length));
    file = file.substr(file.rfind('/') + 1);
  }
  if (file.rfind("corvane-", 0) == 0) {
    return file.find(".tmp") != std::string::npos ? "temporary" : "copy";
  }
  return file.rfind("Project.gen", 0) == 0 ? "target" : "";
}

// The real calls, but from the `from`th call of one kind on: that one
// fails with EIO (kOnce), or every one fails as a disk that starts failing
// does (kFromThenOn), or the process ends there as if killed (kEnding) or by
// SIGTERM (kSignalled), which the save's own handler sees first. Meanwhile
// it watches that nothing Corvane makes beside the file is open to group or
// others while bytes are written into it, and notes every call with the
// file it is about.
enum class Failing { kOnce, kFromThenOn, kEnding, kSignalled };

class FailingCalls : public SystemCalls {
 public:
  // Without arguments no call fails.
  explicit FailingCalls(Call kind = Call::kOpen, int from = 1 << 30, Failing how = Failing::kOnce)
      : kind_(kind), from_(from), how_(how) {}
  int made() const { return made_; }
  bool exposed() const { return exposed_; }
  // The file that the first failing call was about (see roleOf).
  const std::string& failedOn() const { return failedOn_; }
  const std::vector<std::pair<Call, std::string>>& log() const { return log_; }

 protected:
  int failure(Call call, int fd, const std::string& name) override {
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      if (call != Call::kWrite) break;
      if (entry.path().filename().string().rfind("corvane-", 0) == 0 &&
          (modeOf(entry.path().string()) & 077) != 0) {
        exposed_ = true;
      }
    }
    log_.emplace_back(call, roleOf(fd, name));
    if (call != kind_ || ++made_ < from_ || (made_ > from_ && how_ == Failing::kOnce)) return 0;
    if (made_ == from_) failedOn_ = log_.back().second;
    // A child process tells what it saw in its status.
    if (how_ == Failing::kEnding || (how_ == Failing::kSignalled && exposed_)) {
      ::_exit(kEnded | (exposed_ ? kExposed : 0));
    }
    if (how_ == Failing::kSignalled) {
      ::raise(SIGTERM);
      return 0;
    }
    return EIO;
  }

 private:
  Call kind_;
  int from_;
  Failing how_;
  int made_ = 0;
  bool exposed_ = false;
  std::string failedOn_;
  std::vector<std::pair<Call, std::string>> log_;
};

// Every system call of a save fails in turn (once, and from then on), or
// the save is ended there (as if killed, and by SIGTERM), on each way a save
// goes. Whatever fails, the file ends exactly old or new as the result says,
// with its mode, owner and extended attributes (ACLs among them; the
// directory's default ACL gives every new file one, which a file without
// must not gain); a new file gets the mode and ACL of any program's new file
// there. Nothing of Corvane's is left beside it but what the outcome names
// (the copy of the old bytes when they could not be put back, files that
// could not be removed), none of it readable by others, a temporary file
// emptied; nothing it made is readable by others while written. A copy of
// the old bytes that cannot be made (EIO) stops a rewrite in place. Killed
// part way, only a rewrite in place is neither old nor new, and its copy
// holds the old bytes; SIGTERM leaves the file old or new and nothing else.
// A file that may hold neither, tried again and failing cleanly, is still
// reported so, with the copy of its true old bytes.
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
  };
  const Way ways[] = {
      {"new file", false, false, false},
      {"rename", true, false, false},
      {"rename, another user's file", true, false, true},
      {"in place", true, true, false},
  };
  const std::pair<Call, const char*> kinds[] = {
      {Call::kOpen, "open"},          {Call::kRead, "read"},       {Call::kWrite, "write"},
      {Call::kCut, "ftruncate"},      {Call::kSync, "fsync"},      {Call::kClose, "close"},
      {Call::kRename, "rename"},      {Call::kRemove, "unlink"},   {Call::kChangeMode, "fchmod"},
      {Call::kChangeOwner, "fchown"}, {Call::kAttributes, "xattr"}, {Call::kInodeFlags, "flags"}};
  for (const Way& way : ways) {
    // Only the administrator can give a file to another user.
    if (way.otherOwner && !administrator()) continue;
    const std::string before = way.exists ? oldContent : "";
    for (const auto& [kind, kindName] : kinds) {
      for (const Failing how :
           {Failing::kOnce, Failing::kFromThenOn, Failing::kEnding, Failing::kSignalled}) {
        const bool inAChild = how == Failing::kEnding || how == Failing::kSignalled;
        for (int from = 1;; ++from) {
          SCOPED_TRACE(std::string(way.name) + ": " + kindName + " number " +
                       std::to_string(from) +
                       (how == Failing::kOnce         ? " fails"
                        : how == Failing::kFromThenOn ? " and every later one fail"
                        : how == Failing::kEnding     ? " ends the save"
                                                      : " brings SIGTERM"));
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
          SaveOutcome outcome;
          int status = 0;
          bool exposedInChild = false;
          if (inAChild) {
            status = inChild([&calls, &newContent] {
              const SaveResult result = saveFileSafely("Project.gen", newContent, calls).result;
              return static_cast<int>(result) | (calls.exposed() ? kExposed : 0);
            });
            if (status < kSignalled) {
              exposedInChild = (status & kExposed) != 0;
              status &= ~kExposed;
            }
          } else {
            outcome = saveFileSafely("Project.gen", newContent, calls);
            status = static_cast<int>(outcome.result);
          }
          EXPECT_FALSE(calls.exposed() || exposedInChild);
          const std::string now = scratch.read("Project.gen");
          const std::string own = ownFilesIn(".");
          if (status == kEnded) {
            if (now != before && now != newContent) {
              ASSERT_TRUE(way.hardLink);
              EXPECT_EQ(oldContent, scratch.read(own.substr(0, own.find(' '))));
            }
            continue;
          }
          if (status == kSignalled + SIGTERM) {
            EXPECT_TRUE(now == before || now == newContent) << now;
            EXPECT_EQ("", own);
            continue;
          }
          if (inAChild) {
            // The save was over before the call came: nothing failed.
            EXPECT_EQ(static_cast<int>(SaveResult::kSaved), status);
            outcome.result = SaveResult::kSaved;
          }
          switch (outcome.result) {
            case SaveResult::kSaved:
              EXPECT_EQ(newContent, now);
              break;
            case SaveResult::kDamaged:
              // Only a put-back that failed too; the old bytes stay beside.
              ASSERT_TRUE(way.hardLink && how == Failing::kFromThenOn);
              EXPECT_EQ(oldContent, scratch.read(outcome.oldContent));
              break;
            case SaveResult::kCannotOpen:
            case SaveResult::kCannotWrite:
              EXPECT_EQ(before, now);
              EXPECT_EQ(way.exists, ::access("Project.gen", F_OK) == 0);
              break;
          }
          if (kind == Call::kOpen && calls.failedOn() == "copy") {
            EXPECT_EQ(SaveResult::kCannotWrite, outcome.result);
          }
          std::vector<std::string> named = outcome.leftOver;
          if (!outcome.oldContent.empty()) named.push_back(outcome.oldContent);
          std::sort(named.begin(), named.end());
          std::string expectedOwn;
          for (const std::string& name : named) {
            expectedOwn += name + " ";
            EXPECT_EQ(0u, modeOf(name) & 077) << name;
            if (name.find(".tmp") != std::string::npos) {
              EXPECT_EQ("", scratch.read(name));
            }
          }
          EXPECT_EQ(expectedOwn, own);
          if (way.exists || outcome.result == SaveResult::kSaved) {
            const struct stat after = statusOf("Project.gen");
            EXPECT_EQ(way.exists ? old.st_mode : statusOf("reference").st_mode, after.st_mode);
            EXPECT_EQ(way.exists ? old.st_uid : ::geteuid(), after.st_uid);
            EXPECT_EQ(way.exists ? oldAttributes : attributesOf("reference"),
                      attributesOf("Project.gen"));
          }
          if (outcome.result == SaveResult::kDamaged) {
            // Tried again, the cut fails once and the damaged bytes go back:
            // the file is as the first try left it, and both tries together
            // still say that it may hold neither, with the first copy.
            FailingCalls again(Call::kCut, 1, Failing::kOnce);
            const SaveOutcome retried = saveFileSafely("Project.gen", newContent, again);
            EXPECT_EQ(SaveResult::kCannotWrite, retried.result);
            EXPECT_EQ(now, scratch.read("Project.gen"));
            EXPECT_EQ(own, ownFilesIn("."));
            const SaveOutcome both = afterRetry(outcome, retried);
            EXPECT_EQ(SaveResult::kDamaged, both.result);
            EXPECT_EQ(outcome.oldContent, both.oldContent);
          }
          if (!inAChild && calls.made() >= from) continue;
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

// The first and last place of a call about a file in a save's calls; -1
// when there is none.
int firstOf(const FailingCalls& calls, Call call, const std::string& role) {
  const auto& log = calls.log();
  for (std::size_t i = 0; i < log.size(); ++i)
    if (log[i] == std::make_pair(call, role)) return static_cast<int>(i);
  return -1;
}

int lastOf(const FailingCalls& calls, Call call, const std::string& role) {
  const auto& log = calls.log();
  for (std::size_t i = log.size(); i-- > 0;)
    if (log[i] == std::make_pair(call, role)) return static_cast<int>(i);
  return -1;
}

// Whether the file was flushed between two places of the calls.
bool flushedBetween(const FailingCalls& calls, const std::string& role, int after, int before) {
  const auto& log = calls.log();
  for (int i = after + 1; i < before && after >= 0; ++i)
    if (log[static_cast<std::size_t>(i)] == std::make_pair(Call::kSync, role)) return true;
  return false;
}

// What makes a save survive a crash is the order of its steps: a file's
// bytes are on the disk before it takes the name (or a crash could leave the
// name on an empty file), the copy of the old bytes before the first new
// byte goes over them, and the rewritten file before its copy goes.
TEST(SafeSave, BytesAreOnTheDiskBeforeTheyCount) {
  ScratchDirectory scratch;
  for (const bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "replaced" : "new");
    emptyCurrentDirectory();
    if (exists) scratch.write("Project.gen", "old");
    FailingCalls calls;
    ASSERT_EQ(SaveResult::kSaved, saveFileSafely("Project.gen", "new", calls).result);
    const int rename = firstOf(calls, Call::kRename, "temporary");
    ASSERT_GE(rename, 0);
    EXPECT_TRUE(flushedBetween(calls, "temporary", lastOf(calls, Call::kWrite, "temporary"),
                               rename));
  }
  emptyCurrentDirectory();
  scratch.write("Project.gen", "old");
  ASSERT_EQ(0, ::link("Project.gen", "other.gen"));
  FailingCalls calls;
  ASSERT_EQ(SaveResult::kSaved, saveFileSafely("Project.gen", "new", calls).result);
  const int firstNewByte = firstOf(calls, Call::kWrite, "target");
  const int copyRemoved = firstOf(calls, Call::kRemove, "copy");
  ASSERT_GE(firstNewByte, 0);
  ASSERT_GE(copyRemoved, 0);
  EXPECT_TRUE(flushedBetween(calls, "copy", lastOf(calls, Call::kWrite, "copy"), firstNewByte));
  EXPECT_TRUE(flushedBetween(calls, "target", lastOf(calls, Call::kCut, "target"), copyRemoved));
}

// A save through a rename makes a new file (a new inode) with exactly the
// attributes of the old one: none for a plain file, and an attribute of no
// value kept as it is.
TEST(SafeSave, PlainFilesAndEmptyAttributesGoThroughARename) {
  ScratchDirectory scratch;
  for (const bool emptyValue : {false, true}) {
    SCOPED_TRACE(emptyValue ? "an empty user attribute" : "a plain file");
    scratch.write("Project.gen", "old");
    if (emptyValue && ::setxattr("Project.gen", "user.empty", "", 0, 0) != 0) {
      GTEST_SKIP() << "the temporary directory's file system keeps no user attributes";
    }
    const std::map<std::string, std::string> attributes = attributesOf("Project.gen");
    ASSERT_EQ(emptyValue ? 1u : 0u, attributes.size());
    const ino_t inode = statusOf("Project.gen").st_ino;
    EXPECT_EQ(SaveResult::kSaved, saveFileSafely("Project.gen", "new").result);
    EXPECT_NE(inode, statusOf("Project.gen").st_ino);
    EXPECT_EQ(attributes, attributesOf("Project.gen"));
    EXPECT_EQ("Project.gen ", scratch.listing());
  }
}

// The flags chattr sets stay with the file: copied to the new one where the
// user may set them, or kept by a rewrite in place where the new file
// cannot have them.
TEST(SafeSave, InodeFlagsStay) {
  ScratchDirectory scratch;
  class NoFlagsOnNewFiles : public SystemCalls {
    int failure(Call call, int fd, const std::string& name) override {
      return call == Call::kInodeFlags && roleOf(fd, name) == "temporary" ? EPERM : 0;
    }
  };
  constexpr int kKept = FS_NODUMP_FL | FS_NOATIME_FL;  // +d +A
  const auto flagsOf = [](const char* path) {
    int flags = -1;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
    ::close(fd);
    return flags;
  };
  for (const bool newFilesMayHaveThem : {true, false}) {
    SCOPED_TRACE(newFilesMayHaveThem ? "copied" : "rewritten in place");
    scratch.write("Project.gen", "old");
    int flags = flagsOf("Project.gen") | kKept;
    const int fd = ::open("Project.gen", O_RDONLY | O_CLOEXEC);
    const bool set = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    if (!set) GTEST_SKIP() << "the temporary directory's file system keeps no +d or +A";
    const ino_t inode = statusOf("Project.gen").st_ino;
    NoFlagsOnNewFiles refusing;
    SystemCalls real;
    SystemCalls& calls = newFilesMayHaveThem ? real : refusing;
    EXPECT_EQ(SaveResult::kSaved, saveFileSafely("Project.gen", "new", calls).result);
    EXPECT_EQ(kKept, flagsOf("Project.gen") & kKept);
    EXPECT_EQ(newFilesMayHaveThem, inode != statusOf("Project.gen").st_ino);
    EXPECT_EQ("new", scratch.read("Project.gen"));
    EXPECT_EQ("Project.gen ", scratch.listing());
  }
}

}  // namespace
}  // namespace corvane

#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "support/scratch_directory.h"

namespace corvane {
namespace {

constexpr std::size_t kWhole = 1 << 20;  // more than any file these tests read

std::vector<std::string> sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(NativeFileSystem, CurrentDirectoryIsAbsolute) {
  ScratchDirectory scratch("proj.v2");
  NativeFileSystem fs;
  EXPECT_EQ(scratch.path(), fs.currentDirectory());
}

TEST(NativeFileSystem, ListMatchingIgnoresCaseAndIncludesDirectories) {
  ScratchDirectory scratch;
  for (const char* name : {"a.cpp", "B.CPP", "c.Cpp", "d.c", "e.cppx", "fcpp", ".cpp", "g.h"}) {
    scratch.write(name, "");
  }
  scratch.makeDirectory("dir.cpp");
  NativeFileSystem fs;
  EXPECT_EQ((std::vector<std::string>{".cpp", "B.CPP", "a.cpp", "c.Cpp", "dir.cpp"}),
            sorted(fs.listMatching("cpp")));
  EXPECT_EQ((std::vector<std::string>{"d.c"}), fs.listMatching("c"));
  EXPECT_EQ((std::vector<std::string>{"d.c"}), fs.listMatching("C"));
  // One pass for several extensions finds what one pass for each does.
  EXPECT_EQ(fs.listMatchingEach({"cpp", "C", "h", "x"}),
            (std::vector<std::vector<std::string>>{fs.listMatching("cpp"), fs.listMatching("C"),
                                                   fs.listMatching("h"), {}}));
}

TEST(NativeFileSystem, SplitPathWithEitherSeparator) {
  NativeFileSystem fs;
  PathParts unix = fs.splitPath("/usr/lib/my.prog.c");
  EXPECT_EQ("", unix.drive);
  EXPECT_EQ("/usr/lib/", unix.directory);
  EXPECT_EQ("my.prog", unix.name);
  EXPECT_EQ(".c", unix.extension);
  PathParts windows = fs.splitPath("C:\\Borland\\Bin\\corvane.exe");
  EXPECT_EQ("C:\\Borland\\Bin\\", windows.directory);
  EXPECT_EQ("corvane", windows.name);
  EXPECT_EQ(".exe", windows.extension);
  PathParts bare = fs.splitPath("a.dir/work");
  EXPECT_EQ("a.dir/", bare.directory);
  EXPECT_EQ("work", bare.name);
  EXPECT_EQ("", bare.extension);
}

// What a read found, as one text a table can hold.
std::string found(const FileContent& file) {
  const char* const kinds[] = {"read ", "absent", "not a plain file", "failed: "};
  return kinds[static_cast<int>(file.status)] + file.bytes + file.reason;
}

// Plain files are read; what is not there is absent, even below a file
// taken for a directory; what never ends is not read; anything else that
// stops the read is a failure with the system's reason.
TEST(NativeFileSystem, ReadFileTellsBytesAbsenceAndFailureApart) {
  ScratchDirectory scratch;
  const std::string bytes("a\r\n\0\x1a\xff", 6);
  scratch.write("x.bin", bytes);
  scratch.write("empty", "");
  scratch.makeDirectory("x.cpp");
  ASSERT_EQ(0, ::mkfifo("pipe.cpp", 0644));
  ASSERT_EQ(0, ::symlink("/dev/zero", "zero.cpp"));
  ASSERT_EQ(0, ::symlink("x.bin", "link.cpp"));
  ASSERT_EQ(0, ::symlink("nowhere", "dangling.gen"));
  const std::pair<const char*, std::string> cases[] = {
      {"x.bin", "read " + bytes}, {"empty", "read "}, {"link.cpp", "read " + bytes},
      {"absent", "absent"}, {"x.bin/Project.gen", "absent"}, {"dangling.gen", "absent"},
      {"pipe.cpp", "not a plain file"}, {"zero.cpp", "not a plain file"},
      {"x.cpp", "failed: Is a directory"},
  };
  NativeFileSystem fs;
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(found(fs.readFile(name, kWhole)), expected) << name;
}

// Two names name one file when a save under one would replace what the
// other names: through links, other spellings, or as the same new name.
TEST(NativeFileSystem, SameFileFollowsLinksAndSpellings) {
  ScratchDirectory scratch;
  scratch.write("x.c", "");
  scratch.write("y.c", "");
  scratch.makeDirectory("sub");
  ASSERT_EQ(0, ::link("x.c", "hard.c"));
  ASSERT_EQ(0, ::symlink("x.c", "soft.b"));
  NativeFileSystem fs;
  for (const char* same : {"x.c", "./x.c", "hard.c", "soft.b", "sub/../x.c"})
    EXPECT_TRUE(fs.sameFile("x.c", same)) << same;
  EXPECT_TRUE(fs.sameFile("new.b", "./new.b"));
  for (const char* other : {"y.c", "new.b", "X.C"})
    EXPECT_FALSE(fs.sameFile("x.c", other)) << other;
  EXPECT_FALSE(fs.sameFile("new.b", "sub/new.b"));
  EXPECT_FALSE(fs.sameFile("", ""));

  // Each name's first candidate that sameFile finds the same, with one
  // lookup of each name and candidate, as pair by pair.
  const std::vector<std::string> candidates = {"", "y.c", "sub/new.b", "./new.b",
                                               "soft.b", "hard.c", "x.c"};
  const std::vector<std::string> names = {"x.c", "new.b", "y.c", "", "gone.c", "sub/../hard.c"};
  const std::size_t none = candidates.size();
  EXPECT_EQ(fs.firstSameFiles(names, candidates),
            (std::vector<std::size_t>{4, 3, 1, none, none, 4}));
  EXPECT_EQ(fs.firstSameFiles(names, candidates),
            fs.FileSystem::firstSameFiles(names, candidates));
}

// The name a save would write: links followed to the end, a dangling one to
// the name it would create, relative targets from the link's directory.
TEST(NativeFileSystem, FinalNameFollowsLinksToWhatASaveWouldWrite) {
  ScratchDirectory scratch;
  scratch.write("util.h", "");
  scratch.makeDirectory("sub");
  ASSERT_EQ(0, ::symlink("util.h", "Project.gen"));
  ASSERT_EQ(0, ::symlink("Project.gen", "chain.gen"));
  ASSERT_EQ(0, ::symlink("Makefile.b", "dangling.gen"));
  ASSERT_EQ(0, ::symlink("../util.h", "sub/up.gen"));
  ASSERT_EQ(0, ::symlink("/nowhere/new.c", "absolute.gen"));
  ASSERT_EQ(0, ::symlink("loop.gen", "loop.gen"));
  const std::pair<const char*, const char*> cases[] = {
      {"util.h", "util.h"},          {"absent.gen", "absent.gen"},
      {"Project.gen", "util.h"},     {"./Project.gen", "util.h"},
      {"chain.gen", "util.h"},       {"dangling.gen", "Makefile.b"},
      {"sub/up.gen", "util.h"},      {"absolute.gen", "/nowhere/new.c"},
      {"loop.gen", "loop.gen"},
  };
  NativeFileSystem fs;
  for (const auto& [name, final] : cases) EXPECT_EQ(fs.finalName(name), final) << name;
}

// Files that claim far more than they hold, or nothing while they never
// end, are read only up to the bound asked for.
TEST(NativeFileSystem, ReadFileStopsAtTheBound) {
  ScratchDirectory scratch;
  const int sparse = ::open("huge.c", O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(sparse, 0);
  ASSERT_EQ(0, ::ftruncate(sparse, off_t{100} << 30));
  ::close(sparse);
  ASSERT_EQ(0, ::symlink("/proc/self/pagemap", "pagemap.cpp"));
  scratch.write("small", "abcdef");
  NativeFileSystem fs;
  EXPECT_EQ(std::string(100000, '\0'), fs.readFile("huge.c", 100000).bytes);
  const FileContent endless = fs.readFile("pagemap.cpp", 300000);
  ASSERT_EQ(endless.status, ReadStatus::kRead);
  EXPECT_EQ(300000u, endless.bytes.size());
  EXPECT_EQ("abc", fs.readFile("small", 3).bytes);
  EXPECT_EQ("abcdef", fs.readFile("small", 6).bytes);
}

TEST(NativeFileSystem, WritableMeansPresentAndNotReadOnly) {
  ScratchDirectory scratch;
  scratch.write("rw", "");
  scratch.write("ro", "");
  ASSERT_EQ(0, ::chmod("ro", 0444));
  NativeFileSystem fs;
  EXPECT_TRUE(fs.isWritable("rw"));
  EXPECT_FALSE(fs.isWritable("absent"));
  // Read-only for the administrator too, whom access() would let write.
  EXPECT_FALSE(fs.isWritable("ro"));
}

TEST(NativeFileSystem, ProgramPathIsThisExecutable) {
  NativeFileSystem fs;
  std::string path = fs.programPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ('/', path[0]);
  EXPECT_EQ("corvane_tests", fs.splitPath(path).name);
}

TEST(NativeFileSystem, NativeFileSystemIsPosix) {
  EXPECT_NE(nullptr, dynamic_cast<NativeFileSystem*>(makeNativeFileSystem().get()));
}

}  // namespace
}  // namespace corvane

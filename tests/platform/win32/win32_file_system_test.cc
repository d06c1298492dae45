#include "platform/native_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_directory_test.h"
#include "platform/win32/windows_api.h"

namespace corvane {
namespace {

class NativeFileSystemTest : public Win32DirectoryTest {
 protected:
  NativeFileSystem fs_;
};

using Names = std::vector<std::string>;

}  // namespace

// A read compares equal to the bytes it gave; a file that was not read
// gives none to compare.
static bool operator==(const FileContent& file, const std::string& bytes) {
  return file.status == ReadStatus::kRead && file.bytes == bytes;
}

namespace {

constexpr std::size_t kWhole = 1 << 20;  // more than any file these tests read

TEST_F(NativeFileSystemTest, CurrentDirectoryIsTheAbsolutePathOfTheWorkingDirectory) {
  const std::string current = fs_.currentDirectory();
  ASSERT_GE(current.size(), 3u);
  EXPECT_EQ(current[1], ':');
  EXPECT_EQ(current[2], '\\');
  const std::string ownName = fs_.splitPath(directory_).name;
  EXPECT_EQ(fs_.splitPath(current).name, ownName);
  EXPECT_TRUE(fs_.exists(current));
}

TEST_F(NativeFileSystemTest, ListsNamesEndingInTheExtensionInAnyCaseDirectoriesIncluded) {
  writeFile("a.cpp", "");
  writeFile("B.CPP", "");
  writeFile("c.c", "");
  writeFile("d.cc", "");
  writeFile("e.cppx", "");
  writeFile("fcpp", "");
  ASSERT_TRUE(CreateDirectoryA("sub.Cpp", nullptr));

  EXPECT_EQ(sorted(fs_.listMatching("cpp")), (Names{"B.CPP", "a.cpp", "sub.Cpp"}));
  EXPECT_EQ(sorted(fs_.listMatching("c")), (Names{"c.c"}));
  EXPECT_EQ(sorted(fs_.listMatching("CC")), (Names{"d.cc"}));
  EXPECT_TRUE(fs_.listMatching("h").empty());
}

TEST_F(NativeFileSystemTest, ExistsForFilesAndDirectoriesUnderEitherSeparator) {
  writeFile("here.txt", "x");
  ASSERT_TRUE(CreateDirectoryA("Bin", nullptr));
  writeFile("Bin\\Bcc32.exe", "");

  EXPECT_TRUE(fs_.exists("here.txt"));
  EXPECT_TRUE(fs_.exists("HERE.TXT"));
  EXPECT_TRUE(fs_.exists("Bin"));
  EXPECT_TRUE(fs_.exists(directory_ + "\\Bin\\Bcc32.exe"));
  EXPECT_TRUE(fs_.exists("Bin/Bcc32.exe"));
  EXPECT_FALSE(fs_.exists("absent.txt"));
  EXPECT_FALSE(fs_.exists("Bin\\absent.exe"));
}

TEST_F(NativeFileSystemTest, WritableOnlyForExistingFilesWithoutTheReadOnlyAttribute) {
  writeFile("open.b", "");
  writeFile("locked.b", "");
  ASSERT_TRUE(SetFileAttributesA("locked.b", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateDirectoryA("folder.b", nullptr));

  EXPECT_TRUE(fs_.isWritable("open.b"));
  EXPECT_FALSE(fs_.isWritable("locked.b"));
  EXPECT_FALSE(fs_.isWritable("folder.b"));
  EXPECT_FALSE(fs_.isWritable("absent.b"));
}

TEST_F(NativeFileSystemTest, ReadsEveryByteAsStored) {
  const std::string content(
      "line one\r\nline two\n\x1A"
      "after\0end",
      27);
  writeFile("data.gen", content);
  ASSERT_TRUE(CreateDirectoryA("folder", nullptr));

  EXPECT_EQ(fs_.readFile("data.gen", kWhole), content);
  writeFile("empty", "");
  EXPECT_EQ(fs_.readFile("empty", kWhole), std::string());
  EXPECT_EQ(fs_.readFile("absent", kWhole).status, ReadStatus::kAbsent);
  EXPECT_EQ(fs_.readFile("missing\\Project.gen", kWhole).status, ReadStatus::kAbsent);
  const FileContent folder = fs_.readFile("folder", kWhole);
  EXPECT_EQ(folder.status, ReadStatus::kFailed);
  EXPECT_TRUE(!folder.reason.empty() && folder.reason.back() != '.') << folder.reason;
  // Up to the bound asked for; a device is no file to read.
  EXPECT_EQ(fs_.readFile("data.gen", 10), content.substr(0, 10));
  EXPECT_EQ(fs_.readFile("NUL", kWhole).status, ReadStatus::kNotPlainFile);
}

// Every name of a file is the same file: its full path in any case, a
// second hard link, its 8.3 name; names not there yet by their full paths.
TEST_F(NativeFileSystemTest, SameFileFindsEveryNameOfAFile) {
  writeFile("util.c", "");
  writeFile("a longer name.gen", "");
  ASSERT_TRUE(CreateHardLinkA("linked.c", "util.c", nullptr));
  char shortName[MAX_PATH] = {};
  GetShortPathNameA("a longer name.gen", shortName, sizeof shortName);
  for (const char* same : {"UTIL.C", ".\\util.c", "sub\\..\\Util.c", "sub/../util.c", "linked.c"})
    EXPECT_TRUE(fs_.sameFile("util.c", same)) << same;
  for (const char* other : {"sub\\util.c", "util.cpp", "a longer name.gen", ""})
    EXPECT_FALSE(fs_.sameFile("util.c", other)) << other;
  EXPECT_TRUE(fs_.sameFile("absent.c", ".\\ABSENT.C"));
  EXPECT_FALSE(fs_.sameFile("absent.c", "absent.cpp"));
  const bool shortNames = std::string(shortName) != "a longer name.gen" && shortName[0] != '\0';
  if (shortNames) {
    EXPECT_TRUE(fs_.sameFile("a longer name.gen", shortName)) << shortName;
  }
  // Each name looked up once, against every candidate.
  EXPECT_EQ(fs_.firstSameFiles({"util.c", "a longer name.gen", "absent.c", "other.c"},
                               {"x.c", shortNames ? shortName : "a longer name.gen", "linked.c",
                                "ABSENT.c"}),
            (std::vector<std::size_t>{2, 1, 3, 4}));
}

TEST_F(NativeFileSystemTest, ProgramPathNamesTheRunningExecutable) {
  const std::string path = fs_.programPath();
  const PathParts parts = fs_.splitPath(path);
  EXPECT_EQ(parts.drive.size(), 2u);
  EXPECT_EQ(parts.name, "corvane_tests");
  EXPECT_TRUE(parts.extension == ".exe" || parts.extension == ".EXE") << parts.extension;
  EXPECT_TRUE(fs_.exists(path));
}

TEST(WindowsSplitPath, SeparatesDriveDirectoryNameAndLastExtension) {
  NativeFileSystem fs;
  const auto check = [&fs](const std::string& path, const PathParts& expected) {
    const PathParts parts = fs.splitPath(path);
    EXPECT_EQ(parts.drive, expected.drive) << path;
    EXPECT_EQ(parts.directory, expected.directory) << path;
    EXPECT_EQ(parts.name, expected.name) << path;
    EXPECT_EQ(parts.extension, expected.extension) << path;
  };
  check("C:\\Borland\\Bcc55\\Bin\\corvane.exe",
        {"C:", "\\Borland\\Bcc55\\Bin\\", "corvane", ".exe"});
  check("d:tools/make.b", {"d:", "tools/", "make", ".b"});
  check("src/lib\\my.prog.c", {"", "src/lib\\", "my.prog", ".c"});
  check("Makefile", {"", "", "Makefile", ""});
  check("ver.2\\README", {"", "ver.2\\", "README", ""});
  check(".profile", {"", "", "", ".profile"});
  check("name.", {"", "", "name", "."});
  check("C:\\", {"C:", "\\", "", ""});
  check("1:\\x.c", {"", "1:\\", "x", ".c"});
  check("", {"", "", "", ""});
}

TEST_F(NativeFileSystemTest, SaveCreatesTheFileWithExactlyTheBytes) {
  const std::string content = "# project\r\ntarget hello\r\n";
  EXPECT_EQ(fs_.saveFile("Project.gen", content).result, SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Project.gen", kWhole), content);
  EXPECT_EQ(entries(), (Names{"Project.gen"}));
}

TEST_F(NativeFileSystemTest, SaveReplacesTheOldContentAndKeepsItsAttributes) {
  writeFile("Makefile.b", "an older and longer content than the new one\r\n");
  ASSERT_TRUE(SetFileAttributesA("Makefile.b", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  EXPECT_EQ(fs_.saveFile("Makefile.b", "new\r\n").result, SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Makefile.b", kWhole), "new\r\n");
  EXPECT_TRUE(GetFileAttributesA("Makefile.b") & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));

  EXPECT_EQ(fs_.saveFile("Makefile.b", "").result, SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Makefile.b", kWhole), "");
}

TEST_F(NativeFileSystemTest, SaveIntoAnotherDirectoryLeavesNothingBesideIt) {
  ASSERT_TRUE(CreateDirectoryA("out", nullptr));
  EXPECT_EQ(fs_.saveFile("out/Makefile.b", "all:\r\n").result, SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("out\\Makefile.b", kWhole), "all:\r\n");
  EXPECT_EQ(entries(), (Names{"out"}));
  ASSERT_TRUE(SetCurrentDirectoryA("out"));
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

TEST_F(NativeFileSystemTest, SaveOverAReadOnlyFileCannotOpenAndChangesNothing) {
  writeFile("Project.gen", "old\r\n");
  ASSERT_TRUE(SetFileAttributesA("Project.gen", FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(fs_.saveFile("Project.gen", "new\r\n").result, SaveResult::kCannotOpen);
  EXPECT_EQ(fs_.readFile("Project.gen", kWhole), "old\r\n");
  EXPECT_TRUE(GetFileAttributesA("Project.gen") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(entries(), (Names{"Project.gen"}));
}

TEST_F(NativeFileSystemTest, SaveOverAFileInUseCannotOpenAndKeepsTheOldContent) {
  writeFile("Makefile.b", "old\r\n");
  {
    // Another program has the file open and shares nothing.
    UniqueFileHandle holder(CreateFileA("Makefile.b", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(fs_.saveFile("Makefile.b", "new\r\n").result, SaveResult::kCannotOpen);
  }
  EXPECT_EQ(fs_.readFile("Makefile.b", kWhole), "old\r\n");
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

TEST_F(NativeFileSystemTest, SaveOverADirectoryOrIntoAMissingOneCannotOpen) {
  ASSERT_TRUE(CreateDirectoryA("Makefile.b", nullptr));
  EXPECT_EQ(fs_.saveFile("Makefile.b", "x").result, SaveResult::kCannotOpen);
  EXPECT_EQ(fs_.saveFile("missing\\Project.gen", "x").result, SaveResult::kCannotOpen);
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

// Where a rename would lose something (the second name of the file) the
// file is rewritten in place; a device is written to, never replaced.
TEST_F(NativeFileSystemTest, SaveKeepsHardLinksAndWritesToDevices) {
  writeFile("Project.gen", "an old and longer content\r\n");
  ASSERT_TRUE(CreateHardLinkA("other.gen", "Project.gen", nullptr));
  EXPECT_EQ(fs_.saveFile("Project.gen", "new\r\n").result, SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("other.gen", kWhole), "new\r\n");
  EXPECT_EQ(fs_.readFile("Project.gen", kWhole), "new\r\n");

  EXPECT_EQ(fs_.saveFile("NUL", "new\r\n").result, SaveResult::kSaved);
  EXPECT_EQ(entries(), (Names{"Project.gen", "other.gen"}));
}

}  // namespace
}  // namespace corvane

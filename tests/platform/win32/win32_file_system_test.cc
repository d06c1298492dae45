#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace corvane {
namespace {

// Every test runs in a new, empty directory of its own, made the current
// directory, and removed with all it holds afterwards.
class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[MAX_PATH + 1];
    ASSERT_NE(GetCurrentDirectoryA(sizeof buffer, buffer), 0u);
    previousDirectory_ = buffer;
    ASSERT_NE(GetTempPathA(sizeof buffer, buffer), 0u);
    const std::string base = buffer;
    for (int attempt = 0; attempt < 100 && directory_.empty(); ++attempt) {
      const std::string candidate = base + "corvane-fs-" + std::to_string(GetCurrentProcessId()) +
                                    "-" + std::to_string(attempt);
      if (CreateDirectoryA(candidate.c_str(), nullptr)) directory_ = candidate;
    }
    ASSERT_FALSE(directory_.empty());
    ASSERT_TRUE(SetCurrentDirectoryA(directory_.c_str()));
  }

  void TearDown() override {
    SetCurrentDirectoryA(previousDirectory_.c_str());
    if (!directory_.empty()) removeTree(directory_);
  }

  static void removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((path + "\\*").c_str(), &entry));
    if (search.valid()) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string full = path + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeTree(full);
        } else {
          DeleteFileA(full.c_str());
        }
      } while (FindNextFileA(search.get(), &entry));
    }
    search.reset();
    RemoveDirectoryA(path.c_str());
  }

  static void writeFile(const std::string& name, const std::string& content) {
    UniqueFileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << name;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                          nullptr));
    ASSERT_EQ(written, content.size());
  }

  // Every entry of the test directory, sorted, so that a test can see that
  // nothing was left behind.
  static std::vector<std::string> entries() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA("*", &entry));
    if (!search.valid()) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  Win32FileSystem fs_;
  std::string directory_;
  std::string previousDirectory_;
};

using Names = std::vector<std::string>;

TEST_F(Win32FileSystemTest, CurrentDirectoryIsTheAbsolutePathOfTheWorkingDirectory) {
  const std::string current = fs_.currentDirectory();
  ASSERT_GE(current.size(), 3u);
  EXPECT_EQ(current[1], ':');
  EXPECT_EQ(current[2], '\\');
  const std::string ownName = fs_.splitPath(directory_).name;
  EXPECT_EQ(fs_.splitPath(current).name, ownName);
  EXPECT_TRUE(fs_.exists(current));
}

TEST_F(Win32FileSystemTest, ListsNamesEndingInTheExtensionInAnyCaseDirectoriesIncluded) {
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

TEST_F(Win32FileSystemTest, ExistsForFilesAndDirectoriesUnderEitherSeparator) {
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

TEST_F(Win32FileSystemTest, WritableOnlyForExistingFilesWithoutTheReadOnlyAttribute) {
  writeFile("open.b", "");
  writeFile("locked.b", "");
  ASSERT_TRUE(SetFileAttributesA("locked.b", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateDirectoryA("folder.b", nullptr));

  EXPECT_TRUE(fs_.isWritable("open.b"));
  EXPECT_FALSE(fs_.isWritable("locked.b"));
  EXPECT_FALSE(fs_.isWritable("folder.b"));
  EXPECT_FALSE(fs_.isWritable("absent.b"));
}

TEST_F(Win32FileSystemTest, ReadsEveryByteAsStored) {
  const std::string content(
      "line one\r\nline two\n\x1A"
      "after\0end",
      27);
  writeFile("data.gen", content);
  ASSERT_TRUE(CreateDirectoryA("folder", nullptr));

  EXPECT_EQ(fs_.readFile("data.gen"), content);
  writeFile("empty", "");
  EXPECT_EQ(fs_.readFile("empty"), std::string());
  EXPECT_FALSE(fs_.readFile("absent").has_value());
  EXPECT_FALSE(fs_.readFile("folder").has_value());
}

TEST_F(Win32FileSystemTest, ProgramPathNamesTheRunningExecutable) {
  const std::string path = fs_.programPath();
  const PathParts parts = fs_.splitPath(path);
  EXPECT_EQ(parts.drive.size(), 2u);
  EXPECT_EQ(parts.name, "corvane_tests");
  EXPECT_TRUE(parts.extension == ".exe" || parts.extension == ".EXE") << parts.extension;
  EXPECT_TRUE(fs_.exists(path));
}

TEST(WindowsSplitPath, SeparatesDriveDirectoryNameAndLastExtension) {
  Win32FileSystem fs;
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

TEST_F(Win32FileSystemTest, SaveCreatesTheFileWithExactlyTheBytes) {
  const std::string content = "# project\r\ntarget hello\r\n";
  EXPECT_EQ(fs_.saveFile("Project.gen", content), SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Project.gen"), content);
  EXPECT_EQ(entries(), (Names{"Project.gen"}));
}

TEST_F(Win32FileSystemTest, SaveReplacesTheOldContentAndKeepsItsAttributes) {
  writeFile("Makefile.b", "an older and longer content than the new one\r\n");
  ASSERT_TRUE(SetFileAttributesA("Makefile.b", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  EXPECT_EQ(fs_.saveFile("Makefile.b", "new\r\n"), SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Makefile.b"), "new\r\n");
  EXPECT_TRUE(GetFileAttributesA("Makefile.b") & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));

  EXPECT_EQ(fs_.saveFile("Makefile.b", ""), SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("Makefile.b"), "");
}

TEST_F(Win32FileSystemTest, SaveIntoAnotherDirectoryLeavesNothingBesideIt) {
  ASSERT_TRUE(CreateDirectoryA("out", nullptr));
  EXPECT_EQ(fs_.saveFile("out/Makefile.b", "all:\r\n"), SaveResult::kSaved);
  EXPECT_EQ(fs_.readFile("out\\Makefile.b"), "all:\r\n");
  EXPECT_EQ(entries(), (Names{"out"}));
  ASSERT_TRUE(SetCurrentDirectoryA("out"));
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

TEST_F(Win32FileSystemTest, SaveOverAReadOnlyFileCannotOpenAndChangesNothing) {
  writeFile("Project.gen", "old\r\n");
  ASSERT_TRUE(SetFileAttributesA("Project.gen", FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(fs_.saveFile("Project.gen", "new\r\n"), SaveResult::kCannotOpen);
  EXPECT_EQ(fs_.readFile("Project.gen"), "old\r\n");
  EXPECT_TRUE(GetFileAttributesA("Project.gen") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(entries(), (Names{"Project.gen"}));
}

TEST_F(Win32FileSystemTest, SaveOverAFileInUseCannotOpenAndKeepsTheOldContent) {
  writeFile("Makefile.b", "old\r\n");
  {
    // Another program has the file open and shares nothing.
    UniqueFileHandle holder(CreateFileA("Makefile.b", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(fs_.saveFile("Makefile.b", "new\r\n"), SaveResult::kCannotOpen);
  }
  EXPECT_EQ(fs_.readFile("Makefile.b"), "old\r\n");
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

TEST_F(Win32FileSystemTest, SaveOverADirectoryOrIntoAMissingOneCannotOpen) {
  ASSERT_TRUE(CreateDirectoryA("Makefile.b", nullptr));
  EXPECT_EQ(fs_.saveFile("Makefile.b", "x"), SaveResult::kCannotOpen);
  EXPECT_EQ(fs_.saveFile("missing\\Project.gen", "x"), SaveResult::kCannotOpen);
  EXPECT_EQ(entries(), (Names{"Makefile.b"}));
}

}  // namespace
}  // namespace corvane

// The compiler search against real directory trees: Windows-style answers,
// Wine drive letters and installations copied from Windows in upper case.
#if !defined(_WIN32)

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/compiler_directory.h"
#include "platform/native_file_system.h"
#include "support/memory_console.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

// Sets WINEPREFIX for the length of a test and puts the old value back.
class WinePrefixOverride {
 public:
  explicit WinePrefixOverride(const std::string& prefix) {
    const char* old = std::getenv("WINEPREFIX");
    if (old != nullptr) previous_ = old;
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
  }
  ~WinePrefixOverride() {
    if (previous_) {
      ::setenv("WINEPREFIX", previous_->c_str(), 1);
    } else {
      ::unsetenv("WINEPREFIX");
    }
  }
  WinePrefixOverride(const WinePrefixOverride&) = delete;
  WinePrefixOverride& operator=(const WinePrefixOverride&) = delete;

 private:
  std::optional<std::string> previous_;
};

class CompilerDirectoryOnDiskTest : public ::testing::Test {
 protected:
  CompilerDirectoryOnDiskTest() : fs(makeNativeFileSystem()), screen(console) {}

  ScratchDirectory scratch;
  std::unique_ptr<FileSystem> fs;
  MemoryConsole console;
  CorvaneScreen screen;
};

TEST_F(CompilerDirectoryOnDiskTest, DefaultDriveLetterPathIsFoundInTheWinePrefix) {
  scratch.makeDirectory("prefix/drive_c/Borland/Bcc55/Bin");
  scratch.write("prefix/drive_c/Borland/Bcc55/Bin/Bcc32.exe", "");
  scratch.makeDirectory("prefix/dosdevices");
  ASSERT_EQ(0, ::symlink("../drive_c", (scratch.path() + "/prefix/dosdevices/c:").c_str()));
  WinePrefixOverride prefix(scratch.path() + "/prefix");

  // Not beside the program: the question comes, and Enter takes the default.
  console.pushKeys("\r");
  EXPECT_EQ(locateCompilerDirectory(screen, *fs, scratch.path() + "/corvane").directory,
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(console.keysRead(), 1);
  EXPECT_FALSE(console.ranDry());

  // Without the drive in the prefix, the same answer is not found.
  WinePrefixOverride elsewhere(scratch.path() + "/no-prefix");
  console.pushKeys("\r\x1b");
  EXPECT_EQ(locateCompilerDirectory(screen, *fs, scratch.path() + "/corvane").directory,
            std::nullopt);
}

TEST_F(CompilerDirectoryOnDiskTest, UpperCaseInstallationCopiedFromWindows) {
  scratch.makeDirectory("bcc/BIN");
  scratch.write("bcc/BIN/BCC32.EXE", "");
  scratch.write("bcc/BIN/corvane", "");
  WinePrefixOverride prefix(scratch.path() + "/no-prefix");

  // Found beside the program, the directory is written as Wine names it:
  // with no drive of the prefix holding it, through Z:.
  std::string wineName = "Z:" + std::filesystem::canonical(scratch.path()).string() + "\\bcc";
  std::replace(wineName.begin(), wineName.end(), '/', '\\');
  EXPECT_EQ(locateCompilerDirectory(screen, *fs, scratch.path() + "/bcc/BIN/corvane").directory,
            wineName);
  EXPECT_EQ(console.keysRead(), 0);
}

// What the makefile is given for a directory the user names: a directory
// of this disk as Wine names it, however it was written; a path with a
// drive letter as given. A Bin directory stands for the one above it.
TEST_F(CompilerDirectoryOnDiskTest, AnAnsweredDirectoryIsNamedAsWineSeesIt) {
  scratch.makeDirectory("bcc/BIN");
  scratch.write("bcc/BIN/BCC32.EXE", "");
  scratch.makeDirectory("prefix/drive_c/Borland/Bcc55/Bin");
  scratch.write("prefix/drive_c/Borland/Bcc55/Bin/Bcc32.exe", "");
  scratch.makeDirectory("prefix/dosdevices");
  ASSERT_EQ(0, ::symlink("../drive_c", (scratch.path() + "/prefix/dosdevices/c:").c_str()));
  WinePrefixOverride prefix(scratch.path() + "/prefix");
  std::string onZ = "Z:" + std::filesystem::canonical(scratch.path()).string() + "\\bcc";
  std::replace(onZ.begin(), onZ.end(), '/', '\\');
  const std::string here = scratch.path();

  const struct {
    std::string answer;
    std::optional<std::string> directory;
  } cases[] = {
      {here + "/bcc", onZ},
      {here + "/bcc/BIN", onZ},
      {here + "/bcc/bin/", onZ},
      {here + "\\bcc\\", onZ},
      {"bcc", onZ},  // relative to the current directory, the scratch one
      {here + "/prefix/drive_c/Borland/Bcc55/Bin", "C:\\Borland\\Bcc55"},
      {"C:\\Borland\\Bcc55", "C:\\Borland\\Bcc55"},
      {"c:\\borland\\bcc55\\bin", "c:\\borland\\bcc55"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(compilerDirectoryFromAnswer(*fs, c.answer), c.directory) << c.answer;

  // At the prompt: the Bin directory typed is taken at once, in Wine's form.
  console.pushKey(8);
  console.pushKeys(here + "/bcc/BIN\r");
  EXPECT_EQ(locateCompilerDirectory(screen, *fs, here + "/corvane").directory, onZ);
  EXPECT_FALSE(console.ranDry());
}

}  // namespace
}  // namespace corvane

#endif  // !defined(_WIN32)

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/posix_file_system.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

TEST(WindowsPathLookup, ExactAndRelativePaths) {
  ScratchDirectory scratch;
  scratch.makeDirectory("Borland/Bcc55/Bin");
  scratch.write("Borland/Bcc55/Bin/Bcc32.exe", "");
  EXPECT_TRUE(windowsPathExists("Borland/Bcc55/Bin/Bcc32.exe", "/nowhere"));
  EXPECT_TRUE(windowsPathExists("Borland\\Bcc55\\Bin\\Bcc32.exe", "/nowhere"));
  EXPECT_TRUE(windowsPathExists(scratch.path() + "\\Borland\\Bcc55\\\\Bin", "/nowhere"));
  EXPECT_TRUE(windowsPathExists("Borland\\Bcc55\\", "/nowhere"));
  EXPECT_FALSE(windowsPathExists("Borland\\Bcc55\\Bin\\Bcc32.exe\\", "/nowhere"));
  EXPECT_FALSE(windowsPathExists("Borland\\Bcc55\\Bin\\Bcc33.exe", "/nowhere"));
  EXPECT_FALSE(windowsPathExists("", "/nowhere"));
}

TEST(WindowsPathLookup, ComponentsMatchWithoutCase) {
  ScratchDirectory scratch;
  scratch.makeDirectory("BORLAND/BCC55/BIN");
  scratch.write("BORLAND/BCC55/BIN/BCC32.EXE", "");
  // Two spellings side by side: only one of them leads on.
  scratch.makeDirectory("Borland");
  EXPECT_TRUE(windowsPathExists(scratch.path() + "\\Borland\\Bcc55\\Bin\\Bcc32.exe", "/x"));
  EXPECT_TRUE(windowsPathExists("borland/bcc55/bin/bcc32.exe", "/x"));
  EXPECT_FALSE(windowsPathExists("borland/bcc55/bin/bcc32.exe.bak", "/x"));
}

// Two links that loop, d and D, give every level two spellings of the same
// directory; the lookup settles each level once instead of trying every
// combination of them (2 to the 30th here, which would never end).
TEST(WindowsPathLookup, LoopingSpellingsTakeOnePassPerComponent) {
  ScratchDirectory scratch;
  scratch.makeDirectory("prefix/drive_c/loop");
  scratch.makeDirectory("prefix/dosdevices");
  ASSERT_EQ(0, ::symlink("../drive_c", "prefix/dosdevices/c:"));
  ASSERT_EQ(0, ::symlink(".", "prefix/drive_c/loop/d"));
  ASSERT_EQ(0, ::symlink(".", "prefix/drive_c/loop/D"));
  scratch.write("prefix/drive_c/loop/Bcc32.exe", "");
  const std::string prefix = scratch.path() + "/prefix";
  std::string deep = "C:\\loop";
  for (int level = 0; level < 30; ++level) deep += level % 3 == 0 ? "\\D" : "\\d";
  EXPECT_TRUE(windowsPathExists(deep + "\\BCC32.EXE", prefix));
  EXPECT_FALSE(windowsPathExists(deep + "\\missing", prefix));
  EXPECT_FALSE(windowsPathExists(deep + "\\Bcc32.exe\\", prefix));
}

TEST(WindowsPathLookup, DriveLettersLiveInTheWinePrefix) {
  ScratchDirectory scratch;
  scratch.makeDirectory("prefix/drive_c/Borland/BCC55/Bin");
  scratch.write("prefix/drive_c/Borland/BCC55/Bin/bcc32.exe", "");
  scratch.makeDirectory("prefix/dosdevices");
  ASSERT_EQ(0, ::symlink("../drive_c", "prefix/dosdevices/c:"));
  const std::string prefix = scratch.path() + "/prefix";
  EXPECT_TRUE(windowsPathExists("C:\\Borland\\Bcc55\\Bin\\Bcc32.exe", prefix));
  EXPECT_TRUE(windowsPathExists("c:/borland/bcc55/bin/BCC32.EXE", prefix));
  EXPECT_TRUE(windowsPathExists("C:Borland", prefix));
  EXPECT_FALSE(windowsPathExists("D:\\Borland\\Bcc55\\Bin\\Bcc32.exe", prefix));
  EXPECT_FALSE(windowsPathExists("C:\\Borland\\Bcc55\\Bin\\Bcc32.exe", scratch.path()));
}

TEST(WindowsPathLookup, WinePrefixFromEnvironment) {
  const char* saved = std::getenv("WINEPREFIX");
  std::string previous = saved != nullptr ? saved : "";
  ::setenv("WINEPREFIX", "/opt/wine", 1);
  EXPECT_EQ("/opt/wine", winePrefix());
  ::unsetenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  EXPECT_EQ(std::string(home != nullptr ? home : "") + "/.wine", winePrefix());
  if (saved != nullptr) ::setenv("WINEPREFIX", previous.c_str(), 1);
}

}  // namespace
}  // namespace corvane

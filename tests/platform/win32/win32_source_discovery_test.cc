// Source discovery on the real Windows file system: the directory search's
// case-blind matching, directories among the matches, and reading sources
// for the entry point, together.
#include <gtest/gtest.h>

#include "platform/win32/win32_directory_test.h"
#include "platform/native_file_system.h"
#include "project/source_discovery.h"

namespace corvane {
namespace {

class Win32SourceDiscoveryTest : public Win32DirectoryTest {
 protected:
  // The current directory becomes a new one of that name, for the names
  // taken from it.
  void enter(const std::string& name) {
    ASSERT_TRUE(CreateDirectoryA(name.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(name.c_str()));
  }

  NativeFileSystem fs_;
};

TEST_F(Win32SourceDiscoveryTest, SourcesOfTheDirectorySortedWithoutRegardToCase) {
  enter("work");
  writeFile("b.c", "void helper(void) {}\r\n");
  writeFile("c.cpp", "// nothing here\r\n");
  writeFile("A.CPP", "#include <windows.h>\r\nint WINAPI WinMain(HINSTANCE h, HINSTANCE p,\r\n");
  writeFile("notes.txt", "int main()\r\n");
  writeFile("d.cc", "int main()\r\n");
  ASSERT_TRUE(CreateDirectoryA("old.Cpp", nullptr));

  const List sources = scanSources(fs_);
  EXPECT_EQ(sources, (List{"A.CPP", "b.c", "c.cpp", "old.Cpp"}));
  EXPECT_EQ(defaultTargetName(fs_, sources), "A");
}

TEST_F(Win32SourceDiscoveryTest, EmptyDirectoryGivesASourceAndTargetNamedAfterIt) {
  enter("proj.v2");
  const List sources = scanSources(fs_);
  EXPECT_EQ(sources, (List{"proj.cpp"}));
  // proj.cpp does not exist, so no source defines an entry point.
  EXPECT_EQ(defaultTargetName(fs_, sources), "proj.v2");
}

TEST_F(Win32SourceDiscoveryTest, TheFirstSourceWithAnEntryPointNamesTheTarget) {
  enter("work");
  writeFile("alpha.c", "static int main_loop(void);\r\n");
  writeFile("Beta.cpp", "int\tmain (int argc, char *argv[])\r\n");
  writeFile("gamma.cpp", "int main()\r\n");
  EXPECT_EQ(defaultTargetName(fs_, scanSources(fs_)), "Beta");
}

}  // namespace
}  // namespace corvane

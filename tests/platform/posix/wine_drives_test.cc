// Wine's names for directories of the Linux disk, on real trees with a Wine
// prefix of their own.
#include "platform/posix/wine_drives.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/scratch_directory.h"

namespace corvane {
namespace {

// The path as Wine shows it below Z:, the whole disk.
std::string onZ(const std::string& path) {
  std::string name = "Z:" + std::filesystem::canonical(path).string();
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

void link(const std::string& target, const std::string& name) {
  ASSERT_EQ(0, ::symlink(target.c_str(), name.c_str())) << name;
}

TEST(WineDrives, TheDriveWithTheLongestTargetNamesTheDirectory) {
  ScratchDirectory scratch;
  scratch.makeDirectory("prefix/drive_c/Borland/BCC55/Bin");
  scratch.makeDirectory("prefix/drive_c/Tools/Bcc");
  scratch.makeDirectory("prefix/dosdevices");
  scratch.makeDirectory("opt/bcc55");
  // Relative links, as Wine makes them, and an absolute one to the same
  // place as c: (the earlier letter wins).
  link("../drive_c", "prefix/dosdevices/c:");
  link("../drive_c/Tools", "prefix/dosdevices/d:");
  link(scratch.path() + "/prefix/drive_c", "prefix/dosdevices/g:");
  // Neither a raw device nor a dangling drive names anything.
  link("/", "prefix/dosdevices/c::");
  link("../nowhere", "prefix/dosdevices/f:");
  link("prefix/drive_c/Borland", "borland");
  const std::string prefix = scratch.path() + "/prefix";

  EXPECT_EQ(wineDirectoryName(scratch.path() + "/prefix/drive_c/Borland/BCC55", prefix),
            "C:\\Borland\\BCC55");
  EXPECT_EQ(wineDirectoryName("prefix/drive_c/Tools/Bcc", prefix), "D:\\Bcc");
  EXPECT_EQ(wineDirectoryName("borland/BCC55/Bin/..", prefix), "C:\\Borland\\BCC55");
  EXPECT_EQ(wineDirectoryName("prefix/drive_c", prefix), "C:");
  EXPECT_EQ(wineDirectoryName("opt/bcc55", prefix), onZ("opt/bcc55"));
}

TEST(WineDrives, TheLongestTargetWinsWhateverTheListingOrderAndOnlyWholeFolders) {
  // Two prefixes with the letters of the same two targets swapped: whichever
  // order the directory lists them in, taking the first drive that holds the
  // directory gives the wrong letter in one of them. Tools2 lies beside the
  // drive on Tools, not in it.
  ScratchDirectory scratch;
  scratch.makeDirectory("drive_c/Tools/Bcc");
  scratch.makeDirectory("drive_c/Tools2");
  const struct {
    std::string prefix;
    std::string cTarget;
    std::string dTarget;
    std::string bcc;
    std::string tools2;
  } cases[] = {
      {"one", "drive_c", "drive_c/Tools", "D:\\Bcc", "C:\\Tools2"},
      {"two", "drive_c/Tools", "drive_c", "C:\\Bcc", "D:\\Tools2"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.prefix);
    scratch.makeDirectory(test.prefix + "/dosdevices");
    link(scratch.path() + "/" + test.cTarget, test.prefix + "/dosdevices/c:");
    link(scratch.path() + "/" + test.dTarget, test.prefix + "/dosdevices/d:");
    const std::string prefix = scratch.path() + "/" + test.prefix;
    EXPECT_EQ(wineDirectoryName("drive_c/Tools/Bcc", prefix), test.bcc);
    EXPECT_EQ(wineDirectoryName("drive_c/Tools2", prefix), test.tools2);
  }
}

TEST(WineDrives, ZNamesTheWholeDiskWithOrWithoutItsLink) {
  ScratchDirectory scratch;
  scratch.makeDirectory("Opt/BCC55");
  scratch.makeDirectory("prefix/dosdevices");
  EXPECT_EQ(wineDirectoryName("Opt/BCC55", scratch.path() + "/no-prefix"), onZ("Opt/BCC55"));
  link("/", "prefix/dosdevices/z:");
  EXPECT_EQ(wineDirectoryName("Opt/BCC55", scratch.path() + "/prefix"), onZ("Opt/BCC55"));
  EXPECT_EQ(wineDirectoryName("/", scratch.path() + "/prefix"), "Z:");
  // What cannot be resolved nor placed on the disk stays as it was.
  EXPECT_EQ(wineDirectoryName("absent/dir", scratch.path() + "/prefix"), "absent/dir");
}

}  // namespace
}  // namespace corvane

// The checks made before saving, on a real disk: a name is judged by the
// file it finally leads to, through symbolic and hard links alike.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/name_checks.h"
#include "app/program_flow.h"
#include "platform/native_file_system.h"
#include "support/memory_console.h"
#include "support/scratch_directory.h"
#include "support/screen_recorder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Each case starts in a directory of hello.cpp, b.c, util.h and notes.txt,
// adds its links and runs the keys (Esc after them). Whatever it shows, the
// four files keep their bytes and new.c is never made.
TEST(NameChecksOnDisk, EveryCheckIsAboutTheFileANameLeadsTo) {
  struct Case {
    const char* what;
    std::function<void()> links;
    std::string keys;
    std::vector<std::string> shown;  // each on the screen at some key
    int status;
    const char* absentAfter = "new.c";
  };
  const std::string build = " of a source or build file.";
  const Case cases[] = {
      {"project file linked to a header", [] { fs::create_symlink("util.h", "Project.gen"); }, "",
       {"Cannot load project file \"Project.gen\"", "It leads to \"util.h\",",
        "which has the extension \".h\"" + build},
       1},
      {"project file linked to a source not there yet",
       [] { fs::create_symlink("new.c", "Project.gen"); }, "",
       {"It leads to \"new.c\",", "which has the extension \".c\"" + build}, 1},
      {"project file linked to the makefile not there yet",
       [] { fs::create_symlink("Makefile.b", "Project.gen"); }, "\r\r",
       {"Cannot write Makefile \"Makefile.b\"",
        "It would replace the project file \"Project.gen\"."},
       1, "Makefile.b"},
      {"project file linked to the makefile there",
       [] {
         std::ofstream("Makefile.b") << "all:\r\n";
         fs::create_symlink("Makefile.b", "Project.gen");
       },
       "n\r\r", {"It would replace the project file \"Project.gen\"."}, 1},
      {"makefile linked to a header", [] { fs::create_symlink("util.h", "Makefile.b"); }, "\r\r",
       {"Cannot write Makefile \"Makefile.b\"", "It leads to \"util.h\","}, 1},
      {"project file linked to notes: Enter keeps them",
       [] { fs::create_symlink("notes.txt", "Project.gen"); }, "\r\r\r",
       {"Project.gen leads to notes.txt.", "It is not a Corvane project file."}, 1},
      // A project that lists hello.cpp alone, and a makefile that is b.c
      // under another name: the directory's sources count too.
      {"makefile hard-linked to a source the project does not list",
       [] {
         std::ofstream("Project.gen") << "source hello.cpp\r\n";
         fs::create_hard_link("b.c", "Makefile.b");
       },
       "\r\r", {"It would replace the source \"b.c\"."}, 1},
  };
  const std::vector<std::pair<std::string, std::string>> files = {
      {"hello.cpp", "int main()\n{\n}\n"},
      {"b.c", "int helper(void) { return 1; }\n"},
      {"util.h", "int helper(void);\n"},
      {"notes.txt", "shopping list\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory scratch;
    for (const auto& [name, bytes] : files) scratch.write(name, bytes);
    c.links();
    MemoryConsole console;
    ScreenRecorder recorder(console);
    NativeFileSystem disk;
    console.pushKeys(c.keys);
    EXPECT_EQ(exitStatus(runCorvane({}, console, disk)), c.status);
    for (const std::string& line : c.shown) EXPECT_GE(recorder.timesShown(line), 1) << line;
    for (const auto& [name, bytes] : files) EXPECT_EQ(scratch.read(name), bytes) << name;
    EXPECT_FALSE(fs::exists(fs::symlink_status(c.absentAfter))) << c.absentAfter;
  }
}

}  // namespace
}  // namespace corvane

#endif  // !defined(_WIN32)

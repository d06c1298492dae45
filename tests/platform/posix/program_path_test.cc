// The program's own path as it was started, looked up like a shell does.
#include "platform/posix/program_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/scratch_directory.h"

namespace corvane {
namespace {

TEST(ProgramPath, StartedPathIsTakenAsTypedOrFromPath) {
  ScratchDirectory scratch;
  const std::string root = scratch.path();
  scratch.makeDirectory("plain");
  scratch.makeDirectory("bin");
  scratch.makeDirectory("bin/tool.d");
  scratch.write("plain/tool", "");  // not executable: the shell passes it by
  scratch.write("bin/tool", "#!/bin/sh\n");
  ASSERT_EQ(0, ::chmod("bin/tool", 0755));
  const std::string tool = root + "/bin/tool";
  const std::string path = root + "/plain:" + root + "/bin";

  EXPECT_EQ(startedProgramPath("tool", path.c_str(), "/"), tool);
  EXPECT_EQ(startedProgramPath("tool", "plain::/x", root + "/bin"), tool);  // "" is here
  EXPECT_EQ(startedProgramPath("./bin//./tool", nullptr, root), tool);
  EXPECT_EQ(startedProgramPath(tool, nullptr, ""), tool);
  EXPECT_EQ(startedProgramPath("bin/tool", nullptr, ""), "");
  EXPECT_EQ(startedProgramPath("tool", ("bin:" + root + "/bin").c_str(), ""), tool);
  EXPECT_EQ(startedProgramPath("../bin/tool", nullptr, root + "/plain"),
            root + "/plain/../bin/tool");
  EXPECT_EQ(startedProgramPath("tool.d", path.c_str(), "/"), "");
  EXPECT_EQ(startedProgramPath("plain/tool", path.c_str(), root), "");
  EXPECT_EQ(startedProgramPath("tool", nullptr, root), "");
  EXPECT_EQ(startedProgramPath("absent", path.c_str(), root), "");
}

TEST(ProgramPath, OnlyALinkToTheRunningFileIsTrusted) {
  ScratchDirectory scratch;
  char running[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", running, sizeof running - 1), 0);
  ASSERT_EQ(0, ::symlink(running, "mine"));
  ASSERT_EQ(0, ::symlink("/bin/sh", "other"));
  EXPECT_EQ(programPathOf("./mine", nullptr, scratch.path()), scratch.path() + "/mine");
  EXPECT_EQ(programPathOf("./other", nullptr, scratch.path()), running);
  EXPECT_EQ(programPathOf("absent", "", scratch.path()), running);
}

}  // namespace
}  // namespace corvane

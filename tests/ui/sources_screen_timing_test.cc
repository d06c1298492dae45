// A measured run of the sources screen over a directory of 2,000 sources:
// the time from a key to the redrawn screen waiting for the next key. The
// figures are printed, not asserted, because the machines differ; what the
// test does assert is that the work was really done.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "support/memory_console.h"
#include "support/fake_file_system.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"
#include "support/workspace_rows.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

// Notes the moment of every key read: the screen asks for a key only once
// it has finished drawing.
class TimingConsole : public MemoryConsole {
 public:
  int getKey() override {
    keyTimes.push_back(Clock::now());
    return MemoryConsole::getKey();
  }
  std::vector<Clock::time_point> keyTimes;
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// 2,000 names of mixed case and both extensions, added in no sorted order.
void addTwoThousandSources(FakeFileSystem& fs, List& everyOther) {
  for (int i = 0; i < 2000; ++i) {
    const int n = (i * 7919) % 2000;
    const std::string name = std::string(n % 3 == 0 ? "Mod" : "mod") + std::to_string(10000 + n) +
                             (n % 2 == 0 ? ".cpp" : ".c");
    fs.addFile(name, "");
    if (n % 2 == 0) everyOther.push_back(name);
  }
}

TEST(SourcesScreenTimingTest, TwoThousandSourcesOpenAndMoveWithoutDelay) {
  FakeFileSystem fs("/home/user/big");
  List half;
  addTwoThousandSources(fs, half);

  // Half of the directory in the project: the difference is 1,000 names.
  {
    TimingConsole console;
    CorvaneScreen screen(console);
    screen.openWorkspace();
    List sources = half;
    std::string libraries, libraryPaths, includePaths, objects, resources;
    console.pushKeys("ab1");
    console.pushKey(kKeyEnter);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(sourcesScreen(screen, fs, sources, libraries, libraryPaths, includePaths, objects,
                            resources),
              kKeyEnter);
    ASSERT_EQ(console.keyTimes.size(), 4u);
    EXPECT_EQ(sources.size(), 2000u);  // the reload took them all
    EXPECT_EQ(workspaceRow(console, 20).find("Press (selection)"), 25u);
    std::printf("[ timing ] 2000 sources, 1000 in the project: open %.2f ms, "
                "move out %.2f ms, move out %.2f ms, reload %.2f ms\n",
                millisecondsBetween(start, console.keyTimes[0]),
                millisecondsBetween(console.keyTimes[0], console.keyTimes[1]),
                millisecondsBetween(console.keyTimes[1], console.keyTimes[2]),
                millisecondsBetween(console.keyTimes[2], console.keyTimes[3]));
  }

  // Ten sources in the project: 1,990 other sources, one moved in.
  {
    TimingConsole console;
    CorvaneScreen screen(console);
    screen.openWorkspace();
    List sources(half.begin(), half.begin() + 10);
    std::string libraries, libraryPaths, includePaths, objects, resources;
    console.pushKeys("ka");
    console.pushKey(kKeyEnter);
    const Clock::time_point start = Clock::now();
    sourcesScreen(screen, fs, sources, libraries, libraryPaths, includePaths, objects,
                  resources);
    ASSERT_EQ(console.keyTimes.size(), 3u);
    EXPECT_EQ(sources.size(), 10u);  // one in, one out
    std::printf("[ timing ] 2000 sources, 10 in the project: open %.2f ms, "
                "move in %.2f ms, move out %.2f ms\n",
                millisecondsBetween(start, console.keyTimes[0]),
                millisecondsBetween(console.keyTimes[0], console.keyTimes[1]),
                millisecondsBetween(console.keyTimes[1], console.keyTimes[2]));
  }
}

}  // namespace
}  // namespace corvane

// The sources screen over a directory of 20,000 sources, on the memory
// console: the time to open it (the directory listed, the other sources
// worked out, the screen drawn) and the time one key takes, from the moment
// it is read to the moment the screen asks for the next key. The directory
// lives in memory, so the figures are the screen's own work.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/memory_console.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"
#include "ui/sources_screen.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSourceCount = 20000;
// Each run opens the screen anew, which takes far longer than the one key
// timed after it, so the number of runs is fixed rather than found by the
// time measured.
constexpr int kRuns = 40;

// A directory that holds only the listed sources.
class ListedDirectory : public FileSystem {
 public:
  std::string currentDirectory() const override { return "/home/user/big"; }
  std::vector<std::string> listMatching(const std::string& extension) const override {
    return extension == "c" ? c_ : cpp_;
  }
  bool exists(const std::string&) const override { return false; }
  bool isWritable(const std::string&) const override { return false; }
  FileContent readFile(const std::string&, std::size_t) const override { return {}; }
  bool sameFile(const std::string&, const std::string&) const override { return false; }
  SaveOutcome saveFile(const std::string&, const std::string&) override {
    return {SaveResult::kCannotOpen, {}, {}};
  }
  std::string programPath() const override { return "/usr/bin/corvane"; }
  PathParts splitPath(const std::string&) const override { return {}; }

  std::vector<std::string> c_;
  std::vector<std::string> cpp_;
};

// 20,000 names of mixed case and both extensions, in no sorted order; every
// second one (by number) is also in the returned project list.
List fillDirectory(ListedDirectory& directory) {
  List project;
  for (int i = 0; i < kSourceCount; ++i) {
    const int n = (i * 7919) % kSourceCount;
    const std::string name =
        std::string(n % 3 == 0 ? "Mod" : "mod") + std::to_string(100000 + n);
    if (n % 2 == 0) {
      directory.cpp_.push_back(name + ".cpp");
      project.push_back(name + ".cpp");
    } else {
      directory.c_.push_back(name + ".c");
    }
  }
  return project;
}

// Opens the screen with the project's sources and presses the keys, then Esc.
// Returns the seconds from the call to the first key read, or from the last
// key of the action to the Esc after it.
double timedRun(const ListedDirectory& directory, const List& project,
                const std::vector<int>& keys, bool timeTheOpening) {
  MemoryConsole console;
  std::vector<Clock::time_point> reads;
  console.setKeyObserver([&reads](const MemoryConsole&) { reads.push_back(Clock::now()); });
  CorvaneScreen screen(console);
  screen.openWorkspace();
  for (int key : keys) console.pushKey(key);
  ProjectDraft draft;
  draft.settings.sources = project;
  const Clock::time_point start = Clock::now();
  SourcesScreen(screen, directory, draft).open();
  benchmark::DoNotOptimize(draft.settings.sources.data());
  const Clock::time_point from = timeTheOpening ? start : reads[reads.size() - 2];
  const Clock::time_point to = timeTheOpening ? reads.front() : reads.back();
  return std::chrono::duration<double>(to - from).count();
}

// range(0): how many of the 20,000 sources the project holds (half or all).
void runScreen(benchmark::State& state, const std::vector<int>& keys, bool timeTheOpening) {
  ListedDirectory directory;
  List project = fillDirectory(directory);
  if (state.range(0) == kSourceCount) {
    project = directory.cpp_;
    project.insert(project.end(), directory.c_.begin(), directory.c_.end());
  }
  for (auto _ : state) state.SetIterationTime(timedRun(directory, project, keys, timeTheOpening));
}

void halfAndAllInTheProject(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(kSourceCount / 2)
      ->Arg(kSourceCount)
      ->UseManualTime()
      ->Iterations(kRuns)
      ->Unit(benchmark::kMillisecond);
}

void BM_SourcesScreenOpen(benchmark::State& state) { runScreen(state, {}, true); }
BENCHMARK(BM_SourcesScreenOpen)->Apply(halfAndAllInTheProject);

// "a": the first project source moves to the other sources.
void BM_SourcesScreenMoveEntry(benchmark::State& state) { runScreen(state, {'a'}, false); }
BENCHMARK(BM_SourcesScreenMoveEntry)->Apply(halfAndAllInTheProject);

// "1": every source of the directory reloaded into the project.
void BM_SourcesScreenReload(benchmark::State& state) { runScreen(state, {'1'}, false); }
BENCHMARK(BM_SourcesScreenReload)->Apply(halfAndAllInTheProject);

// PgDn: the second page drawn.
void BM_SourcesScreenTurnPage(benchmark::State& state) {
  runScreen(state, {kKeyPageDown}, false);
}
BENCHMARK(BM_SourcesScreenTurnPage)->Apply(halfAndAllInTheProject);

}  // namespace
}  // namespace corvane

// The names checked when the project is accepted, in a directory of 20,000
// sources that the project lists: the project file and the makefile are
// each compared with every source, on the disk, before anything is saved.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "app/name_checks.h"
#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "project/make_project.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

constexpr int kSourceCount = 20000;

// range(0): 1 when the project file is there already, as on a second run.
void BM_NameCheckOnAccepting(benchmark::State& state) {
  ScratchDirectory scratch("sources");
  for (int i = 0; i < kSourceCount; ++i)
    std::ofstream(scratch.path() + "/s" + std::to_string(i) + (i % 4 == 0 ? ".c" : ".cpp"));
  if (state.range(0) == 1) scratch.write("Project.gen", "");
  const auto fs = makeNativeFileSystem();
  const MakeProject project(*fs);
  for (auto _ : state) benchmark::DoNotOptimize(nameClash(*fs, project, "Project.gen"));
}
BENCHMARK(BM_NameCheckOnAccepting)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

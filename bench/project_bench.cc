// The makefile and the project file of a large project: both must grow
// linearly with the number of sources, so 20,000 sources take about four
// times as long as 5,000.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "makefile/makefile.h"
#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "project/make_project.h"

namespace corvane {
namespace {

// A project that names its target and lists its sources, so loading it
// never needs to look at the directory.
MakeProject projectWithSources(std::size_t count, const FileSystem& fs) {
  std::string file = "target big\n";
  for (std::size_t i = 0; i < count; ++i) {
    file += "source module" + std::to_string(i) + (i % 3 == 0 ? ".c\n" : ".cpp\n");
  }
  std::istringstream in(file);
  return MakeProject(in, fs);
}

void BM_BuildAndWriteMakefile(benchmark::State& state) {
  const auto fs = makeNativeFileSystem();
  const MakeProject project = projectWithSources(static_cast<std::size_t>(state.range(0)), *fs);
  for (auto _ : state) {
    std::ostringstream out;
    Makefile(project, "C:\\BCC55").write(out);
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildAndWriteMakefile)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_WriteThenLoadProjectFile(benchmark::State& state) {
  const auto fs = makeNativeFileSystem();
  const MakeProject project = projectWithSources(static_cast<std::size_t>(state.range(0)), *fs);
  for (auto _ : state) {
    std::ostringstream out;
    project.write(out);
    std::istringstream in(out.str());
    const MakeProject loaded(in, *fs);
    benchmark::DoNotOptimize(loaded.sources().size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteThenLoadProjectFile)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace corvane

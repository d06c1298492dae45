// The sources screen turns every name into cells on each redraw: a
// directory's worth of names, a third of them with accented letters, must
// cost far less than drawing them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/file_system_text.h"

namespace corvane {
namespace {

void BM_DisplayTexts(benchmark::State& state) {
  std::vector<std::string> names;
  for (int i = 0; i < state.range(0); ++i)
    names.push_back((i % 3 == 0 ? "caf\xc3\xa9_r\xc3\xa9sum\xc3\xa9_" : "source_file_") +
                    std::to_string(i) + ".cpp");
  for (auto _ : state) benchmark::DoNotOptimize(displayTexts(names));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DisplayTexts)->Arg(2000)->Arg(20000)->Complexity();

}  // namespace
}  // namespace corvane

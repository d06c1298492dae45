// minus and sortNoCase on directory-sized lists: the cost must grow as
// n log n, so 20,000 names take about four times as long as 5,000, not
// sixteen times.
#include <benchmark/benchmark.h>

#include <random>

#include "text/text_utils.h"

namespace corvane {
namespace {

List fileNames(std::size_t count, unsigned seed) {
  static const char kLetters[] = "abcdefghijKLMNOPQRST_0123456789";
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
  std::uniform_int_distribution<int> length(3, 12);
  List names;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name;
    for (int n = length(random); n > 0; --n) name += kLetters[letter(random)];
    names.push_back(name + (i % 3 == 0 ? ".c" : ".cpp"));
  }
  return names;
}

void BM_Minus(benchmark::State& state) {
  const std::size_t count = static_cast<std::size_t>(state.range(0));
  const List all = fileNames(count, 1);
  // Take away half of the names, in another order, as the sources screen does.
  List chosen(all.rbegin(), all.rbegin() + static_cast<std::ptrdiff_t>(count / 2));
  for (auto _ : state) benchmark::DoNotOptimize(minus(all, chosen));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Minus)->Arg(5000)->Arg(20000)->Complexity();

void BM_SortNoCase(benchmark::State& state) {
  const List names = fileNames(static_cast<std::size_t>(state.range(0)), 2);
  for (auto _ : state) benchmark::DoNotOptimize(sortNoCase(names, true));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortNoCase)->Arg(5000)->Arg(20000)->Complexity();

}  // namespace
}  // namespace corvane

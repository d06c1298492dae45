// Finding the sources and the target name in a directory of 20,000 sources
// of 4 KiB each, none of which defines an entry point, so every file is
// read once. bench/discovery_vs_cat.sh sets the same directory against cat.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "project/source_discovery.h"

namespace corvane {
namespace {

constexpr int kSourceCount = 20000;
constexpr std::size_t kSourceSize = 4096;

std::string sourceText(int number) {
  std::string text = "// helper " + std::to_string(number) + " of the domain() layer\r\n";
  while (text.size() < kSourceSize) {
    text += "int helper" + std::to_string(number) + "_" + std::to_string(text.size()) +
            "(int value) { return value * 3 + 1; }\r\n";
  }
  text.resize(kSourceSize);
  return text;
}

// $CORVANE_BENCH_DIR if set (the script makes it), else a directory made here.
std::string sourceDirectory() {
  if (const char* given = std::getenv("CORVANE_BENCH_DIR")) return given;
  std::string directory = (std::filesystem::temp_directory_path() / "corvane-bench-sources");
  if (!std::filesystem::exists(directory + "/s19999.cpp")) {
    std::filesystem::create_directories(directory);
    for (int i = 0; i < kSourceCount; ++i) {
      std::ofstream(directory + "/s" + std::to_string(i) + (i % 4 == 0 ? ".c" : ".cpp"),
                    std::ios::binary)
          << sourceText(i);
    }
  }
  return directory;
}

void BM_ScanSourcesAndTargetName(benchmark::State& state) {
  const std::string directory = sourceDirectory();
  if (::chdir(directory.c_str()) != 0) {
    state.SkipWithError("cannot enter the source directory");
    return;
  }
  auto fs = makeNativeFileSystem();
  for (auto _ : state) {
    List sources = scanSources(*fs);
    benchmark::DoNotOptimize(defaultTargetName(*fs, sources));
  }
}
BENCHMARK(BM_ScanSourcesAndTargetName)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace corvane

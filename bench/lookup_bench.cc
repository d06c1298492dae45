// Looking up a compiler path typed the Windows way through a directory
// where two links that loop, d -> . and D -> ., give every level two
// spellings; the path ends in a name that is not there, so that nothing
// stops the search early. The time should grow with the depth, not double
// with every level.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/posix/posix_file_system.h"

namespace corvane {
namespace {

std::string loopingPrefix() {
  const std::filesystem::path prefix =
      std::filesystem::temp_directory_path() / "corvane-bench-lookup";
  const std::filesystem::path loop = prefix / "drive_c" / "loop";
  if (!std::filesystem::exists(loop / "D")) {
    std::filesystem::create_directories(loop);
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    std::filesystem::create_directory_symlink(".", loop / "d");
    std::filesystem::create_directory_symlink(".", loop / "D");
  }
  return prefix.string();
}

void BM_LookupThroughLoopingSpellings(benchmark::State& state) {
  const std::string prefix = loopingPrefix();
  std::string path = "C:\\loop";
  for (int level = 0; level < state.range(0); ++level) path += "\\d";
  path += "\\missing";
  for (auto _ : state) benchmark::DoNotOptimize(windowsPathExists(path, prefix));
}
BENCHMARK(BM_LookupThroughLoopingSpellings)->Arg(4)->Arg(8)->Arg(12)->Arg(16)->Arg(30)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvane

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/program_flow.h"
#include "app/run_report.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "platform/native_console.h"
#include "platform/process_memory.h"

namespace {

// Writes the whole text; false when the stream would not take it.
bool print(const std::string& text, std::FILE* stream) {
  if (text.empty()) return true;
  return std::fputs(text.c_str(), stream) >= 0 && std::fflush(stream) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  corvane::keepFreedMemory();
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::unique_ptr<corvane::FileSystem> fs =
      corvane::makeNativeFileSystem(argc > 0 ? argv[0] : std::string());
  corvane::RunOutcome outcome;
  try {
    // The terminal's own screen is back when the run returns, so that what
    // is printed below stays in sight after the run.
    outcome = corvane::runCorvane(arguments, corvane::makeNativeConsole, *fs);
  } catch (const std::bad_alloc&) {
    // The terminal has been given back on the way out all the same.
    std::fputs("corvane: out of memory\n", stderr);
    return 1;
  }
  const corvane::RunReport report =
      corvane::reportRun(outcome, {!outcome.scripted, corvane::kToolsRunUnderWine});
  print(report.errors, stderr);
  // The version and the usage text are what was asked for: not getting
  // them out (a full standard output) is a failure, not a silent success.
  if (!print(report.output, stdout) &&
      (outcome.end == corvane::RunEnd::kVersion || outcome.end == corvane::RunEnd::kUsageShown))
    return 1;
  return corvane::exitStatus(outcome);
}

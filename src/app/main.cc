#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/program_flow.h"
#include "app/run_report.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/native_console.h"

namespace {

// Writes the whole text; false when the stream would not take it.
bool print(const std::string& text, std::FILE* stream) {
  if (text.empty()) return true;
  return std::fputs(text.c_str(), stream) >= 0 && std::fflush(stream) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  // Answered before the console is set up, so that nothing is drawn; a full
  // standard output is a failure, not a silent success.
  if (corvane::readCommandLine(arguments, corvane::kPosixOptions).action ==
      corvane::CommandAction::kVersion) {
    return print(corvane::versionLine(), stdout) ? 0 : 1;
  }
  std::unique_ptr<corvane::FileSystem> fs =
      corvane::makeNativeFileSystem(argc > 0 ? argv[0] : std::string());
  corvane::OpenedConsole opened = corvane::makeNativeConsole();
  if (!opened.console) {
    std::fprintf(stderr, "corvane: %s\n", opened.problem.c_str());
    return 1;
  }
  std::unique_ptr<corvane::Console> console = std::move(opened.console);
  const bool onTerminal = !console->scripted();
  corvane::RunOutcome outcome;
  bool outOfMemory = false;
  try {
    outcome = corvane::runCorvane(arguments, *console, *fs);
  } catch (const std::bad_alloc&) {
    outOfMemory = true;  // the terminal must still be given back as it was
  }
  // The terminal's own screen comes back first, so that what is printed
  // below stays in sight after the run.
  console.reset();
  if (outOfMemory) {
    std::fputs("corvane: out of memory\n", stderr);
    return 1;
  }
  const corvane::RunReport report =
      corvane::reportRun(outcome, {onTerminal, corvane::kToolsRunUnderWine});
  print(report.errors, stderr);
  // The usage text is what /? asked for in a script: not getting it out is
  // a failure, as for --version.
  if (!print(report.output, stdout) && outcome.end == corvane::RunEnd::kUsageShown) return 1;
  return corvane::exitStatus(outcome);
}

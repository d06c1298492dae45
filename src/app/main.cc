#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/program_flow.h"
#include "app/run_report.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/native_console.h"
#include "platform/scripted_console.h"

namespace {

// Writes the whole text; false when the stream would not take it.
bool print(const std::string& text, std::FILE* stream) {
  if (text.empty()) return true;
  return std::fputs(text.c_str(), stream) >= 0 && std::fflush(stream) == 0;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // The sources screen builds lists of the whole directory on a key. glibc
  // would give their memory back to the system when they are freed and
  // take it again, page fault by page fault, for the next key: about 4 ms
  // for 20,000 names on a virtual machine. Freed memory is kept instead.
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  // Answered before the console is set up, so that nothing is drawn; a full
  // standard output is a failure, not a silent success.
  if (corvane::readCommandLine(arguments, corvane::kPosixOptions).action ==
      corvane::CommandAction::kVersion) {
    return print(corvane::versionLine(), stdout) ? 0 : 1;
  }
  std::unique_ptr<corvane::FileSystem> fs =
      corvane::makeNativeFileSystem(argc > 0 ? argv[0] : std::string());
  std::string problem;
  std::unique_ptr<corvane::Console> console = corvane::makeNativeConsole(problem);
  if (!console) {
    std::fprintf(stderr, "corvane: %s\n", problem.c_str());
    return 1;
  }
  // A person watches a terminal or a console window; a script reads its
  // keys from a pipe or a file and is told only what it must know.
  const bool onTerminal = dynamic_cast<corvane::ScriptedConsole*>(console.get()) == nullptr;
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

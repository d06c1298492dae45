#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/program_flow.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/native_console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  // Answered before the console is set up, so that nothing is drawn; a full
  // standard output is a failure, not a silent success.
  if (corvane::readCommandLine(arguments, corvane::kPosixOptions).action ==
      corvane::CommandAction::kVersion) {
    const bool printed = std::fputs(corvane::versionLine().c_str(), stdout) >= 0;
    return printed && std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::unique_ptr<corvane::FileSystem> fs =
      corvane::makeNativeFileSystem(argc > 0 ? argv[0] : std::string());
  std::string problem;
  std::unique_ptr<corvane::Console> console = corvane::makeNativeConsole(problem);
  if (!console) {
    std::fprintf(stderr, "corvane: %s\n", problem.c_str());
    return 1;
  }
  int status = 1;
  bool outOfMemory = false;
  try {
    status = corvane::exitStatus(corvane::runCorvane(arguments, *console, *fs));
  } catch (const std::bad_alloc&) {
    outOfMemory = true;  // the terminal must still be given back as it was
  }
  console.reset();  // gives the terminal back before the process ends
  if (outOfMemory) std::fputs("corvane: out of memory\n", stderr);
  return status;
}

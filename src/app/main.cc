#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/program_flow.h"
#include "platform/file_system.h"
#include "platform/native_console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::unique_ptr<corvane::FileSystem> fs = corvane::makeNativeFileSystem();
  std::string problem;
  std::unique_ptr<corvane::Console> console = corvane::makeNativeConsole(problem);
  if (!console) {
    std::fprintf(stderr, "corvane: %s\n", problem.c_str());
    return 1;
  }
  const int status = corvane::runCorvane(arguments, *console, *fs);
  console.reset();  // gives the terminal back before the process ends
  return status;
}

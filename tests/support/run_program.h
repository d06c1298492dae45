// Starts a program the way a user's script would: in a given directory, with
// keys on standard input, and waits for it (never longer than a deadline).
#ifndef CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H
#define CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H

#include <string>
#include <utility>
#include <vector>

namespace corvane::e2e {

struct RunOptions {
  std::string directory;
  std::vector<std::string> arguments;
  std::string argv0;  // the program's first argument; empty: the program's path
  std::string input;  // bytes on standard input; closed afterwards
  std::vector<std::pair<std::string, std::string>> environment;  // set or replaced
  long fileSizeLimit = -1;  // bytes, through RLIMIT_FSIZE; -1 leaves it alone
  int timeoutSeconds = 20;
};

struct RunResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, if any
  bool timedOut = false;
  std::string output;   // standard output and standard error together
};

RunResult runProgram(const std::string& program, const RunOptions& options);

}  // namespace corvane::e2e

#endif  // CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H

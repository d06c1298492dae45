// Starts a program the way a user's script would: in a given directory, with
// keys on standard input, and waits for it (never longer than a deadline).
#ifndef CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H
#define CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H

#include <string>
#include <utility>
#include <vector>

namespace corvane::e2e {

// The program that the end-to-end tests start. Without settings it is the
// corvane built with the tests, started directly. CORVANE_PROGRAM names
// another build (corvane.exe) and CORVANE_LAUNCHER the program that starts
// it (Wine), so that the very same tests check the Windows program.
struct ProgramUnderTest {
  std::string launcher;  // empty: the program is started directly
  std::string program;
  bool launched() const { return !launcher.empty(); }
};
ProgramUnderTest programUnderTest(const std::string& built);

struct RunOptions {
  std::string launcher;  // started as "launcher program arguments..." when set
  std::string directory;
  std::vector<std::string> arguments;
  std::string argv0;  // the program's first argument; empty: the program's path
                      // (a launched program always gets its path)
  std::string input;  // bytes on standard input; closed afterwards
  std::vector<std::pair<std::string, std::string>> environment;  // set or replaced
  long fileSizeLimit = -1;  // bytes, through RLIMIT_FSIZE; -1 leaves it alone
  int timeoutSeconds = 20;
};

struct RunResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, if any
  bool timedOut = false;
  std::string output;   // standard output
  std::string errors;   // standard error
};

RunResult runProgram(const std::string& program, const RunOptions& options);

}  // namespace corvane::e2e

#endif  // CORVANE_TESTS_SUPPORT_RUN_PROGRAM_H

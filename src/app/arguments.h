// What a command line asks Corvane to do.
#ifndef CORVANE_APP_ARGUMENTS_H
#define CORVANE_APP_ARGUMENTS_H

#include <string>
#include <vector>

namespace corvane {

// The project file when the command line names none.
inline constexpr char kDefaultProjectFile[] = "Project.gen";

// What a command line asks for. kVersion is answered on standard output
// without any console (see versionLine), so nothing is drawn. kBatch writes
// the files as the command line says, without a console either.
enum class CommandAction { kEdit, kBatch, kUsage, kVersion };

// What a batch run is told to do beyond the defaults.
struct BatchSettings {
  std::string compiler;  // --compiler's directory as typed; empty when not given
  bool addSources = false;
  bool force = false;  // replace a makefile Corvane did not write
};

struct CommandLine {
  CommandAction action = CommandAction::kEdit;
  std::string projectFileName;  // the project file of kEdit and kBatch
  int status = 0;               // the exit status after the usage screen
  // --batch was given: nothing is drawn and nothing asked, the usage text
  // included, and standard input is not read.
  bool batch = false;
  BatchSettings settings;
  std::string mistake;  // why a batch command line cannot be followed (status 1)
};

// arguments are those after the program name. "/?" shows the usage screen;
// with posixOptions so do --help and -h, and --version asks for the version.
// Any other single argument is the project file name; two or more show the
// usage screen and end with status 1. --batch, on every system, anywhere
// before a "--", makes a batch command line instead (see
// readBatchCommandLine).
CommandLine readCommandLine(const std::vector<std::string>& arguments, bool posixOptions);

// The command line of a batch run (one that holds --batch): its options in
// any order, "--" ending them, at most one project file; `mistake` says why
// one cannot be followed.
CommandLine readBatchCommandLine(const std::vector<std::string>& arguments);

// The synopsis of a batch command line, as the usage text shows it.
std::string batchUsage();

// What --version prints: "corvane", the version and a line end.
std::string versionLine();

}  // namespace corvane

#endif  // CORVANE_APP_ARGUMENTS_H

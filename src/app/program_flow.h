// One run of Corvane, from the command line to the written makefile.
#ifndef CORVANE_APP_PROGRAM_FLOW_H
#define CORVANE_APP_PROGRAM_FLOW_H

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/console.h"

namespace corvane {

// What a command line asks for. kVersion is answered on standard output
// before any console exists (see versionLine), so nothing is drawn.
enum class CommandAction { kEdit, kUsage, kVersion };

struct CommandLine {
  CommandAction action = CommandAction::kEdit;
  std::string projectFileName;  // the project file of kEdit
  int status = 0;               // the exit status after the usage screen
};

// arguments are those after the program name. "/?" shows the usage screen;
// with posixOptions so do --help and -h, and --version asks for the version.
// Any other single argument is the project file name; two or more show the
// usage screen and end with status 1. New options go here, so that main and
// the run read the command line alike.
CommandLine readCommandLine(const std::vector<std::string>& arguments, bool posixOptions);

// What --version prints: "corvane", the version and a line end.
std::string versionLine();

// arguments are those after the program name. Returns the exit status.
int runCorvane(const std::vector<std::string>& arguments, Console& console, FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_PROGRAM_FLOW_H

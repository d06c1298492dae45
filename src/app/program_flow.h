// One run of Corvane, from the command line to the written makefile.
#ifndef CORVANE_APP_PROGRAM_FLOW_H
#define CORVANE_APP_PROGRAM_FLOW_H

#include <functional>
#include <string>
#include <vector>

#include "app/run_outcome.h"
#include "console/console.h"
#include "platform/file_system.h"
#include "platform/native_console.h"

namespace corvane {

// Opens the console a run draws on: makeNativeConsole in the program.
using ConsoleOpener = std::function<OpenedConsole()>;

// arguments are those after the program name. The console is opened only
// once the run knows that it draws: --version is answered without one, so
// it draws nothing and works on any terminal. The console is closed again,
// and the terminal given back, when this returns, however the run ended.
RunOutcome runCorvane(const std::vector<std::string>& arguments,
                      const ConsoleOpener& openConsole, FileSystem& fs);
// The same on a console that the caller keeps; its screen is blank again
// when this returns.
RunOutcome runCorvane(const std::vector<std::string>& arguments, Console& console,
                      FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_PROGRAM_FLOW_H

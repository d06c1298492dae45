// What the user is told beside the screen when a run has ended. The screen
// says nothing once it has been given back, so:
//   - every run that ends with status 1 names its reason in one line for
//     standard error, whether a person or a script ran it;
//   - on a terminal (or a Windows console) a successful run ends with one or
//     two lines for standard output: what was saved and written, and how to
//     build; an Esc at the load question says that nothing was saved;
//   - a script, for which no screen is drawn, gets the usage text for /?
//     (and --help, -h) on standard output, and nothing else there;
//   - a batch run (--batch) gets the usage text as a script does, and the
//     lines of a successful run as a terminal does;
//   - once the project file is saved, what Borland Make cannot build as
//     meant (sources absent from the directory, names it misreads, several
//     entry points, the directory's sources the project leaves out) is
//     pointed out, and so are the files of Corvane's own that a save left
//     beside the files (a temporary file or a copy of old content it could
//     not remove): after the summary on a terminal, as "corvane: note: "
//     lines on standard error in a script or a batch run.
#ifndef CORVANE_APP_RUN_REPORT_H
#define CORVANE_APP_RUN_REPORT_H

#include <string>

#include "app/run_outcome.h"

namespace corvane {

struct RunReport {
  std::string output;  // for standard output; empty when there is nothing to say
  std::string errors;  // for standard error
};

// How the run was seen: on a terminal or by a script, and whether the
// Borland tools are started through Wine (which decides the build command
// and the shell it is typed in).
struct ReportSetting {
  bool onTerminal = false;
  bool toolsUnderWine = false;
};

RunReport reportRun(const RunOutcome& outcome, const ReportSetting& setting);

// The command that builds with the makefile: Borland Make from the Bin
// directory of the compiler directory, quoted for the shell it is typed in.
std::string buildCommand(const std::string& compilerDirectory, const std::string& makefile,
                         bool toolsUnderWine);

}  // namespace corvane

#endif  // CORVANE_APP_RUN_REPORT_H

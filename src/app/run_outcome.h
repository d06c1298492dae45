// How a run of Corvane ended, and what the report of it names.
#ifndef CORVANE_APP_RUN_OUTCOME_H
#define CORVANE_APP_RUN_OUTCOME_H

#include <string>

#include "platform/file_system.h"
#include "text/text_utils.h"

namespace corvane {

// How a run ended. The exit status follows from it (see exitStatus).
enum class RunEnd {
  kMakefileWritten,    // 0: the project file saved and the makefile written
  kVersion,            // 0: --version; no console opened, nothing drawn
  kNoConsole,          // 1: standard input is a terminal Corvane cannot draw on
                       //    (see consoleProblem); nothing drawn
  kUsageShown,         // 0: the usage screen, asked for
  kTooManyArguments,   // 1: the usage screen, for more than one argument
  kLoadEscaped,        // 0: Esc at the load question; nothing saved
  kProjectRefused,     // 1: the file named as the project file may be neither
                       //    loaded nor replaced (see refusal); nothing saved
  kEditEscaped,        // 1: Esc on an editing screen; nothing saved
  kProjectNotSaved,    // 1: the project file could not be written
  kOverwriteDeclined,  // 0: the project file saved, the old makefile kept
  kCompilerEscaped,    // 1: Esc at a compiler-directory prompt; the project file saved
  kMakefileEscaped,    // 1: Esc in the makefile's retry box; the project file saved
  // Ends only a batch run has; a batch run ends with status 0 only when the
  // makefile was written.
  kBadOptions,           // 1: a batch command line that cannot be followed; nothing written
  kNamesClash,           // 1: the names would replace another file, or the target has no
                         //    name (see clash); nothing written
  kMakefileNotCorvanes,  // 1: the makefile there is not one Corvane wrote, and no --force;
                         //    the project file saved
  kNoCompiler,           // 1: no compiler directory found; the project file saved
  kMakefileNotSaved,     // 1: the makefile could not be written; the project file saved
};

// The end of a run and what a report of it would name.
struct RunOutcome {
  RunEnd end = RunEnd::kMakefileWritten;
  std::string projectFile;  // the project file of the run, once it is known
  std::string makefile;     // the makefile, once the project file is saved
  // Why the file named as the project file was refused, worded to follow
  // its name: "is larger than 16 MiB, too large for a project file".
  std::string refusal;
  // Why no console could be opened, in one line for the user.
  std::string consoleProblem;
  // The console said that a script sent the keys: nobody saw the screen.
  bool scripted = false;
  // A batch run: no console was opened at all.
  bool batch = false;
  // Why a batch command line cannot be followed.
  std::string commandProblem;
  // The error box's lines of a name that would replace another file, or
  // of a target without a name.
  List clash;
  // Why the project file or the makefile could not be written, over every
  // try of the retry box (see afterRetry).
  SaveResult saveFailure = SaveResult::kSaved;
  // For kDamaged: the copy that holds the file's old content; empty where
  // none could be made.
  std::string oldContentCopy;
  // Files of Corvane's own that the saves left beside the files.
  List leftOver;
  // The directory written after "BCDIR = ".
  std::string compilerDirectory;
  // After Esc at a compiler prompt: the compiler path last looked for and
  // not found, if any.
  std::string compilerLastTried;
  // A batch run that found no compiler: every compiler path it looked for,
  // and whether --compiler named the directory.
  List compilerTried;
  bool compilerNamed = false;
  // Once the project file is saved: the sources it lists that this
  // directory does not hold, and those whose names Borland Make misreads
  // (a blank, "#" or "$" in them).
  List missingSources;
  List misreadSources;
  // Once the project file is saved: the directory's sources that it does
  // not list (the makefile leaves them out), sorted as the screens sort.
  List unlistedSources;
  // Once the project file is saved: the target's file name when Make
  // misreads it too; empty when it does not.
  std::string misreadTarget;
  // Once the project file is saved: when more than one of its sources
  // defines an entry point and the target is still named after the first
  // of them as Corvane found them, those sources; and that first one (which
  // the project may no longer list).
  List entrySources;
  std::string targetNamedAfter;
};

int exitStatus(const RunOutcome& outcome);

// A name in double quotes, as the boxes and the report of a run name files.
std::string quoted(const std::string& name);

}  // namespace corvane

#endif  // CORVANE_APP_RUN_OUTCOME_H

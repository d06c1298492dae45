// The steps of a run that read the project file and write the files, shared
// by the run on the screens and the batch run. They differ only in who
// answers: the person at the screen, or the batch run's command line.
#ifndef CORVANE_APP_FILE_STEPS_H
#define CORVANE_APP_FILE_STEPS_H

#include <optional>
#include <string>

#include "app/compiler_directory.h"
#include "app/run_outcome.h"
#include "platform/file_system.h"
#include "project/make_project.h"
#include "text/text_utils.h"

namespace corvane {

// What the writing steps need decided on the way.
class WriteQuestions {
 public:
  virtual ~WriteQuestions() = default;
  // A file could not be saved (the error box's lines say which and why):
  // whether to try again.
  virtual bool tryAgain(const List& message) = 0;
  // Whether the makefile there under that name may be replaced; `corvanes`
  // when Corvane wrote it (it opens with Corvane's comment block).
  virtual bool replaceMakefile(const std::string& name, bool corvanes) = 0;
  // The compiler directory; `previous` is the one the makefile about to be
  // replaced names, empty when none.
  virtual CompilerSearch compilerDirectory(const std::string& previous) = 0;
};

// The sources of a directory listing that the project's sources do not
// name, compared without regard to case as the tools find files, sorted as
// the screens sort them.
List unlistedSources(const List& listing, const List& sources);

// The project a project file's bytes describe.
MakeProject loadedProject(const FileContent& file, const FileSystem& fs);

// Saves the project under the project file's name (not when the file holds
// these bytes already), replaces the makefile where the questions allow,
// finds the compiler directory and writes the makefile. What comes back is
// how the run ended, with the names and what was found on the way.
RunOutcome saveAndWrite(WriteQuestions& questions, FileSystem& fs, const MakeProject& project,
                        const std::string& projectFile);

}  // namespace corvane

#endif  // CORVANE_APP_FILE_STEPS_H

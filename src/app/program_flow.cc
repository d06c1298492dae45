#include "app/program_flow.h"

#include <memory>
#include <optional>
#include <utility>

#include "app/arguments.h"
#include "app/batch_run.h"
#include "app/compiler_directory.h"
#include "app/file_steps.h"
#include "app/name_checks.h"
#include "console/key_codes.h"
#include "platform/command_line.h"
#include "project/make_project.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr char kRetryPrompt[] = "[ESC] to exit, any other key to try again ";

// Whether the project may be saved under the name: yes where nothing is,
// over a project file (Corvane's own or one edited by hand) and over a
// device; any other file is replaced only when the user says so, No being
// the default. A file that cannot be read may be anything, so it is asked
// about too.
bool mayReplaceWithProject(CorvaneScreen& screen, const FileSystem& fs, const std::string& name) {
  const FileContent file = fs.readFile(name, MakeProject::kLargestFile);
  if (file.status == ReadStatus::kAbsent || file.status == ReadStatus::kNotPlainFile) return true;
  if (file.status == ReadStatus::kRead && holdsProjectLine(file.bytes)) return true;
  return screen.askYesNo({existingFileLine(fs, name), "It is not a Corvane project file.",
                          "Replace it?"},
                         false) == Answer::kYes;
}

// Loads the project file when it can be read and the user agrees; otherwise
// builds the default project. Nothing, with the end in the outcome, when the
// user pressed Esc or the file is no project file: saving a default project
// would replace whatever it is, so nothing is written and the user names
// another file.
std::optional<MakeProject> loadOrCreateProject(CorvaneScreen& screen, const FileSystem& fs,
                                               const std::string& name, RunOutcome& outcome) {
  const ProjectFileRead read = readProjectFile(fs, name);
  if (read.refusal.refused()) {
    outcome.refusal = read.refusal.words();
    screen.fatalError(
        concat(concat({"Cannot load project file " + quoted(name)}, read.refusal.lines()),
               {"Nothing was written. Start Corvane with another one."}));
    outcome.end = RunEnd::kProjectRefused;
    return std::nullopt;
  }
  // Absent, or a device or pipe that is written to but never read.
  if (read.file.status != ReadStatus::kRead) return MakeProject(fs);
  switch (screen.askYesNo({"Load existing project file " + quoted(name) + " ?",
                           "A new default project will be generated if you answer No.", "LOAD"},
                          true)) {
    case Answer::kEsc:
      outcome.end = RunEnd::kLoadEscaped;
      return std::nullopt;
    case Answer::kNo:
      return MakeProject(fs);
    case Answer::kYes:
      break;
  }
  return loadedProject(read.file, fs);
}

// The person at the screen answers: the retry box, the overwrite question
// and the compiler prompts.
class ScreenQuestions : public WriteQuestions {
 public:
  ScreenQuestions(CorvaneScreen& screen, const FileSystem& fs) : screen_(screen), fs_(fs) {}

  bool tryAgain(const List& message) override {
    return screen_.showError(message, kRetryPrompt) != kKeyEsc;
  }

  // A read-only makefile raises no question: the retry box says why it
  // cannot be written. Replacing a makefile Corvane wrote is what a run is
  // for; any other file is kept unless the user says otherwise.
  bool replaceMakefile(const std::string& name, bool corvanes) override {
    if (!fs_.isWritable(name)) return true;
    const List question = corvanes ? List{"\n" + name + " already exists.", "OVERWRITE"}
                                   : List{existingFileLine(fs_, name),
                                          "Corvane did not write it.", "OVERWRITE"};
    return screen_.askYesNo(question, corvanes) == Answer::kYes;
  }

  CompilerSearch compilerDirectory(const std::string& previous) override {
    return locateCompilerDirectory(screen_, fs_, fs_.programPath(), previous);
  }

 private:
  CorvaneScreen& screen_;
  const FileSystem& fs_;
};

// The run after the title: the load question, the editing screens, the
// files. The screen is left to its owner to tear down.
RunOutcome editAndWrite(CorvaneScreen& screen, FileSystem& fs, const std::string& fileName) {
  RunOutcome notLoaded;
  notLoaded.projectFile = fileName;
  std::optional<MakeProject> loaded = loadOrCreateProject(screen, fs, fileName, notLoaded);
  if (!loaded) return notLoaded;
  MakeProject& project = *loaded;

  // The project file's name as the user edits it on the main screen.
  std::string projectFile = fileName;
  screen.openWorkspace();
  // Names that would replace another file, and a No to replacing a file
  // that holds no project, send the user back to the main screen, with
  // everything typed, before anything is written.
  for (;;) {
    if (editProject(project, projectFile, screen, fs) == EditResult::kEscaped) {
      RunOutcome escaped;
      escaped.projectFile = projectFile;
      escaped.end = RunEnd::kEditEscaped;
      return escaped;
    }
    const List refused = refusedOnAccepting(fs, project, projectFile);
    if (!refused.empty()) {
      screen.showError(refused, "Press any key to go back to the project.. ");
    } else if (mayReplaceWithProject(screen, fs, projectFile)) {
      break;
    }
  }
  ScreenQuestions questions(screen, fs);
  return saveAndWrite(questions, fs, project, projectFile);
}

// The run of a command line, on the console that `openConsole` gives once
// the run knows it draws; null from it ends the run (it says why in the
// outcome).
RunOutcome runCommandLine(const std::vector<std::string>& arguments, FileSystem& fs,
                          const std::function<Console*(RunOutcome&)>& openConsole) {
  const CommandLine command = readCommandLine(arguments, kPosixOptions);
  RunOutcome outcome;
  if (command.action == CommandAction::kVersion) {
    outcome.end = RunEnd::kVersion;
    return outcome;
  }
  if (command.batch) return runBatch(command, fs);
  Console* console = openConsole(outcome);
  if (console == nullptr) return outcome;
  {
    // The one owner of the screen: it is torn down when the run leaves this
    // block, whichever way that is.
    CorvaneScreen screen(*console);
    screen.showTitle();
    if (command.action == CommandAction::kUsage) {
      screen.showUsage();
      outcome.end = command.status == 0 ? RunEnd::kUsageShown : RunEnd::kTooManyArguments;
    } else {
      outcome = editAndWrite(screen, fs, command.projectFileName);
    }
  }
  outcome.scripted = console->scripted();
  return outcome;
}

}  // namespace

RunOutcome runCorvane(const std::vector<std::string>& arguments,
                      const ConsoleOpener& openConsole, FileSystem& fs) {
  std::unique_ptr<Console> console;
  return runCommandLine(arguments, fs, [&openConsole, &console](RunOutcome& outcome) {
    OpenedConsole opened = openConsole();
    console = std::move(opened.console);
    if (!console) {
      outcome.end = RunEnd::kNoConsole;
      outcome.consoleProblem = opened.problem;
    }
    return console.get();
  });
}

RunOutcome runCorvane(const std::vector<std::string>& arguments, Console& console,
                      FileSystem& fs) {
  return runCommandLine(arguments, fs, [&console](RunOutcome&) { return &console; });
}

}  // namespace corvane

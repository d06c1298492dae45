#include "app/program_flow.h"

#include <optional>
#include <sstream>
#include <variant>

#include "app/compiler_directory.h"
#include "makefile/makefile.h"
#include "platform/command_line.h"
#include "platform/key_codes.h"
#include "project/make_project.h"
#include "project/source_discovery.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr char kDefaultProjectFile[] = "Project.gen";
constexpr char kEnsureWritable[] = "Ensure file is writeable and not currently in use.";
// How much of an old makefile is searched for the compiler directory it names.
constexpr std::size_t kMakefileHeadBytes = 64 * 1024;

// Both separators count: a name with a directory part cannot be written in
// the current directory, which is what the message tells the user.
bool hasDirectoryPart(const std::string& name) {
  return name.find('\\') != std::string::npos || name.find('/') != std::string::npos;
}

// Loads the project file when it can be read and the user agrees; otherwise
// builds the default project. The end of the run instead when the user
// pressed Esc or the file is too large to be a project file.
std::variant<MakeProject, RunEnd> loadOrCreateProject(CorvaneScreen& screen,
                                                      const FileSystem& fs,
                                                      const std::string& projectFileName) {
  const std::optional<std::string> content =
      fs.readFile(projectFileName, MakeProject::kLargestFile + 1);
  if (!content) return MakeProject(fs);
  if (content->size() > MakeProject::kLargestFile) {
    // Saving a default project would replace whatever it is: nothing is
    // written, the user names another file.
    screen.fatalError({"Cannot load project file " + quoted(projectFileName),
                       "It is larger than " + projectFileLimit() +
                           ", too large for a project file.",
                       "Nothing was written. Start Corvane with another one."});
    return RunEnd::kProjectTooLarge;
  }
  switch (screen.askYesNo({"Load existing project file " + quoted(projectFileName) + " ?",
                           "A new default project will be generated if you answer No.", "LOAD"},
                          true)) {
    case Answer::kEsc:
      return RunEnd::kLoadEscaped;
    case Answer::kNo:
      return MakeProject(fs);
    case Answer::kYes:
      break;
  }
  std::istringstream in(*content);
  return MakeProject(in, fs);
}

// Saves the project file; when it cannot be saved, the fatal error box says
// so and the result tells why.
SaveResult saveProject(CorvaneScreen& screen, FileSystem& fs, const MakeProject& project,
                       const std::string& projectFileName) {
  std::ostringstream out;
  project.write(out);
  const SaveResult result = fs.saveFile(projectFileName, out.str());
  if (result == SaveResult::kSaved) return result;
  const std::string first = (result == SaveResult::kCannotOpen ? "Cannot open project file "
                                                               : "Cannot write project file ") +
                            quoted(projectFileName);
  const std::string second =
      (hasDirectoryPart(projectFileName) ? "The file must be in current directory "
                                         : "in current directory ") +
      fs.currentDirectory();
  screen.fatalError({first, second, kEnsureWritable});
  return result;
}

// Writes the makefile, offering a retry while it cannot be written. kSaved
// once written; when the user gave up with Esc, why the last try failed.
SaveResult saveMakefile(CorvaneScreen& screen, FileSystem& fs, const std::string& makefileName,
                        const std::string& text) {
  for (;;) {
    const SaveResult result = fs.saveFile(makefileName, text);
    if (result == SaveResult::kSaved) return result;
    const std::string first = (result == SaveResult::kCannotOpen ? "Cannot open Makefile "
                                                                 : "Cannot write Makefile ") +
                              quoted(makefileName);
    const int key = screen.showError(
        {first, "in current directory " + fs.currentDirectory(), kEnsureWritable},
        "[ESC] to exit, any other key to try again ");
    if (key == kKeyEsc) return result;
  }
}

// The run after the title: the load question, the editing screens, the
// files. The screen is left to its owner to tear down.
RunOutcome editAndWrite(CorvaneScreen& screen, FileSystem& fs, const std::string& fileName) {
  RunOutcome outcome;
  outcome.projectFile = fileName;
  const auto ended = [&outcome](RunEnd end) {
    outcome.end = end;
    return outcome;
  };

  std::variant<MakeProject, RunEnd> loaded = loadOrCreateProject(screen, fs, fileName);
  if (const RunEnd* end = std::get_if<RunEnd>(&loaded)) return ended(*end);
  MakeProject& project = std::get<MakeProject>(loaded);

  screen.openWorkspace();
  if (editProject(project, outcome.projectFile, screen, fs) == EditResult::kEscaped)
    return ended(RunEnd::kEditEscaped);

  outcome.saveFailure = saveProject(screen, fs, project, outcome.projectFile);
  if (outcome.saveFailure != SaveResult::kSaved) return ended(RunEnd::kProjectNotSaved);
  // What the saved project lists that the makefile cannot build from.
  outcome.missingSources = SourceDirectory(directorySources(fs)).missingFrom(project.sources());
  outcome.sourcesWithBlanks = sourcesMakeCannotName(project.sources());

  outcome.makefile = project.makefileName();
  if (fs.isWritable(outcome.makefile)) {
    const Answer answer =
        screen.askYesNo({"\n" + outcome.makefile + " already exists.", "OVERWRITE"}, true);
    if (answer != Answer::kYes) return ended(RunEnd::kOverwriteDeclined);
  }

  // The BCDIR line sits near the top of the makefile about to be replaced.
  const std::optional<std::string> oldMakefile =
      fs.readFile(outcome.makefile, kMakefileHeadBytes);
  const CompilerSearch compiler =
      locateCompilerDirectory(screen, fs, fs.programPath(),
                              oldMakefile ? compilerDirectoryNamedIn(*oldMakefile) : "");
  if (!compiler.directory) {
    outcome.compilerLastTried = compiler.lastTried;
    return ended(RunEnd::kCompilerEscaped);
  }
  outcome.compilerDirectory = *compiler.directory;

  std::ostringstream text;
  Makefile(project, outcome.compilerDirectory).write(text);
  outcome.saveFailure = saveMakefile(screen, fs, outcome.makefile, text.str());
  if (outcome.saveFailure != SaveResult::kSaved) return ended(RunEnd::kMakefileEscaped);
  return ended(RunEnd::kMakefileWritten);
}

}  // namespace

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

std::string projectFileLimit() { return std::to_string(MakeProject::kLargestFile >> 20) + " MiB"; }

CommandLine readCommandLine(const std::vector<std::string>& arguments, bool posixOptions) {
  CommandLine command;
  if (arguments.size() >= 2) {
    command.action = CommandAction::kUsage;
    command.status = 1;
    return command;
  }
  const std::string argument = arguments.empty() ? std::string() : arguments[0];
  if (argument == "/?" || (posixOptions && (argument == "--help" || argument == "-h"))) {
    command.action = CommandAction::kUsage;
  } else if (posixOptions && argument == "--version") {
    command.action = CommandAction::kVersion;
  } else {
    command.projectFileName = arguments.empty() ? kDefaultProjectFile : argument;
  }
  return command;
}

std::string versionLine() { return std::string("corvane ") + CORVANE_VERSION + "\n"; }

int exitStatus(const RunOutcome& outcome) {
  switch (outcome.end) {
    case RunEnd::kMakefileWritten:
    case RunEnd::kVersion:
    case RunEnd::kUsageShown:
    case RunEnd::kLoadEscaped:
    case RunEnd::kOverwriteDeclined:
      return 0;
    case RunEnd::kTooManyArguments:
    case RunEnd::kProjectTooLarge:
    case RunEnd::kEditEscaped:
    case RunEnd::kProjectNotSaved:
    case RunEnd::kCompilerEscaped:
    case RunEnd::kMakefileEscaped:
      return 1;
  }
  return 1;
}

RunOutcome runCorvane(const std::vector<std::string>& arguments, Console& console,
                      FileSystem& fs) {
  const CommandLine command = readCommandLine(arguments, kPosixOptions);
  RunOutcome outcome;
  // main prints the version before the console is set up; here the run has
  // nothing to do and draws nothing.
  if (command.action == CommandAction::kVersion) {
    outcome.end = RunEnd::kVersion;
    return outcome;
  }

  // The one owner of the screen: it is torn down when the run leaves this
  // function, whichever way that is.
  CorvaneScreen screen(console);
  screen.showTitle();
  if (command.action == CommandAction::kUsage) {
    screen.showUsage();
    outcome.end = command.status == 0 ? RunEnd::kUsageShown : RunEnd::kTooManyArguments;
    return outcome;
  }
  return editAndWrite(screen, fs, command.projectFileName);
}

}  // namespace corvane

#include "app/program_flow.h"

#include <optional>
#include <sstream>

#include "app/compiler_directory.h"
#include "makefile/makefile.h"
#include "platform/command_line.h"
#include "project/make_project.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr char kDefaultProjectFile[] = "Project.gen";
constexpr char kEnsureWritable[] = "Ensure file is writeable and not currently in use.";
constexpr int kEsc = 27;

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// Both separators count: a name with a directory part cannot be written in
// the current directory, which is what the message tells the user.
bool hasDirectoryPart(const std::string& name) {
  return name.find('\\') != std::string::npos || name.find('/') != std::string::npos;
}

// Loads the project file when it can be read and the user agrees; otherwise
// builds the default project. Nothing when the user pressed Esc or the file
// is too large to be a project file (the screen has then been destroyed by
// the fatal error box).
std::optional<MakeProject> loadOrCreateProject(CorvaneScreen& screen, const FileSystem& fs,
                                               const std::string& projectFileName,
                                               bool& escaped) {
  escaped = false;
  const std::optional<std::string> content =
      fs.readFile(projectFileName, MakeProject::kLargestFile + 1);
  if (!content) return MakeProject(fs);
  if (content->size() > MakeProject::kLargestFile) {
    // Saving a default project would replace whatever it is: nothing is
    // written, the user names another file.
    screen.fatalError({"Cannot load project file " + quoted(projectFileName),
                       "It is larger than " + std::to_string(MakeProject::kLargestFile >> 20) +
                           " MiB, too large for a project file.",
                       "Nothing was written. Start Corvane with another one."});
    return std::nullopt;
  }
  const int answer = screen.askYesNo(
      {"Load existing project file " + quoted(projectFileName) + " ?",
       "A new default project will be generated if you answer No.", "LOAD"},
      true);
  if (answer < 0) {
    escaped = true;
    return std::nullopt;
  }
  if (answer == 0) return MakeProject(fs);
  std::istringstream in(*content);
  return MakeProject(in, fs);
}

// Saves the project file; false when it could not be saved (the screen has
// then been destroyed by the fatal error box).
bool saveProject(CorvaneScreen& screen, FileSystem& fs, const MakeProject& project,
                 const std::string& projectFileName) {
  std::ostringstream out;
  project.write(out);
  const SaveResult result = fs.saveFile(projectFileName, out.str());
  if (result == SaveResult::kSaved) return true;
  const std::string first = (result == SaveResult::kCannotOpen ? "Cannot open project file "
                                                               : "Cannot write project file ") +
                            quoted(projectFileName);
  const std::string second =
      (hasDirectoryPart(projectFileName) ? "The file must be in current directory "
                                         : "in current directory ") +
      fs.currentDirectory();
  screen.fatalError({first, second, kEnsureWritable});
  return false;
}

// Writes the makefile, offering a retry while it cannot be written; false
// when the user gave up with Esc (the screen has then been destroyed).
bool saveMakefile(CorvaneScreen& screen, FileSystem& fs, const std::string& makefileName,
                  const std::string& text) {
  for (;;) {
    const SaveResult result = fs.saveFile(makefileName, text);
    if (result == SaveResult::kSaved) return true;
    const std::string first = (result == SaveResult::kCannotOpen ? "Cannot open Makefile "
                                                                 : "Cannot write Makefile ") +
                              quoted(makefileName);
    const int key = screen.showError(
        {first, "in current directory " + fs.currentDirectory(), kEnsureWritable},
        "[ESC] to exit, any other key to try again ");
    if (key == kEsc) {
      screen.destroy();
      return false;
    }
  }
}

}  // namespace

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

int runCorvane(const std::vector<std::string>& arguments, Console& console, FileSystem& fs) {
  const CommandLine command = readCommandLine(arguments, kPosixOptions);
  // main prints the version before the console is set up; here the run has
  // nothing to do and draws nothing.
  if (command.action == CommandAction::kVersion) return 0;

  CorvaneScreen screen(console);
  screen.showTitle();

  if (command.action == CommandAction::kUsage) {
    screen.showUsage();
    screen.destroy();
    return command.status;
  }
  std::string projectFileName = command.projectFileName;

  bool escaped = false;
  std::optional<MakeProject> project = loadOrCreateProject(screen, fs, projectFileName, escaped);
  if (!project) {
    screen.destroy();
    return escaped ? 0 : 1;
  }

  screen.openWorkspace();
  if (!editProject(*project, projectFileName, screen, fs)) return 1;

  if (!saveProject(screen, fs, *project, projectFileName)) return 1;

  const std::string makefileName = project->makefileName();
  if (fs.isWritable(makefileName)) {
    const int answer = screen.askYesNo({"\n" + makefileName + " already exists.", "OVERWRITE"}, true);
    if (answer != 1) {
      screen.destroy();
      return 0;
    }
  }

  const std::optional<std::string> compilerDirectory =
      locateCompilerDirectory(screen, fs, fs.programPath());
  if (!compilerDirectory) return 1;

  std::ostringstream text;
  Makefile(*project, *compilerDirectory).write(text);
  if (!saveMakefile(screen, fs, makefileName, text.str())) return 1;

  screen.destroy();
  return 0;
}

}  // namespace corvane

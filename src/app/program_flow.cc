#include "app/program_flow.h"

#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "app/batch_run.h"
#include "app/compiler_directory.h"
#include "app/file_steps.h"
#include "console/key_codes.h"
#include "makefile/makefile.h"
#include "platform/command_line.h"
#include "project/make_project.h"
#include "project/source_discovery.h"
#include "text/path_names.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr char kEnsureWritable[] = "Ensure file is writeable and not currently in use.";
constexpr char kRetryPrompt[] = "[ESC] to exit, any other key to try again ";
// The box for a target without a name: the makefile would build ".exe".
const List kNamelessTarget = {"The target has no name.",
                              "Borland Make would build a file named only by its extension.",
                              "Nothing was written. Give the target a name."};

// The extensions of the files a program is built from and into. A project
// file never takes such a name: saving it would replace a source, a header
// or the program, and the directory's next scan would take it for a source.
constexpr std::string_view kBuildFileExtensions[] = {".c",   ".cpp", ".h",   ".hpp", ".rc",
                                                     ".res", ".obj", ".lib", ".exe", ".dll"};

// How much of an old makefile is searched for the compiler directory it names.
constexpr std::size_t kMakefileHeadBytes = 64 * 1024;

// Both separators count: a name with a directory part cannot be written in
// the current directory, which is what the message tells the user.
bool hasDirectoryPart(const std::string& name) {
  return name.find_first_of(kPathSeparators) != std::string::npos;
}

// Why no project file or makefile may have this name, worded to follow it
// (as RunOutcome::refusal is); empty when it may.
std::string extensionRefusal(std::string_view name) {
  for (std::string_view extension : kBuildFileExtensions) {
    if (endsWithNoCase(name, extension)) {
      const std::string_view end = name.substr(name.size() - extension.size());
      return "has the extension " + quoted(std::string(end)) + " of a source or build file";
    }
  }
  return "";
}

// Why a name may not be saved under: the name as typed, or the file a link
// makes of it, has the extension of a source or build file.
struct NameRefusal {
  std::string leadsTo;  // the file the name leads to, when that is what is refused
  std::string why;      // empty when the name may be used

  bool refused() const { return !why.empty(); }
  // The lines of a box, after the one that names the file.
  List lines() const {
    if (leadsTo.empty()) return {"It " + why + "."};
    return {"It leads to " + quoted(leadsTo) + ",", "which " + why + "."};
  }
  // The same in one run of words that follows the name.
  std::string words() const {
    return leadsTo.empty() ? why : "leads to " + quoted(leadsTo) + ", which " + why;
  }
};

NameRefusal nameRefusal(const FileSystem& fs, const std::string& name) {
  if (std::string why = extensionRefusal(name); !why.empty()) return {"", why};
  const std::string final = fs.finalName(name);
  if (final == name) return {};
  return {final, extensionRefusal(final)};
}

// The first line of a question about a file that is there: its name, and
// where it leads when it is a link to another.
std::string existingFileLine(const FileSystem& fs, const std::string& name) {
  const std::string final = fs.finalName(name);
  if (final == name) return name + " already exists.";
  return name + " leads to " + final + ".";
}

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

// Why the file found under the project file's name is no project file; empty
// when it may be loaded.
std::string contentRefusal(const FileContent& file) {
  if (file.status == ReadStatus::kFailed) return "cannot be read: " + file.reason;
  if (file.bytes.size() > MakeProject::kLargestFile)
    return "is larger than " + std::to_string(MakeProject::kLargestFile >> 20) +
           " MiB, too large for a project file";
  // Text never holds one; a program or an object file does.
  if (file.bytes.find('\0') != std::string::npos)
    return "holds NUL bytes, which no project file does";
  return "";
}

// The project file as read, or why it may be neither loaded nor replaced.
struct ProjectFileRead {
  FileContent file;
  NameRefusal refusal;
};

ProjectFileRead readChecked(const FileSystem& fs, const std::string& name) {
  ProjectFileRead read;
  read.refusal = nameRefusal(fs, name);
  if (!read.refusal.refused()) {
    read.file = fs.readFile(name, MakeProject::kLargestFile + 1);
    read.refusal.why = contentRefusal(read.file);
  }
  return read;
}

// Loads the project file when it can be read and the user agrees; otherwise
// builds the default project. Nothing, with the end in the outcome, when the
// user pressed Esc or the file is no project file: saving a default project
// would replace whatever it is, so nothing is written and the user names
// another file.
std::optional<MakeProject> loadOrCreateProject(CorvaneScreen& screen, const FileSystem& fs,
                                               RunOutcome& outcome) {
  const std::string& name = outcome.projectFile;
  const ProjectFileRead read = readChecked(fs, name);
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

}  // namespace

std::optional<FileContent> readProjectFile(const FileSystem& fs, RunOutcome& outcome) {
  ProjectFileRead read = readChecked(fs, outcome.projectFile);
  if (read.refusal.refused()) {
    outcome.refusal = read.refusal.words();
    outcome.end = RunEnd::kProjectRefused;
    return std::nullopt;
  }
  return std::move(read.file);
}

List unlistedSources(const List& listing, const List& sources) {
  // The names alone count: every name of the listing is there.
  std::unordered_set<std::string> listed;
  for (const std::string& source : sources) listed.insert(upperCase(source));
  List unlisted;
  for (const std::string& name : listing)
    if (listed.count(upperCase(name)) == 0) unlisted.push_back(name);
  return sortNoCase(unlisted, true);
}

MakeProject loadedProject(const FileContent& file, const FileSystem& fs) {
  std::istringstream in(file.bytes);
  return MakeProject(in, fs);
}

List refusedOnAccepting(const FileSystem& fs, const MakeProject& project,
                        const std::string& projectFile) {
  const List clash = nameClash(fs, project, projectFile);
  if (clash.empty() && isBlankText(project.target())) return kNamelessTarget;
  return clash;
}

List nameClash(const FileSystem& fs, const MakeProject& project, const std::string& projectFile) {
  const auto box = [](const std::string& first, const List& why) {
    return concat(concat({first}, why), {"Nothing was written. Choose another name."});
  };
  const std::string& makefile = project.makefileName();
  const std::string projectLine = "Cannot save project file " + quoted(projectFile);
  const std::string makefileLine = "Cannot write Makefile " + quoted(makefile);
  for (const auto& [name, first] :
       {std::pair(projectFile, projectLine), std::pair(makefile, makefileLine)}) {
    const NameRefusal refusal = nameRefusal(fs, name);
    if (refusal.refused()) return box(first, refusal.lines());
  }
  // What the saves would write, links followed: a dangling link stands for
  // the file it would create, which the other name may also be about to.
  const std::string projectTarget = fs.finalName(projectFile);
  const std::string makefileTarget = fs.finalName(makefile);
  // The directory's sources beside the project's, each name asked about once,
  // and each looked up once for both names.
  const List sources =
      concat(project.sources(), minus(directorySources(fs), project.sources()));
  const std::vector<std::size_t> replaced =
      fs.firstSameFiles({projectTarget, makefileTarget}, sources);
  const auto replacing = [](const std::string& what) {
    return List{"It would replace " + what + "."};
  };
  if (replaced[0] < sources.size())
    return box(projectLine, replacing("the source " + quoted(sources[replaced[0]])));
  if (fs.sameFile(makefileTarget, projectTarget))
    return box(makefileLine, replacing("the project file " + quoted(projectFile)));
  if (replaced[1] < sources.size())
    return box(makefileLine, replacing("the source " + quoted(sources[replaced[1]])));
  return {};
}

namespace {

// Saves the text under the name, offering a retry while it cannot be saved,
// so that the user can make the file writable without losing the session's
// edits. Saved once saved; when the user gave up (Esc, or no one to ask),
// the worst that the tries did (a file that may hold neither stays so).
// `what` names the kind of file, `where` is the box's second line.
SaveOutcome saveWithRetry(WriteQuestions& questions, FileSystem& fs, const std::string& name,
                          const std::string& text, const std::string& what,
                          const std::string& where) {
  SaveOutcome outcome;
  for (;;) {
    outcome = afterRetry(outcome, fs.saveFile(name, text));
    if (outcome.result == SaveResult::kSaved) return outcome;
    const char* problem =
        outcome.result == SaveResult::kCannotOpen ? "Cannot open " : "Cannot write ";
    List lines{problem + what + quoted(name), where};
    if (outcome.result == SaveResult::kDamaged) {
      lines.push_back("It may now hold neither its old content nor the new;");
      lines.push_back(outcome.oldContent.empty()
                          ? "no copy of its old content could be kept."
                          : "its old content is kept in " + quoted(outcome.oldContent) + ".");
    }
    lines.push_back(kEnsureWritable);
    if (!questions.tryAgain(lines)) return outcome;
  }
}

// Whether the file holds exactly these bytes already. A project file that
// does is not written again: a read-only one (version control keeps files
// so) does not stop a run that changed nothing in it, and its time stays.
bool holdsAlready(const FileSystem& fs, const std::string& name, const std::string& text) {
  const FileContent file = fs.readFile(name, text.size() + 1);
  return file.status == ReadStatus::kRead && file.bytes == text;
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

// What the saved project asks of Borland Make that it cannot build as meant.
void noteWhatMakeCannotBuild(const FileSystem& fs, const MakeProject& project,
                             RunOutcome& outcome) {
  // Both ways round, without regard to case, as the tools find files.
  const List listing = directorySources(fs);
  outcome.missingSources = SourceDirectory(listing, fs).missingFrom(project.sources());
  outcome.unlistedSources = unlistedSources(listing, project.sources());
  outcome.misreadSources = sourcesMakeCannotName(project.sources());
  const std::string target = project.target() + project.targetExtension();
  if (makeCannotName(target)) outcome.misreadTarget = target;
  const List& found = project.entrySources();
  const List listed = minus(found, minus(found, project.sources()));
  if (listed.size() > 1) {
    outcome.entrySources = listed;
    outcome.targetNamedAfter = found.front();
  }
}

// What a save left behind goes into the outcome of the run.
SaveResult noteSave(const SaveOutcome& saved, RunOutcome& outcome) {
  outcome.leftOver = concat(outcome.leftOver, saved.leftOver);
  outcome.oldContentCopy = saved.oldContent;
  return saved.result;
}

}  // namespace

// The files of the edited project: the project file saved, the overwrite
// question, the compiler directory and the makefile. The names and what the
// run found on the way go into the outcome; the end of the run comes back.
RunEnd saveAndWrite(WriteQuestions& questions, FileSystem& fs, const MakeProject& project,
                    RunOutcome& outcome) {
  std::ostringstream projectText;
  project.write(projectText);
  const std::string projectWhere =
      (hasDirectoryPart(outcome.projectFile) ? "The file must be in current directory "
                                             : "in current directory ") +
      fs.currentDirectory();
  if (!holdsAlready(fs, outcome.projectFile, projectText.str())) {
    outcome.saveFailure =
        noteSave(saveWithRetry(questions, fs, outcome.projectFile, projectText.str(),
                               "project file ", projectWhere),
                 outcome);
  }
  if (outcome.saveFailure != SaveResult::kSaved) return RunEnd::kProjectNotSaved;
  noteWhatMakeCannotBuild(fs, project, outcome);

  outcome.makefile = project.makefileName();
  // Its opening lines tell whether Corvane wrote it; its BCDIR line, near
  // the top, is the compiler directory offered.
  const FileContent oldMakefile = fs.readFile(outcome.makefile, kMakefileHeadBytes);
  if (oldMakefile.status != ReadStatus::kAbsent &&
      !questions.replaceMakefile(outcome.makefile, oldMakefile.status == ReadStatus::kRead &&
                                                       writtenByCorvane(oldMakefile.bytes)))
    return RunEnd::kOverwriteDeclined;

  const CompilerSearch compiler = questions.compilerDirectory(
      oldMakefile.status == ReadStatus::kRead ? compilerDirectoryNamedIn(oldMakefile.bytes) : "");
  if (!compiler.directory) {
    outcome.compilerLastTried = compiler.lastTried;
    return RunEnd::kCompilerEscaped;
  }
  outcome.compilerDirectory = *compiler.directory;

  std::ostringstream text;
  Makefile(project, outcome.compilerDirectory).write(text);
  outcome.saveFailure =
      noteSave(saveWithRetry(questions, fs, outcome.makefile, text.str(), "Makefile ",
                             "in current directory " + fs.currentDirectory()),
               outcome);
  if (outcome.saveFailure != SaveResult::kSaved) return RunEnd::kMakefileEscaped;
  return RunEnd::kMakefileWritten;
}

namespace {

// The run after the title: the load question, the editing screens, the
// files. The screen is left to its owner to tear down.
RunOutcome editAndWrite(CorvaneScreen& screen, FileSystem& fs, const std::string& fileName) {
  RunOutcome outcome;
  outcome.projectFile = fileName;
  std::optional<MakeProject> loaded = loadOrCreateProject(screen, fs, outcome);
  if (!loaded) return outcome;
  MakeProject& project = *loaded;

  screen.openWorkspace();
  // Names that would replace another file, and a No to replacing a file
  // that holds no project, send the user back to the main screen, with
  // everything typed, before anything is written.
  for (;;) {
    if (editProject(project, outcome.projectFile, screen, fs) == EditResult::kEscaped) {
      outcome.end = RunEnd::kEditEscaped;
      return outcome;
    }
    const List refused = refusedOnAccepting(fs, project, outcome.projectFile);
    if (!refused.empty()) {
      screen.showError(refused, "Press any key to go back to the project.. ");
    } else if (mayReplaceWithProject(screen, fs, outcome.projectFile)) {
      break;
    }
  }
  ScreenQuestions questions(screen, fs);
  outcome.end = saveAndWrite(questions, fs, project, outcome);
  return outcome;
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

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

namespace {

// Whether the command line holds --batch among its options (those before a
// "--").
bool asksForBatch(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--batch") return true;
  }
  return false;
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments, bool posixOptions) {
  if (asksForBatch(arguments)) return readBatchCommandLine(arguments);
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
    case RunEnd::kNoConsole:
    case RunEnd::kTooManyArguments:
    case RunEnd::kProjectRefused:
    case RunEnd::kEditEscaped:
    case RunEnd::kProjectNotSaved:
    case RunEnd::kCompilerEscaped:
    case RunEnd::kMakefileEscaped:
    case RunEnd::kBadOptions:
    case RunEnd::kNamesClash:
    case RunEnd::kMakefileNotCorvanes:
    case RunEnd::kNoCompiler:
    case RunEnd::kMakefileNotSaved:
      return 1;
  }
  return 1;
}

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

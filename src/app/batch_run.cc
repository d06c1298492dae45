#include "app/batch_run.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/compiler_directory.h"
#include "app/file_steps.h"
#include "project/make_project.h"
#include "project/source_discovery.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

// The command line answers: nothing is tried again, a makefile is replaced
// only when Corvane wrote it (or --force says so), and the compiler is
// where --compiler says or where it can be found without asking.
class BatchAnswers : public WriteQuestions {
 public:
  BatchAnswers(const FileSystem& fs, const BatchSettings& settings)
      : fs_(fs), settings_(settings) {}

  bool tryAgain(const List&) override { return false; }

  bool replaceMakefile(const std::string&, bool corvanes) override {
    return corvanes || settings_.force;
  }

  // A directory --compiler names is taken as one typed at the prompt is.
  CompilerSearch compilerDirectory(const std::string& previous) override {
    if (settings_.compiler.empty()) {
      const CompilerLookup found = lookUpCompiler(fs_, fs_.programPath(), previous);
      tried_ = found.tried;
      return {found.directory, ""};
    }
    const std::optional<std::string> named = compilerDirectoryFromAnswer(fs_, settings_.compiler);
    if (!named) tried_ = {compilerPathIn(settings_.compiler)};
    return {named, ""};
  }

  // The compiler paths looked for when none was found.
  const List& tried() const { return tried_; }

 private:
  const FileSystem& fs_;
  const BatchSettings& settings_;
  List tried_;
};

// Nobody declined or pressed Esc in a batch run: the shared steps' ends are
// named for what happened instead.
RunEnd batchEnd(RunEnd end) {
  switch (end) {
    case RunEnd::kOverwriteDeclined:
      return RunEnd::kMakefileNotCorvanes;
    case RunEnd::kCompilerEscaped:
      return RunEnd::kNoCompiler;
    case RunEnd::kMakefileEscaped:
      return RunEnd::kMakefileNotSaved;
    default:
      return end;
  }
}

// The project of the run: the project file's when there is one, the
// default project when there is none; nothing, with the end in the outcome,
// when the file is no project file.
std::optional<MakeProject> batchProject(const FileSystem& fs, RunOutcome& outcome) {
  const std::optional<FileContent> file = readProjectFile(fs, outcome);
  if (!file) return std::nullopt;
  if (file->status != ReadStatus::kRead) return MakeProject(fs);
  // On the screens a question guards a file that only bears the name from
  // being replaced with project text; here nobody could answer it.
  if (!holdsProjectLine(file->bytes)) {
    outcome.refusal = "holds no line of a Corvane project file";
    outcome.end = RunEnd::kProjectRefused;
    return std::nullopt;
  }
  return loadedProject(*file, fs);
}

}  // namespace

// A mistake is named, never guessed around: a script that misspells an
// option learns it from the status instead of getting some other makefile.
CommandLine readBatchCommandLine(const std::vector<std::string>& arguments) {
  constexpr std::string_view kCompilerIs = "--compiler=";
  CommandLine command;
  command.action = CommandAction::kBatch;
  command.batch = true;
  bool optionsEnded = false;
  bool fileGiven = false;
  bool usage = false;
  bool version = false;
  const auto nameCompiler = [&command](const std::string& directory) {
    command.settings.compiler = directory;
    if (directory.empty()) command.mistake = "--compiler names no directory";
  };
  for (std::size_t i = 0; i < arguments.size() && command.mistake.empty(); ++i) {
    const std::string& argument = arguments[i];
    // A lone "-" is a name like any other.
    if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      if (argument == "--") {
        optionsEnded = true;
      } else if (argument == "--force") {
        command.settings.force = true;
      } else if (argument == "--add-sources") {
        command.settings.addSources = true;
      } else if (argument == "--compiler") {
        // The next argument is the directory, whatever it looks like.
        nameCompiler(i + 1 < arguments.size() ? arguments[++i] : std::string());
      } else if (argument.rfind(kCompilerIs, 0) == 0) {
        nameCompiler(argument.substr(kCompilerIs.size()));
      } else if (argument == "--help" || argument == "-h") {
        usage = true;
      } else if (argument == "--version") {
        version = true;
      } else if (argument != "--batch") {
        command.mistake = "unknown option " + quoted(argument);
      }
    } else if (!optionsEnded && argument == "/?") {
      usage = true;
    } else if (fileGiven) {
      command.mistake = "more than one project file: " + quoted(command.projectFileName) +
                        " and " + quoted(argument);
    } else {
      fileGiven = true;
      command.projectFileName = argument;
    }
  }
  if (!command.mistake.empty()) {
    command.action = CommandAction::kUsage;
    command.status = 1;
  } else if (usage) {
    command.action = CommandAction::kUsage;
  } else if (version) {
    command.action = CommandAction::kVersion;
  } else if (!fileGiven) {
    command.projectFileName = kDefaultProjectFile;
  }
  return command;
}

std::string batchUsage() {
  return "corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]";
}

RunOutcome runBatch(const CommandLine& command, FileSystem& fs) {
  RunOutcome outcome;
  outcome.batch = true;
  if (command.action == CommandAction::kUsage) {
    outcome.end = command.mistake.empty() ? RunEnd::kUsageShown : RunEnd::kBadOptions;
    outcome.commandProblem = command.mistake;
    return outcome;
  }
  outcome.projectFile = command.projectFileName;
  std::optional<MakeProject> project = batchProject(fs, outcome);
  if (!project) return outcome;
  // Those left out are named in a note instead.
  if (command.settings.addSources) {
    project->setSources(
        concat(project->sources(), unlistedSources(directorySources(fs), project->sources())));
  }
  outcome.clash = refusedOnAccepting(fs, *project, outcome.projectFile);
  if (!outcome.clash.empty()) {
    outcome.end = RunEnd::kNamesClash;
    return outcome;
  }
  BatchAnswers answers(fs, command.settings);
  outcome.end = batchEnd(saveAndWrite(answers, fs, *project, outcome));
  if (outcome.end == RunEnd::kNoCompiler) {
    outcome.compilerTried = answers.tried();
    outcome.compilerNamed = !command.settings.compiler.empty();
  }
  return outcome;
}

}  // namespace corvane

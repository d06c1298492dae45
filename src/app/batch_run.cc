#include "app/batch_run.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/compiler_directory.h"
#include "app/file_steps.h"
#include "app/name_checks.h"
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
  const ProjectFileRead read = readProjectFile(fs, outcome.projectFile);
  if (read.refusal.refused()) {
    outcome.refusal = read.refusal.words();
    outcome.end = RunEnd::kProjectRefused;
    return std::nullopt;
  }
  if (read.file.status != ReadStatus::kRead) return MakeProject(fs);
  // On the screens a question guards a file that only bears the name from
  // being replaced with project text; here nobody could answer it.
  if (!holdsProjectLine(read.file.bytes)) {
    outcome.refusal = "holds no line of a Corvane project file";
    outcome.end = RunEnd::kProjectRefused;
    return std::nullopt;
  }
  return loadedProject(read.file, fs);
}
}  // namespace

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
  outcome = saveAndWrite(answers, fs, *project, outcome.projectFile);
  outcome.batch = true;
  outcome.end = batchEnd(outcome.end);
  if (outcome.end == RunEnd::kNoCompiler) {
    outcome.compilerTried = answers.tried();
    outcome.compilerNamed = !command.settings.compiler.empty();
  }
  return outcome;
}

}  // namespace corvane

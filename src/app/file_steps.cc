#include "app/file_steps.h"

#include <sstream>
#include <unordered_set>

#include "makefile/makefile.h"
#include "project/source_discovery.h"
#include "text/path_names.h"

namespace corvane {

namespace {

constexpr char kEnsureWritable[] = "Ensure file is writeable and not currently in use.";

// How much of an old makefile is searched for the compiler directory it names.
constexpr std::size_t kMakefileHeadBytes = 64 * 1024;

// Both separators count: a name with a directory part cannot be written in
// the current directory, which is what the message tells the user.
bool hasDirectoryPart(const std::string& name) {
  return name.find_first_of(kPathSeparators) != std::string::npos;
}

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

// The steps of saveAndWrite, each adding what it found to the outcome being
// built; the end of the run comes back.
RunEnd writeFiles(WriteQuestions& questions, FileSystem& fs, const MakeProject& project,
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

}  // namespace

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

RunOutcome saveAndWrite(WriteQuestions& questions, FileSystem& fs, const MakeProject& project,
                        const std::string& projectFile) {
  RunOutcome outcome;
  outcome.projectFile = projectFile;
  outcome.end = writeFiles(questions, fs, project, outcome);
  return outcome;
}

}  // namespace corvane

#include "app/file_steps.h"

#include <ostream>
#include <sstream>
#include <streambuf>
#include <unordered_set>

#include "makefile/makefile.h"
#include "project/source_discovery.h"
#include "text/path_names.h"

namespace corvane {

namespace {

// A stream whose bytes go straight into a string: the text a writer writes
// is taken as the save takes it, without the copies a string stream makes
// as it grows and hands its text over (a makefile of 20,000 sources is
// megabytes).
class StringOutput : public std::streambuf {
 public:
  explicit StringOutput(std::string& text) : text_(text) {}

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    text_.append(bytes, static_cast<std::size_t>(count));
    return count;
  }
  int_type overflow(int_type byte) override {
    if (!traits_type::eq_int_type(byte, traits_type::eof()))
      text_.push_back(traits_type::to_char_type(byte));
    return traits_type::not_eof(byte);
  }

 private:
  std::string& text_;
};

// What a writer (the project, the makefile) writes out, as a save takes it.
template <class Writer>
std::string writtenText(const Writer& writer) {
  std::string text;
  StringOutput buffer(text);
  std::ostream out(&buffer);
  writer.write(out);
  return text;
}

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

// What the saved project asks of Borland Make that it cannot build as meant,
// the directory's sources being those listed.
void noteWhatMakeCannotBuild(const FileSystem& fs, const MakeProject& project,
                             const List& listing, RunOutcome& outcome) {
  // Both ways round, without regard to case, as the tools find files.
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
  const std::string projectText = writtenText(project);
  const std::string projectWhere =
      (hasDirectoryPart(outcome.projectFile) ? "The file must be in current directory "
                                             : "in current directory ") +
      fs.currentDirectory();
  // The notes are about the directory's sources as the user accepted the
  // project, before the save, which adds none (no project file may have a
  // source's name). Listed now, they come from the listing kept since the
  // directory last changed; after the save it would be read again.
  const List listing = directorySources(fs);
  if (!holdsAlready(fs, outcome.projectFile, projectText)) {
    outcome.saveFailure =
        noteSave(saveWithRetry(questions, fs, outcome.projectFile, projectText,
                               "project file ", projectWhere),
                 outcome);
  }
  if (outcome.saveFailure != SaveResult::kSaved) return RunEnd::kProjectNotSaved;
  noteWhatMakeCannotBuild(fs, project, listing, outcome);

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

  outcome.saveFailure =
      noteSave(saveWithRetry(questions, fs, outcome.makefile,
                             writtenText(Makefile(project, outcome.compilerDirectory)), "Makefile ",
                             "in current directory " + fs.currentDirectory()),
               outcome);
  if (outcome.saveFailure != SaveResult::kSaved) return RunEnd::kMakefileEscaped;
  return RunEnd::kMakefileWritten;
}

}  // namespace

List unlistedSources(const List& listing, const List& sources) {
  // The names alone count: every name of the listing is there.
  std::unordered_set<std::string> listed;
  listed.reserve(sources.size());
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

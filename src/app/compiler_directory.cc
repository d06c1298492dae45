#include "app/compiler_directory.h"

#include "text/text_utils.h"

namespace corvane {

namespace {

const char kCompilerFile[] = "Bcc32.exe";
const char kDefaultDirectory[] = "C:\\Borland\\Bcc55";
const char kBinPath[] = "\\Bin\\";
const char kLabel[] = "Enter path: ";

const List kFirstQuestion = {
    "Corvane should preferably run in the compiler directory.",
    "Until it is there you must enter the path to the",
    "Borland base directory (not /bin).",
};

// The directory above a directory named Bin (in any case, either separator:
// paths use "/" on POSIX systems); nothing for any other directory. Only the
// last name counts, so that a path such as /home/binky/... or
// C:\Binaries\... is not cut at a "\Bin" further up.
std::optional<std::string> aboveBin(std::string directory) {
  while (directory.size() > 1 && isPathSeparator(directory.back())) directory.pop_back();
  const auto cut = directory.find_last_of(kPathSeparators);
  if (cut == std::string::npos) return std::nullopt;
  if (!equalNoCase(directory.substr(cut + 1), "Bin")) return std::nullopt;
  // A Bin directory at the top of a POSIX disk has the root above it.
  return cut == 0 ? directory.substr(0, 1) : directory.substr(0, cut);
}

// The directory above the program's own when that is a Bin directory. It is
// taken with its links resolved: a Bin that is a link to the compiler's own
// has the installation above the real one, not above the link. The
// program's own link, if it is one, is not followed.
std::optional<std::string> baseAboveBin(const FileSystem& fs, const PathParts& program) {
  return aboveBin(fs.resolvedDirectory(program.drive + program.directory));
}

// The compiler beside the program: the directory above the program's Bin,
// as the Borland tools name it (through Wine's drives on Linux), as the
// answers at the prompts are; nothing, with the path looked for, when it is
// not there. A compiler beside a program in a directory not named Bin gives
// no base directory: the run asks or looks further, as when there is no
// compiler at all.
CompilerLookup compilerBesideProgram(const FileSystem& fs, const std::string& programPath) {
  const PathParts parts = fs.splitPath(programPath);
  const std::string beside = parts.drive + parts.directory + kCompilerFile;
  if (fs.exists(beside)) {
    if (const std::optional<std::string> base = baseAboveBin(fs, parts)) {
      return {fs.windowsDirectoryName(*base), {}};
    }
  }
  return {std::nullopt, {beside}};
}

}  // namespace

CompilerSearch locateCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                       const std::string& programPath,
                                       const std::string& previous) {
  const CompilerLookup beside = compilerBesideProgram(fs, programPath);
  if (beside.directory) return {beside.directory, ""};
  return askCompilerDirectory(screen, fs, previous);
}

CompilerLookup lookUpCompiler(const FileSystem& fs, const std::string& programPath,
                              const std::string& previous) {
  CompilerLookup found = compilerBesideProgram(fs, programPath);
  if (found.directory || previous.empty()) return found;
  // The old makefile names it as the tools see it already.
  const std::string compiler = compilerPathIn(previous);
  if (fs.exists(compiler)) return {previous, {}};
  found.tried.push_back(compiler);
  return found;
}

CompilerSearch askCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                    const std::string& previous) {
  // The directory the old makefile named, when the compiler is still there,
  // is most likely the one wanted again; otherwise the usual default.
  const std::string fallback =
      !previous.empty() && fs.exists(compilerPathIn(previous)) ? previous : kDefaultDirectory;
  // Every prompt opens with the default directory, so Enter straight away
  // takes (and tests) the default.
  std::string answer = fallback;
  if (screen.askText(answer, kFirstQuestion, kLabel, fallback) == EditResult::kEscaped)
    return {std::nullopt, ""};
  answer = trim(answer);
  if (!answer.empty() && answer.back() == '\\') answer.pop_back();
  if (answer.empty()) answer = fallback;

  std::optional<std::string> found = compilerDirectoryFromAnswer(fs, answer);
  std::string candidate = compilerPathIn(answer);
  while (!answer.empty() && !found) {
    const List retry = {
        "compiler: " + candidate,
        "not found.",
        "Enter the path to the Borland base directory.",
    };
    // Answers here are taken exactly as typed: a final backslash stays and
    // ends up in the makefile.
    answer = fallback;
    if (screen.askText(answer, retry, kLabel, fallback) == EditResult::kEscaped)
      return {std::nullopt, candidate};
    found = compilerDirectoryFromAnswer(fs, answer);
    candidate = compilerPathIn(answer);
  }
  // Only a field cleared at a retry prompt gets here without a directory.
  return {found ? *found : fallback, ""};
}

std::string compilerPathIn(const std::string& directory) {
  return directory + kBinPath + kCompilerFile;
}

std::optional<std::string> compilerDirectoryFromAnswer(const FileSystem& fs,
                                                       const std::string& answer) {
  if (answer.empty()) return std::nullopt;
  std::string directory = answer;
  if (!fs.exists(compilerPathIn(directory))) {
    // Naming the Bin directory itself is a common slip.
    const std::optional<std::string> above = aboveBin(answer);
    if (!above || !fs.exists(compilerPathIn(*above))) return std::nullopt;
    directory = *above;
  }
  return fs.windowsDirectoryName(directory);
}

}  // namespace corvane

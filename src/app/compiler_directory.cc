#include "app/compiler_directory.h"

#include <algorithm>

#include "text/text_utils.h"

namespace corvane {

namespace {

const char kCompilerFile[] = "Bcc32";
const char kCompilerExtension[] = ".exe";
const char kDefaultDirectory[] = "C:\\Borland\\Bcc55";
const char kBinPath[] = "\\Bin\\";
const char kLabel[] = "Enter path: ";

const List kFirstQuestion = {
    "Corvane should preferably run in the compiler directory.",
    "Until it is there you must enter the path to the",
    "Borland base directory (not /bin).",
};

std::string compilerIn(const std::string& directory) {
  return directory + kBinPath + kCompilerFile + kCompilerExtension;
}

// Where the Bin directory starts in a path, in any case and with either
// separator (the program's own path uses "/" on POSIX systems).
std::string::size_type binPosition(const std::string& path) {
  const std::string upper = upperCase(path);
  const auto backslash = upper.find("\\BIN");
  const auto slash = upper.find("/BIN");
  return std::min(backslash, slash);
}

}  // namespace

std::optional<std::string> locateCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs,
                                                   const std::string& programPath) {
  const PathParts parts = fs.splitPath(programPath);
  const std::string beside =
      parts.drive + parts.directory + kCompilerFile + kCompilerExtension;
  if (fs.exists(beside)) {
    const auto bin = binPosition(beside);
    // A compiler beside a program whose path names no Bin directory gives no
    // base directory to cut out: ask, as when there is no compiler at all.
    if (bin != std::string::npos) return beside.substr(0, bin);
  }
  return askCompilerDirectory(screen, fs);
}

std::optional<std::string> askCompilerDirectory(CorvaneScreen& screen, const FileSystem& fs) {
  // Every prompt opens with the default directory, so Enter straight away
  // takes (and tests) the default.
  std::string answer = kDefaultDirectory;
  if (screen.askText(answer, kFirstQuestion, kLabel, kDefaultDirectory) != 0) {
    screen.destroy();
    return std::nullopt;
  }
  answer = trim(answer);
  if (!answer.empty() && answer.back() == '\\') answer.pop_back();
  if (answer.empty()) answer = kDefaultDirectory;

  std::string candidate = compilerIn(answer);
  while (!answer.empty() && !fs.exists(candidate)) {
    const List retry = {
        "compiler: " + candidate,
        "not found.",
        "Enter the path to the Borland base directory.",
    };
    // Answers here are taken exactly as typed: a final backslash stays and
    // ends up in the makefile.
    answer = kDefaultDirectory;
    if (screen.askText(answer, retry, kLabel, kDefaultDirectory) != 0) {
      screen.destroy();
      return std::nullopt;
    }
    candidate = compilerIn(answer);
  }
  // Only a field cleared at a retry prompt gets here empty.
  if (answer.empty()) answer = kDefaultDirectory;
  return answer;
}

}  // namespace corvane

#include "app/run_report.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/arguments.h"
#include "platform/file_system_text.h"
#include "text/path_names.h"
#include "ui/corvane_screen.h"

namespace corvane {

namespace {

// The characters a POSIX shell takes as they are outside quotes.
bool plainForPosixShell(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("_./:=@%+,-", c) != nullptr;
}

// A word for a POSIX shell: as it is when nothing in it is special, else in
// single quotes (a quote inside is closed, escaped and reopened).
std::string posixShellWord(const std::string& word) {
  if (!word.empty() && std::all_of(word.begin(), word.end(), plainForPosixShell)) return word;
  std::string result = "'";
  for (char c : word) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// A word for cmd: in double quotes when it holds a blank or a character cmd
// acts on (a Windows file name cannot hold a double quote).
std::string cmdWord(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t&|<>()^;,=!%") == std::string::npos) return word;
  return "\"" + word + "\"";
}

// What became of a file that could not be saved, as true as the saves
// could tell: "left as it was" only when its old bytes are there exactly,
// and where its old content is when they may not be.
std::string saveProblem(const RunOutcome& outcome) {
  switch (outcome.saveFailure) {
    case SaveResult::kCannotWrite:
      return "could not be written completely (a full disk or a file-size limit?) and was left "
             "as it was";
    case SaveResult::kDamaged:
      return "could not be written completely (a full disk or a file-size limit?) and its old "
             "content could not be put back, so it may hold neither; " +
             (outcome.oldContentCopy.empty()
                  ? std::string("the directory allowed no copy of its old content")
                  : "its old content is kept in " + quoted(outcome.oldContentCopy));
    case SaveResult::kSaved:
    case SaveResult::kCannotOpen:
      break;
  }
  return "could not be opened for writing";
}

std::string joined(const List& texts, const std::string& between) {
  std::string text;
  for (std::size_t i = 0; i < texts.size(); ++i) text += (i == 0 ? "" : between) + texts[i];
  return text;
}

// The lines of the box that sends the user back to the main screen, but
// its last (what to do there), as one clause: "cannot write Makefile
// "a.mak": it leads to "a.c", which has the extension ".c" of a source or
// build file". The box's sentences start with "Cannot" or "It" (lower case
// here) or with a name (kept).
std::string clashReason(const List& box) {
  std::string text;
  for (std::size_t i = 0; i + 1 < box.size(); ++i) {
    std::string line = box[i];
    if (!line.empty() && line.back() == '.') line.pop_back();
    if (line.rfind("Cannot ", 0) == 0 || line.rfind("It ", 0) == 0)
      line[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    text += (i == 0 ? "" : i == 1 ? ": " : " ") + line;
  }
  return text;
}

// The reason a run ended with status 1, without the line end; empty for a
// run that ended with status 0.
std::string failureReason(const RunOutcome& outcome) {
  const std::string projectSaved = quoted(outcome.projectFile) + " was saved";
  switch (outcome.end) {
    case RunEnd::kNoConsole:
      return outcome.consoleProblem;
    case RunEnd::kTooManyArguments:
      return "too many arguments; usage: corvane [project_filename] [/?], or " + batchUsage();
    case RunEnd::kBadOptions:
      return outcome.commandProblem + "; usage: " + batchUsage();
    case RunEnd::kNamesClash:
      return clashReason(outcome.clash) + "; nothing was saved";
    case RunEnd::kProjectRefused:
      return "the project file " + quoted(outcome.projectFile) + " " + outcome.refusal +
             "; nothing was saved";
    case RunEnd::kEditEscaped:
      return "ended with Esc on an editing screen; nothing was saved";
    case RunEnd::kProjectNotSaved:
      return "the project file " + quoted(outcome.projectFile) + " " + saveProblem(outcome) +
             (outcome.saveFailure == SaveResult::kDamaged ? "; no makefile was written"
                                                          : "; nothing was saved");
    case RunEnd::kCompilerEscaped:
      if (outcome.compilerLastTried.empty())
        return "ended with Esc at the compiler-directory prompt; " + projectSaved +
               ", no makefile was written";
      return "the compiler " + outcome.compilerLastTried +
             " was not found (Esc at the compiler-directory prompt); " + projectSaved +
             ", no makefile was written";
    case RunEnd::kMakefileEscaped:
      return "the makefile " + quoted(outcome.makefile) + " " + saveProblem(outcome) +
             " (Esc in the retry box); " + projectSaved;
    case RunEnd::kMakefileNotCorvanes:
      return "the makefile " + quoted(outcome.makefile) +
             " is not one Corvane wrote and was left as it was (--force replaces it); " +
             projectSaved + ", no makefile was written";
    case RunEnd::kNoCompiler:
      return "no compiler found: looked for " + joined(outcome.compilerTried, " and ") +
             (outcome.compilerNamed ? "" : "; name its directory with --compiler=DIR") + "; " +
             projectSaved + ", no makefile was written";
    case RunEnd::kMakefileNotSaved:
      return "the makefile " + quoted(outcome.makefile) + " " + saveProblem(outcome) +
             "; " + projectSaved;
    case RunEnd::kMakefileWritten:
    case RunEnd::kVersion:
    case RunEnd::kUsageShown:
    case RunEnd::kLoadEscaped:
    case RunEnd::kOverwriteDeclined:
      break;
  }
  return "";
}

// What a terminal user is told after a run that ended with status 0, line
// by line.
List summary(const RunOutcome& outcome, bool toolsUnderWine) {
  switch (outcome.end) {
    case RunEnd::kMakefileWritten:
      return {"Saved " + quoted(outcome.projectFile) + " and wrote " + quoted(outcome.makefile) +
                  " for the Borland tools in " + outcome.compilerDirectory + ".",
              "To build: " +
                  buildCommand(outcome.compilerDirectory, outcome.makefile, toolsUnderWine)};
    case RunEnd::kOverwriteDeclined:
      return {"Saved " + quoted(outcome.projectFile) + "; " + quoted(outcome.makefile) +
              " was left as it was and may no longer match the project."};
    case RunEnd::kLoadEscaped:
      return {"Nothing was saved."};
    default:
      return {};
  }
}

// How many names a note lists before it only counts the rest: a project
// brought from elsewhere may list thousands.
constexpr std::size_t kNamesInANote = 10;

// "a.c, b.c and 3 more".
std::string namesOf(const List& names) {
  std::string text;
  const std::size_t shown = std::min(names.size(), kNamesInANote);
  for (std::size_t i = 0; i < shown; ++i) text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
  return text;
}

// What Borland Make will not build as the saved project means it, and the
// files of Corvane's own that the saves left, a sentence a finding; nothing
// when all is well.
List notes(const RunOutcome& outcome) {
  List sentences;
  const std::size_t missing = outcome.missingSources.size();
  if (missing > 0) {
    sentences.push_back("The project lists " + std::to_string(missing) +
                        (missing == 1 ? " source that is" : " sources that are") +
                        " not in this directory: " + namesOf(outcome.missingSources) + ".");
  }
  const std::size_t misread = outcome.misreadSources.size();
  if (misread > 0) {
    sentences.push_back(
        "The project lists " + std::to_string(misread) +
        (misread == 1 ? " source whose name holds a space, # or $, which Borland Make cannot "
                        "build as it is named: "
                      : " sources whose names hold a space, # or $, which Borland Make cannot "
                        "build as they are named: ") +
        namesOf(outcome.misreadSources) + ".");
  }
  if (!outcome.misreadTarget.empty()) {
    sentences.push_back("The target's name holds a space, # or $, which Borland Make cannot "
                        "build as it is named: " +
                        outcome.misreadTarget + ".");
  }
  if (!outcome.entrySources.empty()) {
    sentences.push_back(std::to_string(outcome.entrySources.size()) +
                        " sources define an entry point: " + namesOf(outcome.entrySources) +
                        "; the target is named after " + outcome.targetNamedAfter + ".");
  }
  const std::size_t unlisted = outcome.unlistedSources.size();
  if (unlisted > 0) {
    sentences.push_back("This directory holds " + std::to_string(unlisted) +
                        (unlisted == 1 ? " source" : " sources") +
                        " that the project does not list, which the makefile leaves out: " +
                        namesOf(outcome.unlistedSources) + ".");
  }
  const std::size_t left = outcome.leftOver.size();
  if (left > 0) {
    List names;
    for (const std::string& name : outcome.leftOver) names.push_back(quoted(name));
    sentences.push_back("Corvane left " + std::to_string(left) +
                        (left == 1 ? " file" : " files") +
                        " of its own beside the files it saved, readable by you alone, to be "
                        "removed by hand: " + namesOf(names) + ".");
  }
  return sentences;
}

// Lines for a terminal. Names come from the user, the disk and the project
// file: printed as they are, a name could hold the terminal's escape
// sequences.
std::string printedLines(const List& lines) {
  std::string text;
  for (const std::string& line : lines) text += printableText(line) + "\n";
  return text;
}

}  // namespace

std::string buildCommand(const std::string& compilerDirectory, const std::string& makefile,
                         bool toolsUnderWine) {
  // A directory typed as a POSIX path at the prompt goes on with "/".
  const char separator = toolsUnderWine && !compilerDirectory.empty() &&
                                 compilerDirectory[0] == '/'
                             ? '/'
                             : '\\';
  std::string make = compilerDirectory;
  if (!make.empty() && !isPathSeparator(make.back())) make += separator;
  make += std::string("Bin") + separator;
  if (toolsUnderWine) return "wine " + posixShellWord(make + "make.exe") + " -f " +
                             posixShellWord(makefile);
  return cmdWord(make + "make") + " -f " + cmdWord(makefile);
}

RunReport reportRun(const RunOutcome& outcome, const ReportSetting& setting) {
  RunReport report;
  // The notes follow the summary on a terminal; a script finds them on
  // standard error, marked as notes and before the reason of a failure,
  // which stays the last line.
  const List found = notes(outcome);
  if (outcome.end == RunEnd::kVersion) {
    report.output = versionLine();
  } else if (setting.onTerminal && !outcome.batch) {
    report.output = printedLines(concat(summary(outcome, setting.toolsUnderWine), found));
  } else {
    for (const std::string& note : found) report.errors += printedLines({"corvane: note: " + note});
    if (outcome.end == RunEnd::kUsageShown) report.output = printedLines(usageLines());
    // A batch run says what it wrote, as a terminal run does, so that the
    // log of a script shows it; its notes stay apart on standard error.
    if (outcome.batch) report.output += printedLines(summary(outcome, setting.toolsUnderWine));
  }
  const std::string reason = failureReason(outcome);
  if (!reason.empty()) report.errors += printedLines({"corvane: " + reason});
  return report;
}

}  // namespace corvane

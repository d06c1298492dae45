#include "app/arguments.h"

#include <string_view>

#include "app/run_outcome.h"

namespace corvane {

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

}  // namespace corvane

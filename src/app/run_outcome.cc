#include "app/run_outcome.h"

namespace corvane {

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

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

}  // namespace corvane

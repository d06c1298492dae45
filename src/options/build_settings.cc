// The build settings that follow from the option statuses. Nothing is
// cached: each value is computed from the current statuses when asked for.
#include "options/option_list.h"

namespace corvane {

namespace {

bool isOn(const OptionList& list, const std::string& name) {
  const MakeOption* option = list.find(name);
  return option != nullptr && option->status != 0;
}

// A leading space, then every non-empty flag text followed by one space, so
// the result can sit between a fixed prefix and the user's extra flags.
template <typename Active>
std::string joinFlags(const std::vector<MakeOption>& options, Active active) {
  std::string flags = " ";
  for (const MakeOption& option : options) {
    const std::string& text = (option.*active)();
    if (text.empty()) continue;
    flags += text;
    flags += ' ';
  }
  return flags;
}

}  // namespace

std::string OptionList::compileFlags() const {
  return joinFlags(options_, &MakeOption::activeCompileFlags);
}

std::string OptionList::linkFlags() const {
  return joinFlags(options_, &MakeOption::activeLinkFlags);
}

std::string OptionList::targetExtension() const { return isDll() ? ".dll" : ".exe"; }

bool OptionList::isDll() const { return isOn(*this, "DLL"); }
bool OptionList::isConsole() const { return isOn(*this, "Console"); }
bool OptionList::isMultiThread() const { return isOn(*this, "MultiThread"); }
bool OptionList::isDynamic() const { return isOn(*this, "Dynamic"); }

std::string OptionList::startupLine() const {
  // A DLL gets the DLL start-up whatever Console says.
  if (isDll()) return "STARTUP = $(DLL_STARTUP)";
  if (isConsole()) return "STARTUP = $(DOS_STARTUP)";
  return "STARTUP = $(WIN_STARTUP)";
}

std::string OptionList::runtimeLine() const {
  std::string line = "RTLIB = $(BCC32RTLIB)";
  if (isMultiThread()) line += "$(MULTITHREAD)";
  if (isDynamic()) line += "$(DYN)";
  line += ".lib";
  return line;
}

}  // namespace corvane

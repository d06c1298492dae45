#include "options/option_list.h"

#include <algorithm>

namespace corvane {

namespace {

struct OptionDefinition {
  const char* line;
  const char* onText;
  const char* offText;
  const char* description;
};

// Name, default, compile ON/OFF, link ON/OFF, clusive, saved. The two long
// warning texts end in a space on purpose: it separates them from the next
// flag.
const OptionDefinition kDefinitions[] = {
    {"ANSI OFF 1 0 0 0 NO YES", "-A -wnak", nullptr,
     "-Strict ANSI (OFF => Accept Borland keywords)"},
    {"Debug ON 1 1 -v -v- YES YES", "-v -k -y", "-v- -k- -y-", "-Enable source debugging"},
    {"Optimise OFF 0 -Od 0 0 NO YES", nullptr, nullptr, "-Turn on optimisation"},
    {"SpeedOpt OFF -O2 0 0 0 NO YES", nullptr, nullptr, "-Speed optimise (Size when OFF)"},
    {"Console ON -tC -tW -ap -aa YES YES", nullptr, nullptr,
     "-Make Console program (Windows prog when OFF)"},
    {"WarnHigh OFF 1 0 0 0 YES YES  ",
     "-wcln -wdef -w-nod -wamb -wamp -w-prc -w-pin -w-stu -w-obi -w-stl -w-stv ", nullptr,
     "-Many warnings when ON"},
    {"WarnLow OFF 1 0 0 0 YES YES  ",
     "-w-lvc- -w-hid- -w-hch- -w-lin- -w-ofp- -w-pia- -w-aus- -w-obi- -w-obs- -w-pro- -w-rch- "
     "-w-use ",
     nullptr, "-Fewer warnings when ON"},
    {"NoWarn OFF -w- 0 0 0 YES YES", nullptr, nullptr, "-Suppresses all warnings when ON"},
    {"Dynamic OFF -tWR 0 0 0 YES YES", nullptr, nullptr, "-Program uses dynamic library"},
    {"MultiThread OFF -tWM 0 0 0 YES YES", nullptr, nullptr, "-Link with multi-thread support"},
    {"DLL OFF -tWD 0 1 -Tpe NO YES", "-Tpd -Gi", nullptr,
     "-Generate Dynamic Library -DLL (EXE when off)"},
    {"Pentium OFF 0 -4 -OS 0 NO YES", nullptr, nullptr,
     "-Use Pentium instructions (486 when off)"},
};

const char* const kWarningGroup[] = {"NoWarn", "WarnHigh", "WarnLow"};
const char* const kTargetKindGroup[] = {"Console", "MultiThread"};
const char* const kDebugGroup[] = {"Debug", "Optimise", "SpeedOpt"};

ClusiveOpts exclusiveGroup(const char* const* names, int count) {
  ClusiveOpts group;
  group.exclusive = true;
  group.onlyOn = true;
  group.names = makeList(names, count);
  return group;
}

}  // namespace

OptionList::OptionList() {
  for (const OptionDefinition& definition : kDefinitions) {
    options_.emplace_back(definition.line, definition.description, definition.onText,
                          definition.offText);
  }
  groups_.push_back(exclusiveGroup(kWarningGroup, 3));
  groups_.push_back(exclusiveGroup(kTargetKindGroup, 2));
  groups_.push_back(exclusiveGroup(kDebugGroup, 3));
}

const MakeOption* OptionList::find(const std::string& name) const {
  int index = indexOf(name);
  return index < 0 ? nullptr : &options_[static_cast<std::size_t>(index)];
}

int OptionList::indexOf(const std::string& name) const {
  for (std::size_t i = 0; i < options_.size(); ++i) {
    if (options_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

int OptionList::maxNameLength() const {
  std::size_t longest = 0;
  for (const MakeOption& option : options_) longest = std::max(longest, option.name.size());
  return static_cast<int>(longest);
}

void OptionList::toggle(const std::string& name) {
  int index = indexOf(name);
  if (index < 0) return;
  MakeOption& toggled = options_[static_cast<std::size_t>(index)];
  toggled.flip();
  if (!toggled.clusive) return;
  const std::int32_t newStatus = toggled.status;
  for (const ClusiveOpts& group : groups_) {
    if (indexOfText(group.names, name) < 0) continue;
    if (group.onlyOn && newStatus == 0) continue;
    for (MakeOption& other : options_) {
      if (other.name == name || indexOfText(group.names, other.name) < 0) continue;
      other.status = group.exclusive ? (newStatus == 0 ? 1 : 0) : newStatus;
    }
  }
}

List OptionList::optionLines() const {
  const std::size_t width = static_cast<std::size_t>(maxNameLength()) + kOptionPrefix.size();
  List lines;
  for (const MakeOption& option : options_) {
    if (!option.saved) continue;
    std::string line = padRight(std::string(kOptionPrefix) + option.name, width + 1);
    line += option.status == 1 ? "ON   " : "OFF  ";
    line += option.description;
    lines.push_back(std::move(line));
  }
  return lines;
}

List OptionList::selectOptionLines(const List& lines) const {
  List selected = selectByPrefix(lines, kOptionPrefix);
  stripPrefix(selected, kOptionPrefix);
  return selected;
}

void OptionList::applyOptionLines(const List& lines) {
  for (const std::string& line : lines) {
    const List words = splitWords(line, " ");
    // A name without a status word says nothing about the status.
    if (words.size() < 2) continue;
    int index = indexOf(words[0]);
    if (index < 0) continue;
    options_[static_cast<std::size_t>(index)].status = words[1] == "OFF" ? 0 : 1;
  }
}

// The build settings that follow from the option statuses. Nothing is
// cached: each value is computed from the current statuses when asked for.
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

std::string OptionList::startupObject() const {
  // A DLL gets the DLL start-up whatever Console says.
  if (isDll()) return "$(DLL_STARTUP)";
  if (isConsole()) return "$(DOS_STARTUP)";
  return "$(WIN_STARTUP)";
}

std::string OptionList::runtimeLibrary() const {
  std::string library = "$(BCC32RTLIB)";
  if (isMultiThread()) library += "$(MULTITHREAD)";
  if (isDynamic()) library += "$(DYN)";
  library += ".lib";
  return library;
}

}  // namespace corvane

// The fixed table of twelve build options, their groups, the option lines of
// the project file and the build settings derived from the statuses.
#ifndef CORVANE_OPTIONS_OPTION_LIST_H
#define CORVANE_OPTIONS_OPTION_LIST_H

#include <string>
#include <string_view>
#include <vector>

#include "options/make_option.h"
#include "text/text_utils.h"

namespace corvane {

// What an option line of the project file starts with, before the name.
inline constexpr std::string_view kOptionPrefix = "option ";

// A group of options tied together when one of them is toggled.
struct ClusiveOpts {
  bool exclusive = true;
  bool onlyOn = true;
  List names;
};

class OptionList {
 public:
  OptionList();  // the twelve rows at their defaults and the three groups

  const MakeOption* find(const std::string& name) const;
  int indexOf(const std::string& name) const;
  int maxNameLength() const;
  void toggle(const std::string& name);

  List optionLines() const;
  List selectOptionLines(const List& lines) const;
  void applyOptionLines(const List& lines);

  const std::vector<MakeOption>& options() const { return options_; }
  const std::vector<ClusiveOpts>& groups() const { return groups_; }

  // Derived build settings.
  std::string compileFlags() const;
  std::string linkFlags() const;
  std::string targetExtension() const;
  bool isDll() const;
  bool isConsole() const;
  bool isMultiThread() const;
  bool isDynamic() const;

  // The start-up object and the runtime library, in the makefile's macros;
  // the makefile sets STARTUP and RTLIB to them.
  std::string startupObject() const;   // "$(DOS_STARTUP)" and the like
  std::string runtimeLibrary() const;  // "$(BCC32RTLIB)...lib"

 private:
  std::vector<MakeOption> options_;
  std::vector<ClusiveOpts> groups_;
};

}  // namespace corvane

#endif  // CORVANE_OPTIONS_OPTION_LIST_H

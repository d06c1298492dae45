// One build option: its name, status, the flags it gives the compiler and
// the linker when ON and when OFF, and its description.
#ifndef CORVANE_OPTIONS_MAKE_OPTION_H
#define CORVANE_OPTIONS_MAKE_OPTION_H

#include <cstdint>
#include <string>

namespace corvane {

// One row of the table, built from an eight-word definition line.
class MakeOption {
 public:
  // onText and offText may be null: "no long text supplied".
  MakeOption(const std::string& definitionLine, const std::string& describedAs,
             const char* onText, const char* offText);

  const std::string& activeCompileFlags() const;
  const std::string& activeLinkFlags() const;
  void flip();

  std::string description;
  std::string compileOn;
  std::string compileOff;
  std::string linkOn;
  std::string linkOff;
  std::int32_t status = 0;
  bool saved = true;
  std::string name;
  bool clusive = true;
};

}  // namespace corvane

#endif  // CORVANE_OPTIONS_MAKE_OPTION_H

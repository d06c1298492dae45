#include "options/make_option.h"

#include "text/text_utils.h"

namespace corvane {

namespace {

// A flag word of a definition line: "0" means no flags, "1" stands for the
// long text supplied beside the line (a word cannot hold blanks), anything
// else is the flag itself.
std::string flagFromWord(const std::string& word, const char* longText) {
  if (word == "0") return std::string();
  if (word == "1" && longText != nullptr) return longText;
  return word;
}

}  // namespace

MakeOption::MakeOption(const std::string& definitionLine, const std::string& describedAs,
                       const char* onText, const char* offText)
    : description(describedAs) {
  const List words = splitWords(definitionLine, " ");
  name = elementAt(words, 0);
  status = elementAt(words, 1) == "ON" ? 1 : 0;
  compileOn = flagFromWord(elementAt(words, 2), onText);
  compileOff = flagFromWord(elementAt(words, 3), offText);
  linkOn = flagFromWord(elementAt(words, 4), onText);
  linkOff = flagFromWord(elementAt(words, 5), offText);
  clusive = elementAt(words, 6) != "NO";
  saved = elementAt(words, 7) != "NO";
}

const std::string& MakeOption::activeCompileFlags() const {
  return status == 1 ? compileOn : compileOff;
}

const std::string& MakeOption::activeLinkFlags() const {
  return status == 1 ? linkOn : linkOff;
}

void MakeOption::flip() { status = status == 0 ? 1 : 0; }

}  // namespace corvane

#include "platform/file_system_text.h"

#include <algorithm>

#include "text/text_utils.h"

namespace corvane {

std::string displayText(std::string_view text) {
  // Printable ASCII is one cell a byte, the byte itself, in UTF-8, in every
  // ANSI code page and in code page 437 alike: most names are shown without
  // being taken apart character by character.
  if (std::all_of(text.begin(), text.end(), [](char c) { return isPrintableAscii(c); }))
    return std::string(text);
  std::string cells;
  for (const DisplayCharacter& character : displayCharacters(text)) cells += character.cell;
  return cells;
}

std::vector<std::string> displayTexts(const std::vector<std::string>& texts) {
  std::vector<std::string> shown;
  shown.reserve(texts.size());
  for (const std::string& text : texts) shown.push_back(displayText(text));
  return shown;
}

}  // namespace corvane

#include "platform/display_text.h"

#include "platform/cp437.h"
#include "platform/utf8.h"

namespace corvane {

std::string displayText(std::string_view text) {
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

std::vector<DisplayCharacter> utf8DisplayCharacters(std::string_view text) {
  std::vector<DisplayCharacter> characters;
  Utf8Reader reader;
  std::size_t start = 0;  // where the character being read began
  std::size_t i = 0;
  while (i < text.size()) {
    switch (reader.feed(static_cast<std::uint8_t>(text[i]))) {
      case Utf8Reader::Step::kMore:
        ++i;
        break;
      case Utf8Reader::Step::kCharacter:
        ++i;
        characters.push_back({i - start, cp437FromUnicode(reader.character())});
        start = i;
        break;
      case Utf8Reader::Step::kInvalid:
        ++i;
        characters.push_back({i - start, '?'});
        start = i;
        break;
      case Utf8Reader::Step::kBroken:
        // The byte that broke the character is read again as a new one.
        characters.push_back({i - start, '?'});
        start = i;
        break;
    }
  }
  if (start < text.size()) characters.push_back({text.size() - start, '?'});
  return characters;
}

}  // namespace corvane

#include "console/display_text.h"

#include <optional>

#include "console/cp437.h"
#include "console/utf8.h"

namespace corvane {

namespace {

// Walks a UTF-8 text character by character: `take` gets the bytes of each
// and its code point, or nothing for bytes that form no character.
template <typename Take>
void forEachUtf8Character(std::string_view text, Take take) {
  Utf8Reader reader;
  std::size_t start = 0;  // where the character being read began
  std::size_t i = 0;
  const auto taken = [&](std::optional<char32_t> code) {
    take(text.substr(start, i - start), code);
    start = i;
  };
  while (i < text.size()) {
    switch (reader.feed(static_cast<std::uint8_t>(text[i]))) {
      case Utf8Reader::Step::kMore:
        ++i;
        break;
      case Utf8Reader::Step::kCharacter:
        ++i;
        taken(reader.character());
        break;
      case Utf8Reader::Step::kInvalid:
        ++i;
        taken(std::nullopt);
        break;
      case Utf8Reader::Step::kBroken:
        // The byte that broke the character is read again as a new one.
        taken(std::nullopt);
        break;
    }
  }
  if (start < text.size()) take(text.substr(start), std::nullopt);
}

}  // namespace

std::vector<DisplayCharacter> utf8DisplayCharacters(std::string_view text) {
  std::vector<DisplayCharacter> characters;
  forEachUtf8Character(text, [&](std::string_view bytes, std::optional<char32_t> code) {
    const bool shown = code && !isControlCharacter(*code);
    characters.push_back({bytes.size(), shown ? cp437FromUnicode(*code) : '?'});
  });
  return characters;
}

std::string printableUtf8(std::string_view text) {
  std::string printable;
  printable.reserve(text.size());
  forEachUtf8Character(text, [&](std::string_view bytes, std::optional<char32_t> code) {
    // A character that code page 437 lacks shows as "?" on the screen but
    // prints well; only what forms no character, or steers, is replaced.
    if (!code || isControlCharacter(*code)) {
      printable += '?';
    } else {
      printable += bytes;
    }
  });
  return printable;
}

}  // namespace corvane

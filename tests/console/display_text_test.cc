#include "console/display_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

// The cells of a UTF-8 text and the byte length of each character.
std::pair<std::string, std::vector<std::size_t>> shownUtf8(std::string_view text) {
  std::pair<std::string, std::vector<std::size_t>> shown;
  for (const DisplayCharacter& character : utf8DisplayCharacters(text)) {
    shown.first += character.cell;
    shown.second.push_back(character.length);
  }
  return shown;
}

using Lengths = std::vector<std::size_t>;

TEST(DisplayText, Utf8NamesTakeOneCellACharacter) {
  EXPECT_EQ(shownUtf8("caf\xc3\xa9.c"),
            std::make_pair(std::string("caf\x82.c"), Lengths{1, 1, 1, 2, 1, 1}));
  // The house sign is byte 127's glyph; DEL itself is a control character.
  EXPECT_EQ(shownUtf8("\xc3\xb1\xc3\x91\xce\xb1\xe2\x94\x80\xe2\x8c\x82\x7f"),
            std::make_pair(std::string("\xa4\xa5\xe0\xc4\x7f?"), Lengths{2, 2, 2, 3, 3, 1}));
  // Control characters are shown, never obeyed: as "?", the tab, the C1
  // CSI and the bytes the console would act on among them.
  EXPECT_EQ(shownUtf8("he\all\b\bXY\t\r\n\x1b\xc2\x9bo").first, "he?ll??XY?????o");
  // What code page 437 lacks shows as "?": the euro sign, a Chinese
  // character, an emoji, and the smiley whose glyph byte 1 would only be
  // drawn, not written.
  EXPECT_EQ(shownUtf8("\xe2\x82\xac\xe4\xb8\xad\xf0\x9f\x98\x80\xe2\x98\xba"),
            std::make_pair(std::string("????"), Lengths{3, 3, 4, 3}));
}

TEST(DisplayText, BytesThatFormNoCharacterShowAsOneMarkEach) {
  // A Latin-1 name, a stray continuation byte, a character cut short by
  // another and one cut short by the end.
  EXPECT_EQ(shownUtf8("caf\xe9.c\x80x\xe2\x82y\xf0\x9f\x98"),
            std::make_pair(std::string("caf?.c?x?y?"), Lengths{1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 3}));
}

TEST(DisplayText, PrintedUtf8ReplacesWhatCouldSteerATerminal) {
  // A character code page 437 lacks stays; the C1 control U+009B (a CSI of
  // its own), DEL and a byte that forms no character do not.
  EXPECT_EQ(printableUtf8("\xe2\x82\xac\xc2\x9b\x7f\xff."), "\xe2\x82\xac???.");
}

}  // namespace
}  // namespace corvane

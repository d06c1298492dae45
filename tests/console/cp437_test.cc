#include "console/cp437.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Cp437, GlyphsTheScreensRelyOn) {
  EXPECT_EQ(cp437ToUnicode(196), U'─');
  EXPECT_EQ(cp437ToUnicode(9), U'○');
  EXPECT_EQ(cp437ToUnicode(179), U'│');
  EXPECT_EQ(cp437ToUnicode(201), U'╔');
  EXPECT_EQ(cp437ToUnicode(219), U'█');
  EXPECT_EQ(cp437ToUnicode(130), U'é');
  EXPECT_EQ(cp437ToUnicode(127), U'⌂');
  EXPECT_EQ(cp437ToUnicode(0), U' ');
  for (int byte = 32; byte < 127; ++byte)
    EXPECT_EQ(cp437ToUnicode(static_cast<std::uint8_t>(byte)), static_cast<char32_t>(byte));
}

TEST(Cp437, EveryByteShowsAVisibleGlyph) {
  // A control character reaching the terminal would move its cursor or
  // change its state instead of showing a cell.
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t glyph = cp437ToUnicode(static_cast<std::uint8_t>(byte));
    EXPECT_TRUE(glyph >= 0x20 && glyph != 0x7F && (glyph < 0x80 || glyph >= 0xA0)) << byte;
    const char lookAlike = cp437ToAscii(static_cast<std::uint8_t>(byte));
    EXPECT_TRUE(lookAlike >= 32 && lookAlike <= 126) << byte;
  }
}

TEST(Cp437, AsciiLookAlikes) {
  EXPECT_EQ(cp437ToAscii(196), '-');
  EXPECT_EQ(cp437ToAscii(205), '=');
  EXPECT_EQ(cp437ToAscii(179), '|');
  EXPECT_EQ(cp437ToAscii(186), '|');
  EXPECT_EQ(cp437ToAscii(201), '+');
  EXPECT_EQ(cp437ToAscii(197), '+');
  EXPECT_EQ(cp437ToAscii(9), 'o');
  EXPECT_EQ(cp437ToAscii(130), 'e');
  EXPECT_EQ(cp437ToAscii(219), '#');
  EXPECT_EQ(cp437ToAscii('A'), 'A');
}

}  // namespace
}  // namespace corvane

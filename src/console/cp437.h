// The glyphs of code page 437, the character set Corvane's screens are drawn
// in: every byte 0-255 is a visible glyph, control bytes included (byte 9 is
// the small circle the screens use as a tab mark, 196 the horizontal line).
#ifndef CORVANE_CONSOLE_CP437_H
#define CORVANE_CONSOLE_CP437_H

#include <cstdint>

namespace corvane {

// The Unicode code point that shows the glyph of a byte.
char32_t cp437ToUnicode(std::uint8_t byte);

// A printable ASCII character that looks most like the glyph, for terminals
// that cannot show Unicode.
char cp437ToAscii(std::uint8_t byte);

// The byte that shows a character: an ASCII character is its own byte, a
// character of the upper half its byte there, anything else "?". The glyphs
// of the control bytes are not used for other characters, since writing
// those bytes moves the cursor or rings the bell.
char cp437FromUnicode(char32_t character);

}  // namespace corvane

#endif  // CORVANE_CONSOLE_CP437_H

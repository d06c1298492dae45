// Texts as the screens show them. The cells hold code page 437; a text has
// an encoding of its own, so it is turned into cells one character to one
// cell. This is for showing only: the project file, the makefile and every
// file operation keep the bytes. Here is what holds for every encoding, and
// UTF-8 itself; the file system's own encoding is the platform's (see
// platform/file_system_text.h).
#ifndef CORVANE_CONSOLE_DISPLAY_TEXT_H
#define CORVANE_CONSOLE_DISPLAY_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_utils.h"

namespace corvane {

// One character of a text and the cell that shows it: the code page 437
// byte of the character where that code page has it, else "?". A control
// character shows as "?" too: written to the screen it would move the
// cursor or ring the bell, or show as a symbol the name does not hold.
struct DisplayCharacter {
  std::size_t length;  // bytes of the text the character takes
  char cell;
};

// The characters of a UTF-8 text, in order; their lengths add up to the
// text's. Bytes that form no character show as "?" each, and a character
// cut short as one "?".
std::vector<DisplayCharacter> utf8DisplayCharacters(std::string_view text);

// A UTF-8 text as it may be printed on the user's terminal (a name in a
// message on standard output or standard error): every character that could
// steer the terminal instead of showing, the control characters (C0, DEL and
// C1) and bytes that form no character, becomes "?". Other characters are
// kept as they are.
std::string printableUtf8(std::string_view text);

}  // namespace corvane

#endif  // CORVANE_CONSOLE_DISPLAY_TEXT_H

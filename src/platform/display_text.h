// Texts of the file system (names, paths, what files hold) as the screens
// show them. The cells hold code page 437, the file system has an encoding
// of its own (UTF-8 on POSIX, the ANSI code page on Windows), so a text is
// turned into cells one character to one cell. This is for showing only:
// the project file, the makefile and every file operation keep the bytes.
#ifndef CORVANE_PLATFORM_DISPLAY_TEXT_H
#define CORVANE_PLATFORM_DISPLAY_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One character of a text and the cell that shows it: the code page 437
// byte of the character where that code page has it, else "?". A control
// character shows as "?" too: written to the screen it would move the
// cursor or ring the bell, or show as a symbol the name does not hold.
struct DisplayCharacter {
  std::size_t length;  // bytes of the text the character takes
  char cell;
};

// True for the characters that steer a terminal or a console instead of
// showing: the C0 controls, DEL and the C1 controls.
inline bool isControlCharacter(char32_t character) {
  return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

// The characters of a file-system text, in order; their lengths add up to
// the text's. Bytes that form no character show as "?" each.
std::vector<DisplayCharacter> displayCharacters(std::string_view text);

// The cells of a file-system text, one byte per character.
std::string displayText(std::string_view text);
// The same for each text of a list.
std::vector<std::string> displayTexts(const std::vector<std::string>& texts);

// The same for a UTF-8 text, whatever the platform's encoding; a character
// cut short shows as one "?".
std::vector<DisplayCharacter> utf8DisplayCharacters(std::string_view text);

// A file-system text as it may be printed on the user's terminal (a name in
// a message on standard output or standard error): every character that
// could steer the terminal instead of showing, the control characters
// (C0, DEL, and in UTF-8 the C1 range) and bytes that form no character,
// becomes "?". Other characters are kept as they are.
std::string printableText(std::string_view text);
// The same for a UTF-8 text, whatever the platform's encoding.
std::string printableUtf8(std::string_view text);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_DISPLAY_TEXT_H

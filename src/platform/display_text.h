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
// byte of the character where that code page has it, else "?".
struct DisplayCharacter {
  std::size_t length;  // bytes of the text the character takes
  char cell;
};

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

}  // namespace corvane

#endif  // CORVANE_PLATFORM_DISPLAY_TEXT_H

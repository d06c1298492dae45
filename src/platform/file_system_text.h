// Texts of the file system (names, paths, what files hold) as the screens
// and messages show them. The file system has an encoding of its own, UTF-8
// on POSIX and the ANSI code page on Windows, so each system reads its
// characters its own way; the cells they become are the same everywhere.
#ifndef CORVANE_PLATFORM_FILE_SYSTEM_TEXT_H
#define CORVANE_PLATFORM_FILE_SYSTEM_TEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "console/display_text.h"

namespace corvane {

// The characters of a file-system text, in order; their lengths add up to
// the text's. Bytes that form no character show as "?" each.
std::vector<DisplayCharacter> displayCharacters(std::string_view text);

// The cells of a file-system text, one byte per character.
std::string displayText(std::string_view text);
// The same for each text of a list.
std::vector<std::string> displayTexts(const std::vector<std::string>& texts);

// A file-system text as it may be printed on the user's terminal (a name in
// a message on standard output or standard error): every character that
// could steer the terminal instead of showing, the control characters
// (C0, DEL, and in UTF-8 the C1 range) and bytes that form no character,
// becomes "?". Other characters are kept as they are.
std::string printableText(std::string_view text);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_FILE_SYSTEM_TEXT_H

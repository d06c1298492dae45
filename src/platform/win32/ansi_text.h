// Names on Windows as the screens show them: Corvane uses the file system
// through its ANSI functions, so names come in the ANSI code page, while the
// console's cells are in code page 437.
#ifndef CORVANE_PLATFORM_WIN32_ANSI_TEXT_H
#define CORVANE_PLATFORM_WIN32_ANSI_TEXT_H

#include <string_view>
#include <vector>

#include "platform/file_system_text.h"

namespace corvane {

// The characters of a text in the given code page (displayCharacters passes
// the ANSI code page), each with its code page 437 cell or "?".
std::vector<DisplayCharacter> ansiDisplayCharacters(std::string_view text, unsigned codePage);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_ANSI_TEXT_H

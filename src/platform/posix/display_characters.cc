#include "platform/file_system_text.h"

namespace corvane {

// Names on a POSIX system are bytes; today's systems write them in UTF-8.
std::vector<DisplayCharacter> displayCharacters(std::string_view text) {
  return utf8DisplayCharacters(text);
}

std::string printableText(std::string_view text) { return printableUtf8(text); }

}  // namespace corvane

// Whole screen rows as the tests expect them: a text padded with blanks to
// the 80 columns of the console.
#ifndef CORVANE_TESTS_SUPPORT_SCREEN_TEXT_H
#define CORVANE_TESTS_SUPPORT_SCREEN_TEXT_H

#include <string>

#include "console/console.h"

namespace corvane {

// The text from column 1, then blanks up to column 80.
inline std::string row(const std::string& text) {
  return text + std::string(static_cast<std::size_t>(kScreenColumns) - text.size(), ' ');
}

// The text from the given column, blanks around it.
inline std::string at(int column, const std::string& text) {
  return row(std::string(static_cast<std::size_t>(column - 1), ' ') + text);
}

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_SCREEN_TEXT_H

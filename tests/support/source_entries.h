// Reading the entries of the sources screen back from a row of text, as a
// user reads them: each "(x)name" with its letter.
#ifndef CORVANE_TESTS_SUPPORT_SOURCE_ENTRIES_H
#define CORVANE_TESTS_SUPPORT_SOURCE_ENTRIES_H

#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The letter and name of every entry on the row; names hold no blanks.
inline std::vector<std::pair<char, std::string>> sourceEntriesIn(const std::string& row) {
  std::vector<std::pair<char, std::string>> entries;
  for (std::size_t at = row.find('('); at != std::string::npos; at = row.find('(', at + 1)) {
    if (at + 3 > row.size() || row[at + 2] != ')') continue;
    const std::size_t end = row.find(' ', at + 3);
    entries.emplace_back(row[at + 1],
                         row.substr(at + 3, end == std::string::npos ? end : end - at - 3));
  }
  return entries;
}

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_SOURCE_ENTRIES_H

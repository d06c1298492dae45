// Where the sources screen puts its two lists: how many columns, where each
// column starts, how many rows a list takes and the letter of each entry.
#ifndef CORVANE_UI_SOURCE_COLUMNS_H
#define CORVANE_UI_SOURCE_COLUMNS_H

#include <cstddef>
#include <string>

#include "text/text_utils.h"

namespace corvane {

// Entries are selected by the letters "a", "b", ... running on past "z" into
// "{", "|", "}" and "~", the last character a person can type; so a page of
// the sources screen holds at most that many entries.
inline constexpr char kLastSelectionLetter = '~';
inline constexpr std::size_t kSelectableEntries = kLastSelectionLetter - 'a' + 1;

// "(a)" for the first entry and so on; "( )" for an entry without a letter.
std::string selectionLabel(std::size_t index);

class SourceColumns {
 public:
  // Both lists share one layout, sized by the longest name of either.
  SourceColumns(int windowWidth, const List& projectSources, const List& otherSources);
  // The same from the length of that longest name and the lengths of the lists.
  SourceColumns(int windowWidth, std::size_t longestName, std::size_t projectCount,
                std::size_t otherCount);

  int columns() const { return columns_; }
  // Window column where column k (from 0) starts.
  int columnStart(int column) const { return step_ * column + 1; }
  // Rows per column of a list of that many entries (0 for an empty list).
  long long rowsFor(std::size_t count) const;
  // Row of the OTHER SOURCES rule: high enough for the other sources to end
  // on row 17. It can lie above the list area when they are very many.
  long long otherHeaderRow(std::size_t otherCount) const;
  // The name as it fits after its label in that column: whole, or cut with
  // ".." at the window's right edge when it is longer than a whole row.
  std::string shownName(const std::string& name, int column) const;

 private:
  bool fits(std::size_t count) const;

  int width_;
  std::size_t longest_;
  int columns_ = 1;
  int step_ = 1;
};

}  // namespace corvane

#endif  // CORVANE_UI_SOURCE_COLUMNS_H

#include "ui/source_columns.h"

#include <algorithm>

#include "ui/editor_drawing.h"
#include "ui/source_pages.h"

namespace corvane {

namespace {

constexpr int kLabelLength = 3;  // "(a)"

}  // namespace

std::string selectionLabel(std::size_t index) {
  if (index >= kSelectableEntries) return "( )";
  return std::string("(") + static_cast<char>('a' + index) + ")";
}

// The columns are as many as names of the longest length plus four fit in
// the width less two; column k starts at ((width + C - 1) / C + 1) * k + 1.
// With short names or many columns that rule can put the last columns past
// the right edge, where the text would wrap onto the next row or land
// wherever the cursor stands; the column count is then lowered until every
// column in use lies within the window.
SourceColumns::SourceColumns(int windowWidth, const List& projectSources,
                             const List& otherSources)
    : SourceColumns(windowWidth,
                    std::max(longestLength(projectSources), longestLength(otherSources)),
                    projectSources.size(), otherSources.size()) {}

SourceColumns::SourceColumns(int windowWidth, std::size_t longestName, std::size_t projectCount,
                             std::size_t otherCount)
    : width_(windowWidth), longest_(longestName) {
  const std::size_t perColumn = longest_ + 4;
  const std::size_t room = static_cast<std::size_t>(std::max(1, width_ - 2));
  columns_ = static_cast<int>(std::max<std::size_t>(1, room / perColumn));
  for (;;) {
    step_ = (width_ + columns_ - 1) / columns_ + 1;
    if (columns_ == 1 || (fits(projectCount) && fits(otherCount))) break;
    --columns_;
  }
}

bool SourceColumns::fits(std::size_t count) const {
  if (count == 0) return true;
  const auto rows = static_cast<std::size_t>(rowsFor(count));
  const std::size_t usedColumns = (count + rows - 1) / rows;
  const std::size_t lastEnd = static_cast<std::size_t>(step_) * (usedColumns - 1) + 1 +
                              kLabelLength + longest_ - 1;
  return lastEnd <= static_cast<std::size_t>(width_) + 1;
}

long long SourceColumns::rowsFor(std::size_t count) const {
  const auto columns = static_cast<std::size_t>(columns_);
  return static_cast<long long>((count + columns - 1) / columns);
}

long long SourceColumns::otherHeaderRow(std::size_t otherCount) const {
  return kSelectRuleRow - static_cast<long long>(otherCount / static_cast<std::size_t>(columns_)) -
         2;
}

std::string SourceColumns::shownName(const std::string& name, int column) const {
  const long long room =
      static_cast<long long>(width_) + 1 - (columnStart(column) + kLabelLength) + 1;
  return fitWithDots(name, static_cast<std::size_t>(std::max(0LL, room)));
}

}  // namespace corvane

#include "ui/source_pages.h"

#include <algorithm>

#include "ui/source_columns.h"

namespace corvane {

namespace {

// Both lists fit when the project sources end above the OTHER SOURCES rule;
// the other sources always end on row 16 or 17 below it.
bool fitsBetweenRules(const SourceColumns& layout, std::size_t projectCount,
                      std::size_t otherCount) {
  return kFirstListRow + layout.rowsFor(projectCount) <= layout.otherHeaderRow(otherCount);
}

const std::string& entryName(const List& projectSources, const List& otherSources,
                             std::size_t entry) {
  return entry < projectSources.size() ? projectSources[entry]
                                       : otherSources[entry - projectSources.size()];
}

// The part of a list that falls on a page, as positions in that list.
struct Slice {
  std::size_t begin;
  std::size_t end;
};

Slice projectPart(std::size_t projectCount, SourcePage page) {
  return {std::min(page.first, projectCount), std::min(page.first + page.count, projectCount)};
}

Slice otherPart(std::size_t projectCount, SourcePage page) {
  return {std::max(page.first, projectCount) - projectCount,
          std::max(page.first + page.count, projectCount) - projectCount};
}

// Entries run down the columns: entry i of a list goes to column i / R and
// row firstRow + i mod R, R being the list's rows per column. Letters count
// on from the entries placed before.
void placeList(const SourceColumns& columns, const List& names, Slice slice, int firstRow,
               std::size_t firstEntry, bool inProject, PageLayout& layout) {
  const std::size_t count = slice.end - slice.begin;
  const auto rows = static_cast<std::size_t>(columns.rowsFor(count));
  for (std::size_t i = 0; i < count; ++i) {
    const int column = static_cast<int>(i / rows);
    PlacedEntry placed;
    placed.entry = firstEntry + i;
    placed.letter = layout.entries.size();
    placed.column = columns.columnStart(column);
    placed.row = firstRow + static_cast<int>(i % rows);
    placed.inProject = inProject;
    placed.startsRow = column == 0;
    placed.name = columns.shownName(names[slice.begin + i], column);
    layout.entries.push_back(std::move(placed));
  }
}

}  // namespace

std::vector<SourcePage> splitIntoPages(int windowWidth, const List& projectSources,
                                       const List& otherSources) {
  const std::size_t projectCount = projectSources.size();
  const std::size_t total = projectCount + otherSources.size();
  std::vector<SourcePage> pages;
  std::size_t first = 0;
  do {
    // The longest run from here that fits. A longer run does not always
    // need more rows (the column count follows the longest name and how
    // many columns the run fills), so every length up to the letters is
    // tried rather than stopping at the first that does not fit.
    SourcePage page{first, 0};
    std::size_t longest = 0;
    const std::size_t most = std::min(kSelectableEntries, total - first);
    for (std::size_t count = 1; count <= most; ++count) {
      longest = std::max(longest,
                         entryName(projectSources, otherSources, first + count - 1).size());
      const std::size_t inProject =
          std::min(first + count, projectCount) - std::min(first, projectCount);
      const SourceColumns columns(windowWidth, longest, inProject, count - inProject);
      if (fitsBetweenRules(columns, inProject, count - inProject)) page.count = count;
    }
    // One entry always fits; this only keeps the loop going if it did not.
    if (page.count == 0 && first < total) page.count = 1;
    pages.push_back(page);
    first += page.count;
  } while (first < total);
  return pages;
}

PageLayout layOutPage(int windowWidth, const List& projectSources, const List& otherSources,
                      SourcePage page) {
  const std::size_t projectCount = projectSources.size();
  const Slice project = projectPart(projectCount, page);
  const Slice other = otherPart(projectCount, page);
  // The columns are sized by the names on this page only, as on a screen
  // that showed nothing else.
  const List projectNames(projectSources.begin() + static_cast<std::ptrdiff_t>(project.begin),
                          projectSources.begin() + static_cast<std::ptrdiff_t>(project.end));
  const List otherNames(otherSources.begin() + static_cast<std::ptrdiff_t>(other.begin),
                        otherSources.begin() + static_cast<std::ptrdiff_t>(other.end));
  const SourceColumns columns(windowWidth, projectNames, otherNames);

  PageLayout layout;
  layout.otherHeaderRow = static_cast<int>(columns.otherHeaderRow(otherNames.size()));
  layout.projectEnd = kFirstListRow + static_cast<int>(columns.rowsFor(projectNames.size()));
  layout.otherEnd =
      layout.otherHeaderRow + 1 + static_cast<int>(columns.rowsFor(otherNames.size()));
  placeList(columns, projectSources, project, kFirstListRow, project.begin, true, layout);
  placeList(columns, otherSources, other, layout.otherHeaderRow + 1, projectCount + other.begin,
            false, layout);
  return layout;
}

}  // namespace corvane

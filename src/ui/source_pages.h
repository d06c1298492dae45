// The sources screen's entries a page at a time. The entries are the project
// sources followed by the other sources; a page is a run of them small
// enough that every entry on it has a letter and both lists fit between the
// rules, laid out by the same column rules as a screen that holds them all.
// Nothing here draws: the screen draws what these functions work out.
#ifndef CORVANE_UI_SOURCE_PAGES_H
#define CORVANE_UI_SOURCE_PAGES_H

#include <cstddef>
#include <string>
#include <vector>

#include "text/text_utils.h"

namespace corvane {

// The lists are drawn on rows 4 to 17, between the PROJECT SOURCES rule
// and the select rule.
inline constexpr int kFirstListRow = 4;
inline constexpr int kLastListRow = 17;
inline constexpr int kSelectRuleRow = kLastListRow + 1;

// A run of entries: the first one's position among all entries (project
// sources first) and how many there are.
struct SourcePage {
  std::size_t first = 0;
  std::size_t count = 0;
};

// Cuts the entries into pages, in order: each page takes as many of the
// entries after the previous page as fit, and at most one per selection
// letter. There is always at least one page; with no entries it is empty.
// When everything fits there is exactly one page and it looks exactly like
// a screen that was never paged.
std::vector<SourcePage> splitIntoPages(int windowWidth, const List& projectSources,
                                       const List& otherSources);

// Where one entry of a page is drawn.
struct PlacedEntry {
  std::size_t entry = 0;  // position among all entries, project sources first
  std::size_t letter = 0;  // 0 for "(a)", 1 for "(b)" and so on
  int column = 1;          // window column of the label
  int row = 1;
  bool inProject = true;
  bool startsRow = false;  // the first entry on its row
  std::string name;        // as shown, cut at the right edge when too long
};

struct PageLayout {
  int otherHeaderRow = 0;  // the OTHER SOURCES rule
  int projectEnd = 0;      // the first row below the project sources
  int otherEnd = 0;        // the first row below the other sources
  std::vector<PlacedEntry> entries;  // project sources first, each list in order
};

PageLayout layOutPage(int windowWidth, const List& projectSources, const List& otherSources,
                      SourcePage page);

}  // namespace corvane

#endif  // CORVANE_UI_SOURCE_PAGES_H

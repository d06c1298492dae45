#include "ui/source_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr int kWorkspaceWidth = 77;  // 78 columns

// count distinct names of the given length (at least three).
List names(std::size_t count, std::size_t length, char fill = 'n') {
  List list;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name = std::to_string(100 + i);
    list.push_back(name + std::string(length - name.size(), fill));
  }
  return list;
}

std::vector<std::size_t> pageSizes(const List& project, const List& others) {
  std::vector<std::size_t> sizes;
  for (const SourcePage& page : splitIntoPages(kWorkspaceWidth, project, others))
    sizes.push_back(page.count);
  return sizes;
}

TEST(SourcePagesTest, APageTakesAsManyEntriesAsFitAndAtMostThirty) {
  struct Case {
    const char* what;
    List project;
    List others;
    std::vector<std::size_t> sizes;
  };
  const Case cases[] = {
      {"nothing at all", {}, {}, {0}},
      {"thirty in four columns", names(30, 12), {}, {30}},
      {"one more than the letters", names(31, 12), {}, {30, 1}},
      {"one project source and 31 others", names(1, 12), names(31, 12, 'o'), {30, 2}},
      {"a hundred short names", names(100, 6), {}, {30, 30, 30, 10}},
      // One column: twelve rows hold the project sources, the OTHER SOURCES
      // rule and the other sources together.
      {"names too long for two columns", names(20, 74), {}, {12, 8}},
      {"mixed, one column", names(5, 74), names(15, 74, 'o'), {12, 8}},
      // Two columns of twelve rows; with an odd number of other sources one
      // more fits below the rule.
      {"two columns", names(49, 22), {}, {24, 24, 1}},
      {"two columns, one other", names(48, 22), names(1, 22, 'o'), {24, 25}},
  };
  for (const Case& c : cases) EXPECT_EQ(pageSizes(c.project, c.others), c.sizes) << c.what;
}

// Whatever the names, the pages follow each other without gap or overlap,
// and every entry of a page lies between the rules, inside the window, in
// its own list's block.
TEST(SourcePagesTest, EveryPageKeepsItsEntriesBetweenTheRules) {
  for (std::size_t length : {3u, 6u, 12u, 22u, 40u, 90u}) {
    for (std::size_t inProject : {0u, 7u, 29u, 64u}) {
      const List project = names(inProject, length);
      const List others = names(71 - inProject, length, 'o');
      std::size_t next = 0;
      for (const SourcePage& page : splitIntoPages(kWorkspaceWidth, project, others)) {
        SCOPED_TRACE(std::to_string(length) + " " + std::to_string(inProject) + " page at " +
                     std::to_string(page.first));
        EXPECT_EQ(page.first, next);
        EXPECT_GE(page.count, 1u);
        EXPECT_LE(page.count, 30u);
        next = page.first + page.count;
        const PageLayout layout = layOutPage(kWorkspaceWidth, project, others, page);
        ASSERT_EQ(layout.entries.size(), page.count);
        EXPECT_GE(layout.otherHeaderRow, kFirstListRow);
        EXPECT_LE(layout.projectEnd, layout.otherHeaderRow);
        EXPECT_LE(layout.otherEnd, kLastListRow + 1);
        for (std::size_t i = 0; i < page.count; ++i) {
          const PlacedEntry& entry = layout.entries[i];
          EXPECT_EQ(entry.entry, page.first + i);
          EXPECT_EQ(entry.letter, i);
          EXPECT_EQ(entry.inProject, entry.entry < inProject);
          EXPECT_GE(entry.row, entry.inProject ? kFirstListRow : layout.otherHeaderRow + 1);
          EXPECT_LT(entry.row, entry.inProject ? layout.projectEnd : layout.otherEnd);
          EXPECT_LE(entry.column + 3 + static_cast<int>(entry.name.size()) - 1,
                    kWorkspaceWidth + 1);
        }
      }
      EXPECT_EQ(next, 71u);
    }
  }
}

}  // namespace
}  // namespace corvane

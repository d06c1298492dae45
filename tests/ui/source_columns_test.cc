#include "ui/source_columns.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

constexpr int kWorkspaceWidth = 77;  // 78 columns

List namesOfLength(std::size_t count, std::size_t length) {
  return List(count, std::string(length, 'n'));
}

TEST(SourceColumnsTest, FollowsTheColumnRuleWhereItFitsTheWindow) {
  // Twelve-character names: (77 - 2) / 16 = 4 columns, starting every
  // (77 + 3) / 4 + 1 = 21 columns.
  const SourceColumns twelve(kWorkspaceWidth, namesOfLength(27, 12), List{});
  EXPECT_EQ(twelve.columns(), 4);
  EXPECT_EQ(twelve.columnStart(0), 1);
  EXPECT_EQ(twelve.columnStart(3), 64);
  EXPECT_EQ(twelve.rowsFor(27), 7);
  EXPECT_EQ(twelve.rowsFor(0), 0);
  // Eight characters and three names: six columns every 14, of which three
  // are used.
  const SourceColumns eight(kWorkspaceWidth, namesOfLength(3, 8), List{"a.c"});
  EXPECT_EQ(eight.columns(), 6);
  EXPECT_EQ(eight.columnStart(2), 29);
  // Names longer than the width less six still get one column.
  EXPECT_EQ(SourceColumns(kWorkspaceWidth, namesOfLength(2, 74), List{}).columns(), 1);
}

TEST(SourceColumnsTest, TheOtherSourcesHeaderLeavesThemEndingOnRowSeventeen) {
  const SourceColumns layout(kWorkspaceWidth, namesOfLength(1, 12), List{});
  EXPECT_EQ(layout.otherHeaderRow(0), 16);
  EXPECT_EQ(layout.otherHeaderRow(3), 16);   // one row of up to four
  EXPECT_EQ(layout.otherHeaderRow(4), 15);
  EXPECT_EQ(layout.otherHeaderRow(31), 9);
  EXPECT_EQ(layout.otherHeaderRow(31) + layout.rowsFor(31), 17);
}

TEST(SourceColumnsTest, EveryUsedColumnEndsInsideTheWindow) {
  for (std::size_t length = 1; length <= 75; ++length) {
    for (std::size_t count = 1; count <= 40; ++count) {
      const SourceColumns layout(kWorkspaceWidth, namesOfLength(count, length), List{});
      const auto rows = static_cast<std::size_t>(layout.rowsFor(count));
      const int lastColumn = static_cast<int>((count - 1) / rows);
      EXPECT_LE(layout.columnStart(lastColumn) + 3 + static_cast<int>(length) - 1,
                kWorkspaceWidth + 1)
          << count << " names of " << length << " characters";
    }
  }
}

TEST(SourceColumnsTest, ANameLongerThanARowIsCutAtTheRightEdge) {
  const std::string longName(90, 'x');
  const SourceColumns layout(kWorkspaceWidth, List{longName}, List{});
  EXPECT_EQ(layout.shownName(longName, 0), std::string(73, 'x') + "..");
  EXPECT_EQ(layout.shownName("short.c", 0), "short.c");
}

TEST(SourceColumnsTest, LettersRunFromAToTildeAndThenStop) {
  EXPECT_EQ(selectionLabel(0), "(a)");
  EXPECT_EQ(selectionLabel(25), "(z)");
  EXPECT_EQ(selectionLabel(26), "({)");
  EXPECT_EQ(selectionLabel(29), "(~)");
  EXPECT_EQ(selectionLabel(30), "( )");
  EXPECT_EQ(selectionLabel(5000), "( )");
}

}  // namespace
}  // namespace corvane

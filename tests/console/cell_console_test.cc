#include "console/cell_console.h"

#include <gtest/gtest.h>

#include "support/memory_console.h"

namespace corvane {
namespace {

TEST(CellConsoleTest, WritesWrapAtTheRegionEdgeAndScrollBelowTheLastRow) {
  MemoryConsole console;
  console.setRegion(3, 2, 6, 3);  // four columns, two rows
  console.setForeground(14);
  console.setBackground(1);
  console.writeText("abcdefgh");
  // "abcd" then "efgh" filled both rows; the last byte scrolled the region.
  EXPECT_EQ(console.rowText(2, 3, 6), "efgh");
  EXPECT_EQ(console.rowText(3, 3, 6), "    ");
  EXPECT_EQ(console.cursorColumn(), 1);
  EXPECT_EQ(console.cursorRow(), 2);
  EXPECT_EQ(console.foregroundAt(3, 2), 14);
  EXPECT_EQ(console.backgroundAt(3, 2), 1);
  // Nothing outside the region was touched.
  EXPECT_EQ(console.rowText(2, 1, 2), "  ");
  EXPECT_EQ(console.rowText(2, 7, 8), "  ");
}

TEST(CellConsoleTest, ControlBytesMoveTheCursorAndOtherBytesAreGlyphs) {
  MemoryConsole console;
  console.writeText("ab\rX\tc\bd\ne\a");
  EXPECT_EQ(console.rowText(1, 1, 4), "X\td ");
  EXPECT_EQ(console.cellAt(2, 1).character, 9);  // the tab is a cell of its own
  EXPECT_EQ(console.cellAt(4, 2).character, 'e');  // line feed keeps the column
  EXPECT_EQ(console.bellCount(), 1);
}

TEST(CellConsoleTest, InvalidRegionsAndCursorMovesAreIgnored) {
  MemoryConsole console;
  console.setRegion(10, 10, 20, 12);
  console.moveCursor(3, 2);
  console.setRegion(0, 1, 10, 10);   // outside the screen
  console.setRegion(20, 1, 10, 10);  // inverted
  console.setRegion(1, 1, 81, 25);
  EXPECT_EQ(console.regionLeft(), 10);
  EXPECT_EQ(console.cursorColumn(), 3);
  console.moveCursor(12, 1);  // past the region's right edge
  console.moveCursor(1, 0);
  EXPECT_EQ(console.cursorColumn(), 3);
  EXPECT_EQ(console.cursorRow(), 2);
  EXPECT_EQ(console.screenCursorColumn(), 12);
  EXPECT_EQ(console.screenCursorRow(), 11);
}

TEST(CellConsoleTest, ClearLineEndStopsAtTheRegionAndKeepsTheCursor) {
  MemoryConsole console;
  console.writeText(std::string(80, 'x'));
  console.setRegion(5, 1, 10, 1);
  console.setBackground(4);
  console.moveCursor(3, 1);
  console.clearLineEnd();
  EXPECT_EQ(console.rowText(1, 1, 12), "xxxxxx    xx");
  EXPECT_EQ(console.backgroundAt(7, 1), 4);
  EXPECT_EQ(console.cursorColumn(), 3);
}

TEST(CellConsoleTest, CellsCopiedOutComeBackUnchanged) {
  MemoryConsole console;
  console.writeText("hello");
  std::vector<Cell> saved;
  console.readCells(1, 1, 5, 2, saved);
  ASSERT_EQ(saved.size(), 10u);
  console.setRegion(1, 1, 80, 25);
  console.setBackground(2);
  console.clearRegion();
  EXPECT_EQ(console.rowText(1, 1, 5), "     ");
  console.writeCells(1, 1, 5, 2, saved);
  EXPECT_EQ(console.rowText(1, 1, 5), "hello");
  EXPECT_EQ(console.backgroundAt(1, 1), 0);
  EXPECT_EQ(console.backgroundAt(6, 1), 2);
}

TEST(MemoryConsoleTest, NegativeCodesArriveAsZeroThenScanCodeAndEmptyQueueGivesEsc) {
  MemoryConsole console;
  console.pushKey(-72);
  console.pushKeys("a");
  EXPECT_EQ(console.getKey(), 0);
  EXPECT_EQ(console.getKey(), 72);
  EXPECT_TRUE(console.keyPending());
  EXPECT_EQ(console.getKey(), 'a');
  EXPECT_FALSE(console.ranDry());
  EXPECT_EQ(console.getKey(), 27);
  EXPECT_TRUE(console.ranDry());
}

}  // namespace
}  // namespace corvane

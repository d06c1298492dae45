#include "ui/text_window.h"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_console.h"
#include "support/screen_text.h"

namespace corvane {
namespace {

// A whole screen row: the text, then blanks up to column 80.

TEST(TextWindowTest, WidthAndHeightAreOneLessThanTheColumnsAndRows) {
  MemoryConsole console;
  TextWindow window(console, 2, 5, 79, 25, 15, 1);
  EXPECT_EQ(window.width(), 77);
  EXPECT_EQ(window.height(), 20);
  EXPECT_FALSE(window.shown());
  EXPECT_EQ(window.savedCells().size(), 78u * 21u);
}

TEST(TextWindowTest, FirstShowClearsInTheWindowsColours) {
  MemoryConsole console;
  TextWindow window(console, 3, 2, 6, 3, 14, 2);
  window.show();
  EXPECT_TRUE(window.shown());
  EXPECT_EQ(console.rowText(1), row(""));
  EXPECT_EQ(console.rowText(2), row(""));
  for (int column = 3; column <= 6; ++column) {
    EXPECT_EQ(console.backgroundAt(column, 2), 2);
    EXPECT_EQ(console.backgroundAt(column, 3), 2);
  }
  EXPECT_EQ(console.backgroundAt(2, 2), 0);
  EXPECT_EQ(console.backgroundAt(7, 3), 0);
}

TEST(TextWindowTest, CoveredWindowsComeBackFromTheirSavedCells) {
  MemoryConsole console;
  TextWindow lower(console, 1, 1, 20, 3, 15, 1);
  TextWindow upper(console, 5, 2, 12, 4, 14, 4);
  lower.show();
  lower.setCursor(1, 2);
  lower.write("under the upper one");
  upper.show();
  upper.write("on top");
  EXPECT_EQ(console.rowText(2), row("unde" "on top  " "per one"));
  EXPECT_EQ(console.foregroundAt(5, 2), 14);

  lower.show();  // brought back whole over the upper window
  EXPECT_EQ(console.rowText(2), row("under the upper one"));
  EXPECT_EQ(console.rowText(3), row(""));
  EXPECT_EQ(console.rowText(4), row("    " "        "));
  EXPECT_EQ(console.foregroundAt(5, 2), 15);
  EXPECT_EQ(console.backgroundAt(5, 4), 4);  // the part outside is still the upper one's

  upper.show();
  EXPECT_EQ(console.rowText(2), row("unde" "on top  " "per one"));
  EXPECT_EQ(console.backgroundAt(12, 2), 4);
  // The upper window's cursor came back with it.
  EXPECT_EQ(console.screenCursorColumn(), 11);
  EXPECT_EQ(console.screenCursorRow(), 2);
}

TEST(TextWindowTest, WriteLeavesTheCursorAfterTheTextAndStopsAtTheEdge) {
  MemoryConsole console;
  TextWindow window(console, 11, 1, 15, 3, 7, 0);
  window.show();
  window.write("abc\t");
  EXPECT_EQ(window.cursorColumn(), 5);
  EXPECT_EQ(console.cellAt(14, 1).character, 9);  // a tab is one cell showing its glyph
  // A text longer than its row is cut at the edge, not run on below.
  window.write("defg");
  EXPECT_EQ(console.rowText(1, 11, 15), "abc\td");
  EXPECT_EQ(console.rowText(2, 11, 15), "     ");
  EXPECT_EQ(window.cursorColumn(), 1);
  EXPECT_EQ(window.cursorRow(), 2);
  // The bytes a console would act on show as "?": nothing rings, nothing
  // moves back or down.
  window.write("h\ai\bj\nk\r");
  EXPECT_EQ(console.rowText(2, 11, 15), "h?i?j");
  EXPECT_EQ(console.bellCount(), 0);
  // On the last row the last cell stays: filling it would scroll the window.
  window.setCursor(1, 3);
  window.write("lmnopq");
  EXPECT_EQ(console.rowText(3, 11, 15), "lmno ");
  EXPECT_EQ(console.rowText(1, 11, 15), "abc\td");
}

TEST(TextWindowTest, ColouredWritesKeepTheWindowsOwnColours) {
  MemoryConsole console;
  TextWindow window(console, 1, 1, 30, 2, 15, 1);
  window.show();
  window.writeColoured("yellow", 14);
  window.writeColoured("red", 15, 4);
  window.write("plain");
  EXPECT_EQ(console.rowText(1), row("yellowredplain"));
  EXPECT_EQ(console.foregroundAt(1, 1), 14);
  EXPECT_EQ(console.backgroundAt(1, 1), 1);
  EXPECT_EQ(console.backgroundAt(7, 1), 4);
  EXPECT_EQ(console.foregroundAt(10, 1), 15);
  EXPECT_EQ(console.backgroundAt(10, 1), 1);
  EXPECT_EQ(window.foreground(), 15);
  EXPECT_EQ(window.background(), 1);
}

TEST(TextWindowTest, SetCursorLeavesZeroAndMinusOneFieldsAlone) {
  MemoryConsole console;
  TextWindow window(console, 1, 1, 30, 5, 15, 1);
  window.show();
  window.setCursor(7, 3, 14, 2);
  window.setCursor(0, 4, -1, 6);
  EXPECT_EQ(window.cursorColumn(), 7);
  EXPECT_EQ(window.cursorRow(), 4);
  EXPECT_EQ(window.foreground(), 14);
  EXPECT_EQ(window.background(), 6);
  EXPECT_EQ(console.cursorColumn(), 7);
  EXPECT_EQ(console.cursorRow(), 4);
  EXPECT_EQ(console.foreground(), 14);
  EXPECT_EQ(console.background(), 6);
}

TEST(TextWindowTest, WriteLineGoesDownARowAndScrollsOnTheLastRow) {
  MemoryConsole console;
  TextWindow window(console, 1, 2, 20, 4, 15, 1);
  window.show();
  window.writeLine("one");  // from row 1 to row 2
  window.writeLine("two");
  EXPECT_EQ(console.rowText(2), row(""));
  EXPECT_EQ(console.rowText(3), row("one"));
  EXPECT_EQ(console.rowText(4), row("two"));
  // The cursor is on the last row: the rows move up by one first.
  window.writeLineColoured("three", 14);
  EXPECT_EQ(console.rowText(2), row("one"));
  EXPECT_EQ(console.rowText(3), row("two"));
  EXPECT_EQ(console.rowText(4), row("three"));
  EXPECT_EQ(console.rowText(5), row(""));
  window.writeLine("four");
  EXPECT_EQ(console.rowText(1), row(""));
  EXPECT_EQ(console.rowText(2), row("two"));
  EXPECT_EQ(console.rowText(3), row("three"));
  EXPECT_EQ(console.rowText(4), row("four"));
  EXPECT_EQ(console.foregroundAt(1, 3), 14);
  EXPECT_EQ(console.foregroundAt(1, 4), 15);
  EXPECT_EQ(console.backgroundAt(20, 4), 1);
}

TEST(TextWindowTest, ReshapeTakesANewRectangleAndCursor) {
  MemoryConsole console;
  TextWindow window(console, 5, 5, 10, 6, 15, 1);
  window.show();
  window.write("abc");
  window.reshape(1, 1, 80, 25);
  EXPECT_EQ(window.width(), 79);
  EXPECT_EQ(window.height(), 24);
  EXPECT_EQ(window.cursorColumn(), 1);
  EXPECT_EQ(window.cursorRow(), 1);
  ASSERT_EQ(window.savedCells().size(), 80u * 25u);
  EXPECT_EQ(window.savedCells()[4 * 80 + 4].character, 'a');
  window.setCursor(1, 1, 15, 0);
  window.activate(false);
  console.clearRegion();
  for (int r = 1; r <= kScreenRows; ++r) EXPECT_EQ(console.rowText(r), row(""));
  EXPECT_EQ(console.backgroundAt(5, 5), 0);
}

}  // namespace
}  // namespace corvane

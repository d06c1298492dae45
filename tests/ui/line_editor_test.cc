#include "ui/line_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_console.h"
#include "support/screen_recorder.h"
#include "support/screen_text.h"
#include "ui/read_key.h"

namespace corvane {
namespace {

// Counts what reaches the console.
class WatchingConsole : public MemoryConsole {
 public:
  void writeText(std::string_view text) override {
    bytesWritten += static_cast<int>(text.size());
    MemoryConsole::writeText(text);
  }
  void clearLineEnd() override {
    ++linesCleared;
    MemoryConsole::clearLineEnd();
  }

  int bytesWritten = 0;
  int linesCleared = 0;
};

// A blue window on rows 5 to 7, columns 1 to 30; the field starts at column
// 5 of its second row (screen row 6), so it has 25 columns (5 to 29) and
// texts up to 23 characters are typed without a full redraw.
class LineEditorTest : public ::testing::Test {
 protected:
  static constexpr int kFieldRow = 6;
  static constexpr int kFieldColumn = 5;

  LineEditorTest() : window(console, 1, 5, 30, 7, 15, 1) { window.show(); }

  int edit(std::string& value, const std::string& initial) {
    window.setCursor(kFieldColumn, 2);
    return editLine(window, value, initial);
  }
  std::string fieldRow() const { return console.rowText(kFieldRow); }
  int cursorColumn() const { return console.screenCursorColumn(); }

  WatchingConsole console;
  ScreenRecorder recorder{console};
  TextWindow window;
};

TEST_F(LineEditorTest, TypingIntoAnEmptyFieldWritesWhiteOnBlack) {
  std::string value = "old";
  console.pushKeys("abc\r");
  EXPECT_EQ(edit(value, ""), kKeyEnter);
  EXPECT_EQ(value, "abc");
  EXPECT_EQ(fieldRow(), row("    abc"));
  EXPECT_EQ(console.foregroundAt(5, kFieldRow), 15);
  EXPECT_EQ(console.backgroundAt(5, kFieldRow), 0);
  EXPECT_EQ(console.backgroundAt(30, kFieldRow), 0);  // the field was wiped to the edge
  EXPECT_EQ(console.backgroundAt(4, kFieldRow), 1);
  EXPECT_EQ(cursorColumn(), 8);
}

TEST_F(LineEditorTest, EnterFirstGivesBackTheValueAsItWasOnEntry) {
  std::string value = "old";
  console.pushKeys("\r");
  EXPECT_EQ(edit(value, ""), kKeyEnter);
  EXPECT_EQ(value, "old");

  console.pushKeys("\r");
  EXPECT_EQ(edit(value, "offered"), kKeyEnter);
  EXPECT_EQ(value, "old");
  // The offered text stays on show, highlighted white on green.
  EXPECT_EQ(fieldRow(), row("    offered"));
  EXPECT_EQ(console.foregroundAt(5, kFieldRow), 15);
  EXPECT_EQ(console.backgroundAt(5, kFieldRow), 2);
  EXPECT_EQ(console.backgroundAt(11, kFieldRow), 2);
  EXPECT_EQ(console.backgroundAt(12, kFieldRow), 1);
}

TEST_F(LineEditorTest, EscLeavesTheUndoToTheCaller) {
  std::string value = "old";
  console.pushKeys("\x1b");
  EXPECT_EQ(edit(value, ""), kKeyEsc);
  EXPECT_EQ(value, "");

  value = "old";
  console.pushKeys("\x1b");
  EXPECT_EQ(edit(value, "offered"), kKeyEsc);
  EXPECT_EQ(value, "offered");
}

TEST_F(LineEditorTest, BackspaceOrDeleteFirstEmptiesTheOfferedText) {
  std::string value = "hello";
  console.pushKeys("\bxy\r");
  EXPECT_EQ(edit(value, "hello"), kKeyEnter);
  EXPECT_EQ(value, "xy");
  EXPECT_EQ(fieldRow(), row("    xy"));
  EXPECT_EQ(console.backgroundAt(5, kFieldRow), 0);
  EXPECT_EQ(console.backgroundAt(9, kFieldRow), 0);

  console.pushKey(kKeyDelete);
  console.pushKeys("z\r");
  EXPECT_EQ(edit(value, "xy"), kKeyEnter);
  EXPECT_EQ(value, "z");
  EXPECT_EQ(fieldRow(), row("    z"));
}

TEST_F(LineEditorTest, BackspaceFirstWithoutAnOfferedTextIsAnOrdinaryKey) {
  std::string value = "kept";
  console.pushKeys("\bab\r");
  EXPECT_EQ(edit(value, ""), kKeyEnter);
  EXPECT_EQ(value, "ab");
}

TEST_F(LineEditorTest, OtherFirstKeysEditTheOfferedText) {
  std::string value;
  console.pushKeys("!\r");
  edit(value, "hello");
  EXPECT_EQ(value, "hello!");
  EXPECT_EQ(fieldRow(), row("    hello!"));
  EXPECT_EQ(console.backgroundAt(5, kFieldRow), 0);  // no longer highlighted

  console.pushKey(kKeyLeft);
  console.pushKeys("X\r");
  edit(value, "hello");
  EXPECT_EQ(value, "hellXo");
  EXPECT_EQ(fieldRow(), row("    hellXo"));

  console.pushKey(kKeyHome);
  console.pushKeys("A\r");
  edit(value, "hello");
  EXPECT_EQ(value, "Ahello");

  console.pushKey(kKeyRight);  // already at the end: nothing moves
  console.pushKeys("?\r");
  edit(value, "hello");
  EXPECT_EQ(value, "hello?");
}

TEST_F(LineEditorTest, KeyTable) {
  std::string value;
  console.pushKey(kKeyHome);
  // Not Delete and Right, as these bytes once were, nor any other key.
  console.pushKeys("\xAD\xB3");
  console.pushKey(kKeyNonAscii);
  console.pushKey(kKeyAltChord);
  console.pushKey(kKeyDelete);  // "bcd"
  console.pushKey(kKeyRight);
  console.pushKey(kKeyBackspace);  // "cd"
  console.pushKey(kKeyEnd);
  console.pushKey(kKeyDelete);  // at the end: nothing
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyLeft);       // already at the start: nothing
  console.pushKey(kKeyBackspace);  // at the start: nothing
  for (int ignored : {kKeyUp, kKeyDown, kKeyF1, kKeyInsert}) console.pushKey(ignored);
  console.pushKeys("\x7f\t\xE9\x01");  // control characters and the upper half
  console.pushKeys("X");
  console.pushKey(kKeyEnd);
  console.pushKeys("!");
  console.pushKey(kKeyLeft);
  console.pushKeys("\r");
  EXPECT_EQ(edit(value, "abcd"), kKeyEnter);
  EXPECT_EQ(value, "Xcd!");
  EXPECT_EQ(fieldRow(), row("    Xcd!"));
  EXPECT_EQ(cursorColumn(), 8);
  EXPECT_FALSE(console.ranDry());
}

#ifndef _WIN32
TEST_F(LineEditorTest, AUtf8TextIsEditedOneCellACharacter) {
  std::string value;
  console.pushKey(kKeyLeft);       // before the "e"
  console.pushKey(kKeyBackspace);  // the "\xc3\xa9", both its bytes
  console.pushKey(kKeyHome);
  console.pushKeys("x\r");
  EXPECT_EQ(edit(value, "n\xc3\xa9" "e"), kKeyEnter);
  EXPECT_EQ(recorder.first().rows()[kFieldRow - 1], row("    n\x82" "e"));
  EXPECT_EQ(value, "xne");
  EXPECT_EQ(fieldRow(), row("    xne"));
}
#endif

TEST_F(LineEditorTest, TypingAtTheEndOfAFittingTextWritesOnlyThatCharacter) {
  std::string value;
  console.pushKeys("abc");
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyHome);
  console.pushKey(kKeyEnd);
  console.pushKeys("\r");
  edit(value, "");
  // One wipe of the field when the first key came, then one byte per key;
  // cursor moves wrote nothing.
  EXPECT_EQ(console.bytesWritten, 3);
  EXPECT_EQ(console.linesCleared, 1);

  console.bytesWritten = 0;
  console.pushKey(kKeyLeft);
  console.pushKeys("X\r");
  edit(value, "abc");
  // The highlighted "abc", the same again in white on black, then the whole
  // changed slice "abXc".
  EXPECT_EQ(console.bytesWritten, 3 + 3 + 4);
  EXPECT_EQ(value, "abXc");
}

TEST_F(LineEditorTest, AClickInTheFieldMovesTheCursorThereAndOneOutsideTheBoxIsEnter) {
  std::string value;
  console.pushClick(7, kFieldRow);  // before "c": the offered text is taken
  console.pushKeys("X");
  console.pushClick(29, kFieldRow);  // past the end of the text
  console.pushKeys("Y");
  console.pushClick(30, kFieldRow);  // the window's last column: no field there
  console.pushClick(5, 5);           // the window's first row: no field there
  console.pushClick(9, kFieldRow, MouseEvent::kRight);
  console.pushKeys("Z");
  console.pushClick(31, kFieldRow);  // outside the window: Enter
  EXPECT_EQ(edit(value, "abcdef"), kKeyEnter);
  EXPECT_EQ(value, "abXcdefYZ");
  EXPECT_EQ(console.keysLeft(), 0u);

  // As the first key, a click outside is Enter: the value stays as it was.
  console.pushClick(1, 1);
  EXPECT_EQ(edit(value, "offered"), kKeyEnter);
  EXPECT_EQ(value, "abXcdefYZ");
}

TEST_F(LineEditorTest, AClickInAScrolledFieldMovesToTheCharacterShownThere) {
  const std::string text = "0123456789abcdefghijklmnopqrstuvwxyzABCDEF";
  std::string value;
  console.pushClick(kFieldColumn + 1, kFieldRow);
  console.pushKeys("_\r");
  EXPECT_EQ(edit(value, text), kKeyEnter);
  // The character the click fell on now follows the typed one.
  const char clicked =
      static_cast<char>(recorder.first().cellAt(kFieldColumn + 1, kFieldRow).character);
  ASSERT_NE(text.find(clicked), std::string::npos);
  EXPECT_EQ(value.find('_') + 1, value.find(clicked)) << value;
  EXPECT_NE(clicked, text[1]);  // the field was scrolled
}

// A paste in the field is typed, as if by hand; the keys around it count.
TEST_F(LineEditorTest, APasteIsTypedIntoTheField) {
  std::string value;
  console.pushKeys("a");
  console.pushPaste("bc");
  console.pushKeys("d\r");
  EXPECT_EQ(edit(value, "x"), kKeyEnter);
  EXPECT_EQ(value, "xabcd");
}

TEST_F(LineEditorTest, ALongTextScrollsAndHomeScrollsBack) {
  std::string value;
  console.pushKeys("abcdefghijklmnopqrstuvwxyz\r");
  edit(value, "");
  EXPECT_EQ(value, "abcdefghijklmnopqrstuvwxyz");
  // The 26th character did not fit the 25 columns: a quarter of the field
  // plus one (7 characters) scrolled out on the left.
  EXPECT_EQ(fieldRow(), row("    hijklmnopqrstuvwxyz"));
  EXPECT_EQ(cursorColumn(), 5 + 19);

  console.pushKeys("!");
  console.pushKey(kKeyHome);
  console.pushKeys("\r");
  edit(value, value);
  EXPECT_EQ(value, "abcdefghijklmnopqrstuvwxyz!");
  EXPECT_EQ(fieldRow(), row("    abcdefghijklmnopqrstuvwxy"));
  EXPECT_EQ(cursorColumn(), 5);
}

// The field's scroll offset as the cursor walks over a long text: the
// cursor never comes within three columns of an edge while text remains
// hidden on that side, and the field shows the slice from the offset.
TEST_F(LineEditorTest, DrawFieldKeepsTheCursorAwayFromEdgesWithHiddenText) {
  const int columns = window.width() - kFieldColumn + 1;
  ASSERT_EQ(columns, 25);
  std::string text;
  for (int i = 0; i < 70; ++i) text += static_cast<char>('A' + i % 26);
  const int length = static_cast<int>(text.size());

  std::vector<int> walk;
  for (int c = 0; c <= length; ++c) walk.push_back(c);
  for (int c = length; c >= 0; --c) walk.push_back(c);
  walk.insert(walk.end(), {length, 0, 30, length, 35, 2});

  FieldState state;
  int offset = 0;
  for (int cursor : walk) {
    offset = drawField(state, window, text, kFieldColumn, 2, cursor, offset);
    SCOPED_TRACE("cursor " + std::to_string(cursor) + ", offset " + std::to_string(offset));
    const int inField = cursor - offset;
    ASSERT_GE(inField, 0);
    ASSERT_LE(inField, columns);
    if (offset > 0) {
      EXPECT_GE(inField, 3);
    }
    if (length > offset + columns) {
      EXPECT_GE(columns - inField, 3);
    }
    const std::string slice = text.substr(static_cast<std::size_t>(offset), columns);
    EXPECT_EQ(console.rowText(kFieldRow, 5, 29),
              slice + std::string(static_cast<std::size_t>(columns) - slice.size(), ' '));
    EXPECT_EQ(cursorColumn(), kFieldColumn + inField);
  }
}

TEST_F(LineEditorTest, DrawFieldSkipsASliceAlreadyShown) {
  FieldState state;
  drawField(state, window, "same", kFieldColumn, 2, 4, 0);
  console.bytesWritten = 0;
  drawField(state, window, "same", kFieldColumn, 2, 1, 0);
  EXPECT_EQ(console.bytesWritten, 0);
  EXPECT_EQ(cursorColumn(), 6);
  // An offset of -1 only records the text as shown.
  EXPECT_EQ(drawField(state, window, "other", kFieldColumn, 2, 0, -1), -1);
  EXPECT_EQ(state.lastSlice, "other");
  EXPECT_EQ(drawField(state, window, "other", kFieldColumn, 2, 0, 0), 0);
  EXPECT_EQ(console.bytesWritten, 0);
  EXPECT_EQ(fieldRow(), row("    same"));
}

TEST_F(LineEditorTest, DrawFieldWipesTheRestOfALongerSlice) {
  FieldState state;
  drawField(state, window, "longer text", kFieldColumn, 2, 0, 0);
  drawField(state, window, "short", kFieldColumn, 2, 0, 0);
  EXPECT_EQ(fieldRow(), row("    short"));
}

// A field narrower than three columns still scrolls back (one column at a
// time at least) instead of looping for ever; a field of no columns is not
// drawn at all.
TEST(NarrowFieldTest, ScrollsBackAndANoColumnFieldIsNotDrawn) {
  MemoryConsole console;
  TextWindow window(console, 1, 10, 8, 10, 15, 1);  // width 7
  window.show();
  const std::string text = "abcdefghij";
  for (int column : {6, 7}) {  // two columns, one column
    FieldState state;
    EXPECT_EQ(drawField(state, window, text, column, 1, 0, 5), 0);
    EXPECT_EQ(console.rowText(10, column, 7), text.substr(0, 8 - column));
  }
  FieldState state;
  EXPECT_EQ(drawField(state, window, text, 8, 1, 0, 5), 5);
  EXPECT_EQ(drawField(state, window, text, 8, 1, 10, 0), 0);
  EXPECT_EQ(console.rowText(10, 8, 8), " ");
  EXPECT_EQ(state.lastSlice, "");

  for (int column : {6, 7, 8}) {
    window.setCursor(column, 1);
    std::string value;
    console.pushKeys("abcdef");
    console.pushKey(kKeyHome);
    console.pushKeys("X\r");
    EXPECT_EQ(editLine(window, value, ""), kKeyEnter);
    EXPECT_EQ(value, "Xabcdef");
  }
}

TEST(EditBoxTest, DrawsTheBoxAndRestoresTheParentAfterwards) {
  MemoryConsole console;
  ScreenRecorder recorder(console);
  TextWindow parent(console, 2, 5, 79, 25, 15, 1);
  parent.show();
  parent.setCursor(1, 18);
  parent.write("a line under the box");
  std::vector<std::string> before;
  for (int r = 1; r <= kScreenRows; ++r) before.push_back(console.rowText(r));

  std::string value = "old";
  console.pushKeys("\bnew\r");
  EXPECT_EQ(editBox(parent, value, 1, 17, "Label: ", value), EditResult::kAccepted);
  EXPECT_EQ(value, "new");

  const std::vector<std::string> shown = recorder.first().rows();
  ASSERT_EQ(shown.size(), static_cast<std::size_t>(kScreenRows));
  EXPECT_EQ(shown[21], row(" a"));  // the box covers the line from column 3
  EXPECT_EQ(shown[22], row("   Label: old"));
  EXPECT_EQ(shown[23], row(""));
  EXPECT_EQ(recorder.first().cellAt(4, 23).attribute, makeAttribute(7, 0));    // the label
  EXPECT_EQ(recorder.first().cellAt(11, 23).attribute, makeAttribute(15, 2));  // the offered text
  EXPECT_EQ(recorder.first().cellAt(3, 22).attribute, makeAttribute(15, 0));
  EXPECT_EQ(recorder.first().cellAt(78, 24).attribute, makeAttribute(15, 0));
  EXPECT_EQ(recorder.first().cellAt(79, 24).attribute, makeAttribute(15, 1));  // one column short
  EXPECT_EQ(recorder.first().cellAt(3, 21).attribute, makeAttribute(15, 1));

  for (int r = 1; r <= kScreenRows; ++r) EXPECT_EQ(console.rowText(r), before[r - 1]);
  EXPECT_EQ(console.backgroundAt(3, 22), 1);
}

TEST(EditBoxTest, EscUndoesTheEdit) {
  WatchingConsole console;
  TextWindow parent(console, 2, 5, 79, 25, 15, 1);
  parent.show();
  std::string value = "old";
  console.pushKeys("\bnew\x1b");
  EXPECT_EQ(editBox(parent, value, 1, 17, "Label: ", value), EditResult::kEscaped);
  EXPECT_EQ(value, "old");
  EXPECT_EQ(console.rowText(23), row(""));
  EXPECT_EQ(console.backgroundAt(40, 23), 1);
}

}  // namespace
}  // namespace corvane

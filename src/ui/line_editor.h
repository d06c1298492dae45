// The one-line text editor with horizontal scrolling and the three-row edit
// box built on it.
#ifndef CORVANE_UI_LINE_EDITOR_H
#define CORVANE_UI_LINE_EDITOR_H

#include <string>

#include "ui/text_window.h"

namespace corvane {

// How an edit ended: Enter took the text as typed, Enter without a single
// character typed or deleted (the cursor moved at most) kept the value
// exactly as it was, Esc left the value as it was.
enum class EditResult { kAccepted, kKept, kEscaped };

// Edits value in place from the console cursor's position; returns the key
// that ended it, Enter (13) or Esc (27). Undo on Esc is the caller's.
int editLine(TextWindow& window, std::string& value, const std::string& initial);

// What a field showed last, so that a redraw that would show the same slice
// writes nothing. The line editor keeps one for the field it edits.
struct FieldState {
  std::string lastSlice;
};

// Draws the visible slice of text in the field starting at (column, row) and
// returns the new scroll offset; an offset of -1 only records the text as the
// last slice drawn and returns -1. The field runs to one column short of the
// window's right edge; a field with no columns is never drawn.
int drawField(FieldState& state, TextWindow& window, const std::string& text, int column,
              int row, int cursor, int offset);

// A box of three rows on the window at (column, row) with a label and the
// line editor; on Esc the value is left unchanged.
EditResult editBox(TextWindow& window, std::string& value, int column, int row,
                   const std::string& label, const std::string& initial);

}  // namespace corvane

#endif  // CORVANE_UI_LINE_EDITOR_H

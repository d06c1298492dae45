// Small drawing steps that the three editing screens share: coloured text at a
// window position, clearing the rest of a row, rules of line characters, the
// prompt line and the key folding the screens apply after reading a key.
#ifndef CORVANE_UI_EDITOR_DRAWING_H
#define CORVANE_UI_EDITOR_DRAWING_H

#include <string>
#include <string_view>

#include "ui/corvane_screen.h"
#include "ui/line_editor.h"
#include "ui/text_window.h"

namespace corvane {

// Writes text at a window-relative position in the given foreground; the
// window's cursor ends just after the text.
inline void writeAt(TextWindow& window, int column, int row, std::string_view text,
                    int foreground) {
  window.setCursor(column, row);
  window.writeColoured(text, foreground);
}

// Blanks a row of the window from the column to its right edge in the
// window's colours. The saved cells are not refreshed here: the screens
// capture once at the end of each drawing step.
inline void clearRowFrom(TextWindow& window, int column, int row) {
  window.setCursor(column, row);
  window.console().clearLineEnd();
}

// Every editing screen asks for its keys on row 20 of its workspace.
inline constexpr int kPromptRow = 20;

// A screen's prompt: the column it starts in and its text, where braces
// (not shown) mark the keys it names: "Press {(selection)} or [{Enter}]... ".
struct Prompt {
  int column;
  std::string_view text;
};

// Where the cursor rests while a screen waits for a key: after its prompt.
struct RestPosition {
  int column = 1;
  int row = 1;
};

// Writes a text that names keys at the window position: the text in white,
// the keys (marked with braces, which are not shown) in yellow. Returns the
// window position just after it.
inline RestPosition writeKeyText(TextWindow& window, int column, int row,
                                 std::string_view text) {
  window.setCursor(column, row);
  bool key = false;
  while (!text.empty()) {
    const std::size_t end = text.find(key ? '}' : '{');
    const std::string_view piece = text.substr(0, end);
    if (!piece.empty()) window.writeColoured(piece, key ? kYellow : kWhite);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
    key = !key;
  }
  return {window.cursorColumn(), window.cursorRow()};
}

// The length of such a text on the screen, without its braces.
inline std::size_t keyTextLength(std::string_view text) {
  std::size_t length = 0;
  for (char c : text)
    if (c != '{' && c != '}') ++length;
  return length;
}

// Writes the prompt and returns the position just after it, where the
// cursor rests.
inline RestPosition writePrompt(TextWindow& window, const Prompt& line) {
  return writeKeyText(window, line.column, kPromptRow, line.text);
}

inline std::string lineCharacters(int count) {
  return std::string(static_cast<std::size_t>(count > 0 ? count : 0), kLineCharacter);
}

// The screens treat capital letters like small ones.
inline int lowerCaseKey(int key) { return key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key; }

// The edit box of every screen: three rows over the bottom of the workspace
// (column 1, row height - 3), opening with the value's own text highlighted.
// The initial text is a copy because the editor empties the value before it
// looks at the initial text.
inline EditResult editInBox(TextWindow& workspace, std::string& value,
                            const std::string& label) {
  const std::string initial = value;
  return editBox(workspace, value, 1, workspace.height() - 3, label, initial);
}

}  // namespace corvane

#endif  // CORVANE_UI_EDITOR_DRAWING_H

// Small drawing steps that the three editing screens share: coloured text at a
// window position, clearing the rest of a row, rules of line characters, the
// prompt line and the places a click acts as a key.
#ifndef CORVANE_UI_EDITOR_DRAWING_H
#define CORVANE_UI_EDITOR_DRAWING_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/key_codes.h"
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
// window's colours; clicks there no longer mean anything. The saved cells
// are not refreshed here: the screens capture once at the end of each
// drawing step.
inline void clearRowFrom(TextWindow& window, int column, int row) {
  window.setCursor(column, row);
  window.console().clearLineEnd();
  window.clicks().forgetRow(row, column);
}

// Makes a click on what was written from (column, row) up to the window's
// cursor act as the key.
inline void clickableSince(TextWindow& window, int column, int row, int key) {
  const int length = (window.cursorRow() - row) * (window.width() + 1) +
                     (window.cursorColumn() - column);
  window.addClick(column, row, length, key);
}

// A long value on the screen is cut and ".." marks that it goes on; the
// value itself stays whole. This is the text's first `kept` characters and
// "..".
std::string withDots(std::string_view text, std::size_t kept);
// How many characters of a text of that length show in `room` cells: all
// when it fits, else all but the two cells that ".." takes at the end.
std::size_t keptBeforeDots(std::size_t length, std::size_t room);
// The text as it shows in `room` cells: whole when it fits, else cut so that
// ".." ends it (as much of ".." as fits in fewer than two cells).
std::string fitWithDots(std::string_view text, std::size_t room);

// A piece of a line: its text, its colour, the key a click on it acts as
// (0 for none) and its background (-1 for the window's).
struct LinePiece {
  std::string text;
  int colour;
  int key;
  int background = -1;
};

// Appends "[->]" as a prompt shows a key: the brackets white, its name
// yellow, and a click on any of them acts as the key.
void appendKeyPieces(std::vector<LinePiece>& pieces, std::string_view name, int key);

std::size_t piecesLength(const std::vector<LinePiece>& pieces);

// Writes the pieces centred on the row; pieces too long for it are cut as
// writePieces cuts them.
void writePiecesCentred(TextWindow& window, const std::vector<LinePiece>& pieces, int row);

// A source the project lists that the directory does not hold is shown
// white on red: that stands out from the screens' blue with 8 colours, 256
// and on the Windows console alike.
inline constexpr int kMissingForeground = kWhite;
inline constexpr int kMissingBackground = kRed;

// "3 sources of the project are not in this directory", with "is" for one.
std::string missingSourcesText(std::size_t count);

// Writes the pieces one after the other from the window's cursor, running
// on into the rows below as far as lastRow. Pieces that need more room than
// there is up to the end of that row are cut so that ".." ends it.
void writePieces(TextWindow& window, const std::vector<LinePiece>& pieces, int lastRow);

// The key that a click on a key named in a screen's prompt stands for; 0
// for "(selection)", which names no one key. A click on "[Esc]" is told
// apart from the Esc key (see kKeyEscClicked).
inline int promptKeyNamed(std::string_view name) {
  constexpr struct {
    std::string_view name;
    int key;
  } kNamedKeys[] = {{"Esc", kKeyEscClicked}, {"Enter", kKeyEnter},   {"<-", kKeyLeft},
                    {"->", kKeyRight},  {"PgUp", kKeyPageUp},   {"PgDn", kKeyPageDown}};
  for (const auto& named : kNamedKeys)
    if (named.name == name) return named.key;
  return 0;
}

// Every editing screen asks for its keys on row 20 of its workspace.
inline constexpr int kPromptRow = 20;
// The row just above the prompt: blank but for what a screen has to tell
// there (the main screen its missing sources, the sources screen its page).
inline constexpr int kNoticeRow = kPromptRow - 1;

// A screen's prompt: the column it starts in and its text, where braces
// (not shown) mark the keys it names: "Press {(selection)} or [{Enter}]... ".
// A click on "[Enter]" acts as Enter; "(selection)" names no one key.
struct Prompt {
  int column;
  std::string_view text;
};

// Where the cursor rests while a screen waits for a key: after its prompt.
struct RestPosition {
  int column = 1;
  int row = 1;
};

// Writes a line in white with the keys it names (in braces) in yellow, and
// returns the window position just after it. A click on a named key, with
// the brackets around it, acts as that key.
inline RestPosition writeKeyLine(TextWindow& window, int column, int row,
                                 std::string_view text) {
  window.setCursor(column, row);
  std::string_view rest = text;
  bool key = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find(key ? '}' : '{');
    const std::string_view piece = rest.substr(0, end);
    if (key) {
      const bool opened = piece.data() > text.data() + 1 && piece.data()[-2] == '[';
      const bool closed = end != std::string_view::npos && rest.substr(end + 1, 1) == "]";
      const int start = window.cursorColumn() - (opened ? 1 : 0);
      window.addClick(start, window.cursorRow(),
                      static_cast<int>(piece.size()) + (opened ? 1 : 0) + (closed ? 1 : 0),
                      promptKeyNamed(piece));
    }
    if (!piece.empty()) window.writeColoured(piece, key ? kYellow : kWhite);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
    key = !key;
  }
  return {window.cursorColumn(), window.cursorRow()};
}

// Writes the prompt on the prompt row (see writeKeyLine).
inline RestPosition writePrompt(TextWindow& window, const Prompt& line) {
  return writeKeyLine(window, line.column, kPromptRow, line.text);
}

inline std::string lineCharacters(int count) {
  return std::string(static_cast<std::size_t>(count > 0 ? count : 0), kLineCharacter);
}

// The edit box of every screen: three rows over the bottom of the workspace
// (column 1, row height - 3), opening with the value's own text highlighted.
// The initial text is a copy because the editor empties the value before it
// looks at the initial text.
inline EditResult editInBox(TextWindow& workspace, std::string& value,
                            const std::string& label) {
  const std::string initial = value;
  return editBox(workspace, value, 1, workspace.height() - 3, label, initial);
}

// After a screen has redrawn what a key changed: what it shows is kept as
// the window's own, and the cursor rests after the prompt again.
inline void backToRest(TextWindow& workspace, const RestPosition& rest) {
  workspace.capture();
  workspace.activate(false);
  workspace.setCursor(rest.column, rest.row);
}

// A text that a digit key of an editing screen edits in the edit box: the
// box's label and the text itself.
struct EditedText {
  const char* boxLabel;
  std::string* value;
};

// What every editing screen does for such a key: the text edited in the box,
// the box taken away, the screen's own redraw (told how the edit ended), and
// the cursor back at rest after the prompt.
inline void editAndRest(TextWindow& workspace, const EditedText& text, const RestPosition& rest,
                        const std::function<void(EditResult)>& redraw) {
  const EditResult result = editInBox(workspace, *text.value, text.boxLabel);
  workspace.activate(true);  // takes the edit box away
  redraw(result);
  backToRest(workspace, rest);
}

}  // namespace corvane

#endif  // CORVANE_UI_EDITOR_DRAWING_H

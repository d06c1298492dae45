#include "ui/line_editor.h"

#include <algorithm>
#include <vector>

#include "console/mouse_event.h"
#include "platform/file_system_text.h"
#include "text/text_utils.h"
#include "ui/read_key.h"

namespace corvane {

namespace {

constexpr int kEdgeMargin = 3;  // columns kept between the cursor and a field edge

int length(const std::string& text) { return static_cast<int>(text.size()); }

// One run of the line editor: the field's place, the text, the cursor index
// and the scroll offset. The text is edited character by character as the
// screen shows it, one cell each (a name in UTF-8 may take several bytes a
// character), while the value keeps its bytes.
class LineEditor {
 public:
  LineEditor(TextWindow& window, std::string& value)
      : window_(window),
        value_(value),
        column_(window.console().cursorColumn()),
        row_(window.console().cursorRow()),
        visible_(window.width() - column_ - 1) {}

  int run(const std::string& offered);
  // Whether the user typed or deleted anything; cursor moves are no edit.
  bool edited() const { return edited_; }

 private:
  // A key, or a click that puts the cursor before a character of the field
  // (clickedIndex, with key 0).
  struct Input {
    int key;
    int clickedIndex = -1;
  };

  // The next key or click in the field. A click outside the window (the
  // box the field is in) ends the edit as Enter does; other clicks in it,
  // and the other mouse events, do nothing.
  Input next();
  void setText(const std::string& text);
  // Where the character at that index starts in the value.
  std::size_t byteOffset(int index) const;
  void insert(char byte);
  void erase(int index);
  void redraw() { offset_ = drawField(state_, window_, cells_, column_, row_, index_, offset_); }
  // Starts the field afresh in white on black, wiped to the window's edge.
  void restartPlain() {
    window_.setCursor(column_, row_, kWhite, kBlack);
    window_.console().clearLineEnd();
    state_.lastSlice.clear();
  }
  // Takes the short cut of moving only the cursor when the whole text shows.
  void moveTo(int index);
  void handle(int key);
  void handle(const Input& input) {
    if (input.clickedIndex >= 0) {
      moveTo(input.clickedIndex);
    } else {
      handle(input.key);
    }
  }

  TextWindow& window_;
  std::string& value_;
  // The value's characters and the cells that show them, index for index.
  std::vector<DisplayCharacter> characters_;
  std::string cells_;
  FieldState state_;
  int column_;
  int row_;
  int visible_;
  int offset_ = 0;
  int index_ = 0;  // in characters
  bool edited_ = false;
};

void LineEditor::setText(const std::string& text) {
  value_ = text;
  characters_ = displayCharacters(value_);
  cells_.clear();
  for (const DisplayCharacter& character : characters_) cells_ += character.cell;
}

std::size_t LineEditor::byteOffset(int index) const {
  std::size_t offset = 0;
  for (int i = 0; i < index; ++i) offset += characters_[static_cast<std::size_t>(i)].length;
  return offset;
}

void LineEditor::insert(char byte) {
  edited_ = true;
  value_.insert(byteOffset(index_), 1, byte);
  characters_.insert(characters_.begin() + index_, DisplayCharacter{1, byte});
  cells_.insert(static_cast<std::size_t>(index_), 1, byte);
  ++index_;
}

void LineEditor::erase(int index) {
  edited_ = true;
  value_.erase(byteOffset(index), characters_[static_cast<std::size_t>(index)].length);
  characters_.erase(characters_.begin() + index);
  cells_.erase(static_cast<std::size_t>(index), 1);
}

int LineEditor::run(const std::string& offered) {
  // The screens offer the value's own text, so the offer is copied before the
  // value is cleared.
  const std::string initial = offered;
  const std::string onEntry = value_;
  setText(std::string());
  const bool highlighted = !initial.empty();
  if (highlighted) {
    setText(initial);
    state_.lastSlice.clear();
    window_.setCursor(0, 0, kWhite, kGreen);
    index_ = length(cells_);
    redraw();
  }

  Input input = next();
  if (input.key == kKeyEnter) {
    value_ = onEntry;
    return input.key;
  }
  if (input.key == kKeyEsc) return input.key;
  if (highlighted && (input.key == kKeyDelete || input.key == kKeyBackspace)) {
    // Deleting first throws the offered text away.
    restartPlain();
    setText(std::string());
    edited_ = true;
    offset_ = 0;
    index_ = 0;
    input = next();
  } else {
    // Any other first key (or a click in the field) accepts the offered
    // text and edits it.
    restartPlain();
    index_ = length(cells_);
    redraw();
  }

  while (input.key != kKeyEnter && input.key != kKeyEsc) {
    handle(input);
    input = next();
  }
  return input.key;
}

LineEditor::Input LineEditor::next() {
  for (;;) {
    const int key = readKeyOrMouse(window_.console(), PastedKeys::kTyped);
    if (!isMouseCode(key)) return Input{key};
    const MouseEvent event = mouseEventOf(key);
    if (event.action != MouseEvent::Action::kPress || event.button != MouseEvent::kLeft) continue;
    const int column = event.column - window_.left() + 1;
    const int row = event.row - window_.top() + 1;
    if (column < 1 || column > window_.width() + 1 || row < 1 || row > window_.height() + 1)
      return Input{kKeyEnter};
    // The field ends one column short of the window's right edge; a click
    // past the end of the text puts the cursor after it.
    if (row == row_ && column >= column_ && column <= window_.width())
      return Input{0, std::min(offset_ + column - column_, length(cells_))};
  }
}

void LineEditor::moveTo(int index) {
  index_ = index;
  if (offset_ == 0 && length(cells_) <= visible_) {
    window_.setCursor(column_ + index_, row_);
  } else {
    redraw();
  }
}

void LineEditor::handle(int key) {
  if (isPrintableAscii(key)) {
    insert(static_cast<char>(key));
    if (offset_ == 0 && index_ == length(cells_) && length(cells_) <= visible_) {
      // Typing at the end of a text that fits: only the new character is drawn.
      window_.setCursor(column_ + index_ - 1, row_);
      window_.write(std::string(1, static_cast<char>(key)));
      state_.lastSlice = cells_;
    } else {
      redraw();
    }
    return;
  }
  switch (key) {
    case kKeyBackspace:
      if (index_ > 0) {
        erase(index_ - 1);
        --index_;
        redraw();
      }
      break;
    case kKeyDelete:
      if (index_ < length(cells_)) {
        erase(index_);
        redraw();
      }
      break;
    case kKeyLeft:
      if (index_ > 0) moveTo(index_ - 1);
      break;
    case kKeyRight:
      if (index_ < length(cells_)) moveTo(index_ + 1);
      break;
    case kKeyHome:
      moveTo(0);
      break;
    case kKeyEnd:
      moveTo(length(cells_));
      break;
    default:
      break;  // other keys (non-ASCII characters among them) do not edit a line
  }
}

}  // namespace

int editLine(TextWindow& window, std::string& value, const std::string& initial) {
  LineEditor editor(window, value);
  return editor.run(initial);
}

int drawField(FieldState& state, TextWindow& window, const std::string& text, int column,
              int row, int cursor, int offset) {
  if (offset == -1) {
    state.lastSlice = text;
    return -1;
  }
  const int columns = window.width() - column + 1;
  window.setCursor(column, row);
  if (columns <= 0) return std::max(offset, 0);

  int first = std::max(offset, 0);
  int cursorColumn = cursor - first;
  if (first > 0 && cursorColumn < kEdgeMargin) {
    // Near the left edge with text hidden there: scroll back by a third of the
    // field. A narrow field still moves by at least one column, or the loop
    // would never end.
    const int step = std::max(columns / 3, 1);
    while (cursorColumn < kEdgeMargin && first > 0) {
      first = std::max(first - step, 0);
      cursorColumn = cursor - first;
    }
  } else if (length(text) > columns) {
    // Near the right edge with text beyond it: scroll on by a quarter plus one.
    while (columns - cursorColumn < kEdgeMargin && length(text) >= columns + first + 1) {
      first += columns / 4 + 1;
      cursorColumn = cursor - first;
    }
  }

  const std::string slice =
      first < length(text) ? text.substr(static_cast<std::size_t>(first),
                                         static_cast<std::size_t>(columns))
                           : std::string();
  if (slice != state.lastSlice) {
    window.setCursor(column, row);
    if (!state.lastSlice.empty()) window.console().clearLineEnd();
    window.write(slice);
    state.lastSlice = slice;
  }
  window.setCursor(column + cursorColumn, row);
  return first;
}

EditResult editBox(TextWindow& window, std::string& value, int column, int row,
                   const std::string& label, const std::string& initial) {
  const std::string before = value;
  TextWindow box(window.console(), window.left() + column, window.top() + row,
                 window.right() - 1, window.top() + row + 2, kWhite, kBlack);
  box.show();
  box.setCursor(2, 2);
  box.writeColoured(label, kLightGrey);
  LineEditor editor(box, value);
  const int key = editor.run(initial);
  window.activate(true);
  if (key == kKeyEsc) {
    value = before;
    return EditResult::kEscaped;
  }
  return editor.edited() ? EditResult::kAccepted : EditResult::kKept;
}

}  // namespace corvane

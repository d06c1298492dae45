#include "ui/text_window.h"

#include <algorithm>
#include <string>

namespace corvane {

namespace {

std::size_t cellCount(int left, int top, int right, int bottom) {
  if (right < left || bottom < top) return 0;
  return static_cast<std::size_t>((right - left + 1) * (bottom - top + 1));
}

}  // namespace

TextWindow::TextWindow(Console& console, int left, int top, int right, int bottom,
                       int foreground, int background)
    : savedCells_(cellCount(left, top, right, bottom)),
      foreground_(foreground),
      background_(background),
      left_(left),
      top_(top),
      right_(right),
      bottom_(bottom),
      console_(&console) {}

TextWindow::~TextWindow() = default;

void TextWindow::show() {
  if (!shown_) {
    activate(false);
    console_->clearRegion();
    capture();
    shown_ = true;
  } else {
    activate(true);
  }
}

void TextWindow::activate(bool restore) {
  console_->setRegion(left_, top_, right_, bottom_);
  console_->setBackground(background_);
  console_->setForeground(foreground_);
  if (shown_ && restore) console_->writeCells(left_, top_, right_, bottom_, savedCells_);
  console_->moveCursor(cursorColumn_, cursorRow_);
}

void TextWindow::capture() {
  console_->readCells(left_, top_, right_, bottom_, savedCells_);
  cursorColumn_ = console_->cursorColumn();
  cursorRow_ = console_->cursorRow();
}

void TextWindow::setCursor(int column, int row, int foreground, int background) {
  if (column != 0) cursorColumn_ = column;
  if (row != 0) cursorRow_ = row;
  if (foreground != -1) foreground_ = foreground;
  if (background != -1) background_ = background;
  console_->moveCursor(cursorColumn_, cursorRow_);
  console_->setForeground(foreground_);
  console_->setBackground(background_);
}

// Every text of every screen reaches the cells here, so this is where a text
// is kept to its place, whoever wrote it and wherever it came from (a name
// 3,000 characters long, a BEL in a project file). It stops at the window's
// right edge instead of running on over the rows below; on the last row it
// stops one cell short, since filling the last cell would scroll the window.
// The bytes the console acts on instead of showing (bell, backspace, line
// feed, carriage return) show as "?". Every other byte is a glyph.
void TextWindow::write(std::string_view text) {
  console_->moveCursor(cursorColumn_, cursorRow_);
  console_->setForeground(foreground_);
  console_->setBackground(background_);
  const bool lastRow = cursorRow_ >= height() + 1;
  const int room = width() + 2 - cursorColumn_ - (lastRow ? 1 : 0);
  std::string shown(text.substr(0, static_cast<std::size_t>(std::max(room, 0))));
  for (char& byte : shown)
    if (steersConsole(byte)) byte = '?';
  console_->writeText(shown);
  capture();
}

void TextWindow::writeColoured(std::string_view text, int foreground, int background) {
  const int ownForeground = foreground_;
  const int ownBackground = background_;
  setCursor(0, 0, foreground, background);
  write(text);
  setCursor(0, 0, ownForeground, ownBackground);
}

namespace {

// Puts the window's cursor at the start of the next row, scrolling the window
// when the cursor is already on its last row.
void advanceLine(TextWindow& window) {
  window.activate(false);
  if (window.cursorRow() == window.height() + 1) {
    window.scrollUp();
  } else {
    window.setCursor(1, window.cursorRow() + 1);
  }
}

}  // namespace

void TextWindow::writeLine(std::string_view text) {
  advanceLine(*this);
  write(text);
}

void TextWindow::writeLineColoured(std::string_view text, int foreground, int background) {
  advanceLine(*this);
  writeColoured(text, foreground, background);
}

void TextWindow::scrollUp() {
  if (bottom_ > top_) {
    std::vector<Cell> lower;
    console_->readCells(left_, top_ + 1, right_, bottom_, lower);
    console_->writeCells(left_, top_, right_, bottom_ - 1, lower);
  }
  console_->setForeground(foreground_);
  console_->setBackground(background_);
  console_->moveCursor(1, height() + 1);
  console_->clearLineEnd();
  capture();
}

void TextWindow::reshape(int left, int top, int right, int bottom) {
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  savedCells_.assign(cellCount(left, top, right, bottom), Cell{});
  clicks_.clear();
  capture();
  // The cells are the screen's, but a reshaped window starts writing at its
  // own top-left corner whatever region the console cursor belonged to.
  cursorColumn_ = 1;
  cursorRow_ = 1;
}

void TextWindow::clear() {
  activate(false);
  console_->clearRegion();
  clicks_.clear();
}

void TextWindow::addClick(int column, int row, int length, int key) {
  const int columns = width() + 1;
  if (column < 1 || column > columns) return;
  while (length > 0) {
    const int count = std::min(length, columns - column + 1);
    clicks_.add(column, row, column + count - 1, row, key);
    length -= count;
    column = 1;
    ++row;
  }
}

int TextWindow::keyForMouse(const MouseEvent& event) const {
  const bool inside = event.column >= left_ && event.column <= right_ && event.row >= top_ &&
                      event.row <= bottom_;
  if (!inside && event.action == MouseEvent::Action::kPress) return 0;
  return clicks_.keyFor(event, event.column - left_ + 1, event.row - top_ + 1);
}

}  // namespace corvane

#include "console/cell_console.h"

#include <algorithm>

namespace corvane {

namespace {

bool validRectangle(int left, int top, int right, int bottom) {
  return left >= 1 && top >= 1 && right <= kScreenColumns && bottom <= kScreenRows &&
         left <= right && top <= bottom;
}

}  // namespace

CellConsole::CellConsole() { cells_.fill(Cell{' ', makeAttribute(7, 0)}); }

Cell& CellConsole::cell(int column, int row) {
  return cells_[static_cast<std::size_t>((row - 1) * kScreenColumns + (column - 1))];
}

const Cell& CellConsole::cellAt(int column, int row) const {
  static const Cell kOutside{};
  if (column < 1 || column > kScreenColumns || row < 1 || row > kScreenRows) return kOutside;
  return cells_[static_cast<std::size_t>((row - 1) * kScreenColumns + (column - 1))];
}

void CellConsole::setRegion(int left, int top, int right, int bottom) {
  if (!validRectangle(left, top, right, bottom)) return;
  regionLeft_ = left;
  regionTop_ = top;
  regionRight_ = right;
  regionBottom_ = bottom;
  cursorColumn_ = 1;
  cursorRow_ = 1;
}

void CellConsole::clearRegion() {
  const Cell blank{' ', attribute()};
  for (int row = regionTop_; row <= regionBottom_; ++row)
    for (int column = regionLeft_; column <= regionRight_; ++column) cell(column, row) = blank;
  cursorColumn_ = 1;
  cursorRow_ = 1;
}

void CellConsole::clearLineEnd() {
  const Cell blank{' ', attribute()};
  const int row = screenCursorRow();
  for (int column = screenCursorColumn(); column <= regionRight_; ++column)
    cell(column, row) = blank;
}

void CellConsole::moveCursor(int column, int row) {
  if (column < 1 || row < 1 || column > regionRight_ - regionLeft_ + 1 ||
      row > regionBottom_ - regionTop_ + 1)
    return;
  cursorColumn_ = column;
  cursorRow_ = row;
}

void CellConsole::setForeground(int colour) { foreground_ = colour & 0x0F; }

void CellConsole::setBackground(int colour) { background_ = colour & 0x07; }

void CellConsole::scrollRegionUp() {
  for (int row = regionTop_; row < regionBottom_; ++row)
    for (int column = regionLeft_; column <= regionRight_; ++column)
      cell(column, row) = cell(column, row + 1);
  const Cell blank{' ', attribute()};
  for (int column = regionLeft_; column <= regionRight_; ++column)
    cell(column, regionBottom_) = blank;
}

void CellConsole::newLine() {
  if (cursorRow_ < regionBottom_ - regionTop_ + 1) {
    ++cursorRow_;
  } else {
    scrollRegionUp();
  }
}

void CellConsole::writeText(std::string_view text) {
  const int columns = regionRight_ - regionLeft_ + 1;
  for (char byte : text) {
    switch (byte) {
      case '\r':
        cursorColumn_ = 1;
        break;
      case '\n':
        newLine();
        break;
      case '\b':
        if (cursorColumn_ > 1) --cursorColumn_;
        break;
      case '\a':
        ++bellCount_;
        bell();
        break;
      default:
        cell(screenCursorColumn(), screenCursorRow()) =
            Cell{static_cast<std::uint8_t>(byte), attribute()};
        if (++cursorColumn_ > columns) {
          cursorColumn_ = 1;
          newLine();
        }
        break;
    }
  }
}

void CellConsole::readCells(int left, int top, int right, int bottom,
                            std::vector<Cell>& buffer) const {
  if (!validRectangle(left, top, right, bottom)) return;
  buffer.resize(static_cast<std::size_t>((right - left + 1) * (bottom - top + 1)));
  std::size_t index = 0;
  for (int row = top; row <= bottom; ++row)
    for (int column = left; column <= right; ++column) buffer[index++] = cellAt(column, row);
}

void CellConsole::writeCells(int left, int top, int right, int bottom,
                             const std::vector<Cell>& buffer) {
  if (!validRectangle(left, top, right, bottom)) return;
  const auto needed = static_cast<std::size_t>((right - left + 1) * (bottom - top + 1));
  if (buffer.size() < needed) return;
  std::size_t index = 0;
  for (int row = top; row <= bottom; ++row)
    for (int column = left; column <= right; ++column) cell(column, row) = buffer[index++];
}

}  // namespace corvane

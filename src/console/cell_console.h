// An 80 x 25 buffer of cells that implements every drawing operation of the
// Console. It is the truth for what the screen shows; the backends only add
// key input and, for real terminals, put the cells on the display.
#ifndef CORVANE_CONSOLE_CELL_CONSOLE_H
#define CORVANE_CONSOLE_CELL_CONSOLE_H

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"

namespace corvane {

class CellConsole : public Console {
 public:
  CellConsole();

  void setRegion(int left, int top, int right, int bottom) override;
  void clearRegion() override;
  void clearLineEnd() override;
  void moveCursor(int column, int row) override;
  int cursorColumn() const override { return cursorColumn_; }
  int cursorRow() const override { return cursorRow_; }
  void setForeground(int colour) override;
  void setBackground(int colour) override;
  void writeText(std::string_view text) override;
  void readCells(int left, int top, int right, int bottom,
                 std::vector<Cell>& buffer) const override;
  void writeCells(int left, int top, int right, int bottom,
                  const std::vector<Cell>& buffer) override;

  // Screen coordinates, 1-based.
  const Cell& cellAt(int column, int row) const;
  // The cursor in screen coordinates.
  int screenCursorColumn() const { return regionLeft_ + cursorColumn_ - 1; }
  int screenCursorRow() const { return regionTop_ + cursorRow_ - 1; }
  int foreground() const { return foreground_; }
  int background() const { return background_; }
  int regionLeft() const { return regionLeft_; }
  int regionTop() const { return regionTop_; }
  int regionRight() const { return regionRight_; }
  int regionBottom() const { return regionBottom_; }
  int bellCount() const { return bellCount_; }

 protected:
  // Called for byte 7; the default only counts.
  virtual void bell() {}

 private:
  Cell& cell(int column, int row);
  std::uint8_t attribute() const { return makeAttribute(foreground_, background_); }
  void scrollRegionUp();
  void newLine();

  std::array<Cell, kScreenColumns * kScreenRows> cells_;
  int regionLeft_ = 1;
  int regionTop_ = 1;
  int regionRight_ = kScreenColumns;
  int regionBottom_ = kScreenRows;
  int cursorColumn_ = 1;
  int cursorRow_ = 1;
  int foreground_ = 7;
  int background_ = 0;
  int bellCount_ = 0;
};

}  // namespace corvane

#endif  // CORVANE_CONSOLE_CELL_CONSOLE_H

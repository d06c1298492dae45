// A rectangle of the console with its own colours, cursor and saved copy of
// its cells, so that overlapping windows can be drawn, covered and brought
// back. It also keeps what clicks on it mean (its ClickMap), so that they
// are covered and brought back with it.
#ifndef CORVANE_UI_TEXT_WINDOW_H
#define CORVANE_UI_TEXT_WINDOW_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/mouse_event.h"
#include "ui/click_map.h"

namespace corvane {

class TextWindow {
 public:
  TextWindow(Console& console, int left, int top, int right, int bottom, int foreground,
             int background);
  virtual ~TextWindow();
  TextWindow(const TextWindow&) = default;
  TextWindow& operator=(const TextWindow&) = default;

  virtual void show();

  void activate(bool restore);
  void capture();
  // A column or row of 0 and a colour of -1 leave that field as it is.
  void setCursor(int column, int row, int foreground = -1, int background = -1);
  // Writes at the window's cursor in its colours, no further than its right
  // edge (one cell short of it on the last row, which would scroll), with
  // BEL, BS, LF and CR shown as "?"; the cursor ends after the text.
  void write(std::string_view text);
  void writeColoured(std::string_view text, int foreground, int background = -1);
  void writeLine(std::string_view text);
  void writeLineColoured(std::string_view text, int foreground, int background = -1);
  void scrollUp();
  void reshape(int left, int top, int right, int bottom);
  // Makes the window active and blank in its colours, with nothing to click.
  void clear();

  // A click on the length cells from (column, row), running on into the
  // rows below as written text does, acts as the key.
  void addClick(int column, int row, int length, int key);
  ClickMap& clicks() { return clicks_; }
  // The key that a mouse event (in screen positions) stands for on this
  // window; 0 for none, and for every click outside it.
  int keyForMouse(const MouseEvent& event) const;

  // One less than the number of columns and rows.
  int width() const { return right_ - left_; }
  int height() const { return bottom_ - top_; }

  int left() const { return left_; }
  int top() const { return top_; }
  int right() const { return right_; }
  int bottom() const { return bottom_; }
  int foreground() const { return foreground_; }
  int background() const { return background_; }
  int cursorColumn() const { return cursorColumn_; }
  int cursorRow() const { return cursorRow_; }
  bool shown() const { return shown_; }
  const std::vector<Cell>& savedCells() const { return savedCells_; }
  Console& console() const { return *console_; }

 private:
  std::vector<Cell> savedCells_;
  bool shown_ = false;
  std::int32_t cursorColumn_ = 1;
  std::int32_t cursorRow_ = 1;
  std::int32_t foreground_;
  std::int32_t background_;
  std::int32_t left_;
  std::int32_t top_;
  std::int32_t right_;
  std::int32_t bottom_;
  Console* console_;
  ClickMap clicks_;
};

}  // namespace corvane

#endif  // CORVANE_UI_TEXT_WINDOW_H

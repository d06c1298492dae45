// What the screen showed each time a key was asked for: the recorder sits
// on the memory console's key observer and keeps every cell and the cursor.
#ifndef CORVANE_TESTS_SUPPORT_SCREEN_RECORDER_H
#define CORVANE_TESTS_SUPPORT_SCREEN_RECORDER_H

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "support/memory_console.h"

namespace corvane {

struct ScreenShot {
  std::vector<Cell> cells;  // row by row, 80 x 25
  int cursorColumn = 0;     // screen coordinates
  int cursorRow = 0;

  const Cell& cellAt(int column, int row) const;
  std::string rowText(int row) const { return rowText(row, 1, kScreenColumns); }
  std::string rowText(int row, int first, int last) const;
  int foregroundAt(int column, int row) const { return cellAt(column, row).attribute & 0x0F; }
  int backgroundAt(int column, int row) const {
    return (cellAt(column, row).attribute >> 4) & 0x07;
  }
  // The 25 rows of text; rows()[0] is screen row 1.
  std::vector<std::string> rows() const;
  bool shows(std::string_view text) const;
};

class ScreenRecorder {
 public:
  // `alsoAtEveryKey` runs after each picture is taken, for tests that
  // change the world between two key presses.
  explicit ScreenRecorder(MemoryConsole& console,
                          std::function<void(const MemoryConsole&)> alsoAtEveryKey = {});
  ScreenRecorder(const ScreenRecorder&) = delete;
  ScreenRecorder& operator=(const ScreenRecorder&) = delete;

  const std::vector<ScreenShot>& shots() const { return shots_; }
  // The screen when the first key was read; blank (no cells set, no
  // cursor) when no key has been read, so that the test's checks fail.
  const ScreenShot& first() const { return shots_.empty() ? none_ : shots_.front(); }
  // How many of the pictures show the text on some row.
  int timesShown(std::string_view text) const;

 private:
  std::vector<ScreenShot> shots_;
  ScreenShot none_{std::vector<Cell>(kScreenColumns * kScreenRows, Cell{0, 0})};
};

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_SCREEN_RECORDER_H

#include "support/screen_recorder.h"

#include <utility>

namespace corvane {

const Cell& ScreenShot::cellAt(int column, int row) const {
  return cells[static_cast<std::size_t>((row - 1) * kScreenColumns + column - 1)];
}

std::string ScreenShot::rowText(int row, int first, int last) const {
  std::string text;
  for (int column = first; column <= last; ++column)
    text += static_cast<char>(cellAt(column, row).character);
  return text;
}

std::vector<std::string> ScreenShot::rows() const {
  std::vector<std::string> texts;
  for (int row = 1; row <= kScreenRows; ++row) texts.push_back(rowText(row));
  return texts;
}

bool ScreenShot::shows(std::string_view text) const {
  for (const std::string& row : rows())
    if (row.find(text) != std::string::npos) return true;
  return false;
}

ScreenRecorder::ScreenRecorder(MemoryConsole& console,
                               std::function<void(const MemoryConsole&)> alsoAtEveryKey) {
  console.setKeyObserver([this, also = std::move(alsoAtEveryKey)](const MemoryConsole& seen) {
    ScreenShot shot;
    seen.readCells(1, 1, kScreenColumns, kScreenRows, shot.cells);
    shot.cursorColumn = seen.screenCursorColumn();
    shot.cursorRow = seen.screenCursorRow();
    shots_.push_back(std::move(shot));
    if (also) also(seen);
  });
}

int ScreenRecorder::timesShown(std::string_view text) const {
  int count = 0;
  for (const ScreenShot& shot : shots_)
    if (shot.shows(text)) ++count;
  return count;
}

}  // namespace corvane

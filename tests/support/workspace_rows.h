// Reading the editing screens back from the memory console as rows of text
// that a test can spell out: the workspace's 21 rows of 78 columns, with the
// horizontal line byte shown as '-' and trailing blanks dropped.
#ifndef CORVANE_TESTS_SUPPORT_WORKSPACE_ROWS_H
#define CORVANE_TESTS_SUPPORT_WORKSPACE_ROWS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_console.h"
#include "ui/corvane_screen.h"

namespace corvane {

// The workspaces cover screen columns 2 to 79 and rows 5 to 25.
inline constexpr int kWorkspaceLeft = 2;
inline constexpr int kWorkspaceTop = 5;
inline constexpr int kWorkspaceRows = 21;

inline std::string readable(std::string text) {
  for (char& byte : text)
    if (byte == kLineCharacter) byte = '-';
  const auto end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// One workspace row (1-based), readable.
inline std::string workspaceRow(const MemoryConsole& console, int row) {
  return readable(console.rowText(kWorkspaceTop + row - 1, kWorkspaceLeft, kWorkspaceLeft + 77));
}

inline std::vector<std::string> workspaceRows(const MemoryConsole& console) {
  std::vector<std::string> rows;
  for (int row = 1; row <= kWorkspaceRows; ++row) rows.push_back(workspaceRow(console, row));
  return rows;
}

// Compares every row of the workspace with the expected text; rows missing
// at the end of the expectation must be blank.
inline void expectWorkspace(const MemoryConsole& console, const std::vector<std::string>& rows) {
  for (int row = 1; row <= kWorkspaceRows; ++row) {
    const std::size_t index = static_cast<std::size_t>(row - 1);
    const std::string expected = index < rows.size() ? rows[index] : std::string();
    EXPECT_EQ(workspaceRow(console, row), expected) << "workspace row " << row;
  }
}

// Colours at a workspace-relative position.
inline int foregroundIn(const MemoryConsole& console, int column, int row) {
  return console.foregroundAt(kWorkspaceLeft + column - 1, kWorkspaceTop + row - 1);
}
inline int backgroundIn(const MemoryConsole& console, int column, int row) {
  return console.backgroundAt(kWorkspaceLeft + column - 1, kWorkspaceTop + row - 1);
}

// Queues a press of the mouse button at a workspace-relative position.
inline void clickWorkspace(MemoryConsole& console, int column, int row,
                           int button = MouseEvent::kLeft) {
  console.pushClick(kWorkspaceLeft + column - 1, kWorkspaceTop + row - 1, button);
}

// The workspace column where the text starts on a row drawn from a column.
inline int columnOf(const std::string& drawn, int drawnFrom, const std::string& text) {
  return drawnFrom + static_cast<int>(drawn.find(text));
}

// A rule of line characters as the readable rows show it.
inline std::string dashes(int count) { return std::string(static_cast<std::size_t>(count), '-'); }
inline std::string blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_WORKSPACE_ROWS_H

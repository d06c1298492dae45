#include "ui/flags_box.h"

#include <string>
#include <string_view>
#include <vector>

#include "makefile/makefile.h"
#include "platform/file_system_text.h"
#include "ui/editor_drawing.h"
#include "ui/help_box.h"

namespace corvane {

namespace {

constexpr std::string_view kTitle = "What the makefile hands the compiler and the linker";
constexpr int kValueColumn = kBoxKeyColumn + 11;  // after "Libraries" and a gap
constexpr std::size_t kValueWidth = 49;           // to two columns short of the edge

// The rows a value takes: broken at its blanks into rows of the value's
// width (a word longer than a row is broken inside), at most maxRows of
// them; when more remains, the last row ends in "..".
std::vector<std::string> wrapped(const std::string& value, std::size_t maxRows) {
  const std::string text = displayText(value);
  std::vector<std::string> rows;
  std::size_t start = text.find_first_not_of(' ');
  while (start != std::string::npos && rows.size() < maxRows) {
    std::size_t end = std::min(start + kValueWidth, text.size());
    if (end < text.size() && text[end] != ' ') {
      const std::size_t blank = text.rfind(' ', end);
      if (blank != std::string::npos && blank > start) end = blank;
    }
    rows.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(' ', end);
  }
  if (start != std::string::npos) {
    std::string& last = rows.back();
    last = withDots(last, kValueWidth - 2);
  }
  if (rows.empty()) rows.emplace_back();
  return rows;
}

std::string joined(const List& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

struct Entry {
  const char* label;
  std::vector<std::string> rows;
};

}  // namespace

void showToolSettings(CorvaneScreen& screen, const ProjectSettings& settings) {
  const ToolSettings tools = spelledOut(toolSettings(settings));
  // The extra flags can be long: the compiler's may take four rows, the
  // linker's three, and the box still fits the screen.
  const Entry entries[] = {
      {"Compiler", wrapped(tools.compilerFlags, 4)},
      {"Linker", wrapped(tools.linkerFlags, 3)},
      {"Startup", wrapped(tools.startupObject, 1)},
      {"Libraries", wrapped(joined(tools.libraries), 2)},
  };
  int rows = 0;
  for (const Entry& entry : entries) rows += static_cast<int>(entry.rows.size());

  showBox(screen, kTitle, rows, [&entries](TextWindow& box) {
    int row = kBoxFirstRow;
    for (const Entry& entry : entries) {
      writeAt(box, kBoxKeyColumn, row, entry.label, kYellow);
      for (const std::string& text : entry.rows) writeAt(box, kValueColumn, row++, text, kWhite);
    }
  });
}

}  // namespace corvane

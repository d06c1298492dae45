#include "ui/help_box.h"

#include <string>

#include "console/console.h"
#include "ui/editor_drawing.h"
#include "ui/read_key.h"
#include "ui/text_window.h"

namespace corvane {

namespace {

// The box lies over the middle of the workspace, as the questions do, and
// is as high as its lines need.
constexpr int kLeft = 9;
constexpr int kRight = kScreenColumns + 1 - kLeft;
constexpr int kTop = 7;
// Each help line's keys in a column wide enough for "Enter Space" and a gap.
constexpr int kDescriptionColumn = kBoxKeyColumn + 16;
constexpr std::string_view kClosePrompt = "Press any key to go back.. ";

const std::vector<HelpLine> kMainLines = {
    {"{1} {2} {3}", "edit the project, target or makefile name"},
    {"{4} {5}", "edit the extra compile or link flags"},
    {"{a} to {l}", "switch a build option ON or OFF"},
    {"{->}", "the sources screen"},
    {"{Enter} {Space}", "save the project and write the makefile"},
    {"{Esc}", "end Corvane without saving anything"},
    {"{F1} {?}", "this help"},
    {"{F2}", "the flags the makefile will use"},
    {"In an edit box {Enter} keeps the new text, {Esc} the old one.", ""},
};

// As many lines as the box has room for over the screen: the page keys
// share one.
const std::vector<HelpLine> kSourcesLines = {
    {"{a} {b} {c} ...", "move that file into or out of the project"},
    {"{/}", "show only names holding a text, or like a*.c"},
    {"{+} {-}", "move all names shown into, out of the project"},
    {"{!}", "show only the missing names; again: all names"},
    {"{1}", "take every source of the directory"},
    {"{PgDn} {PgUp}", "next, previous page (also Down, Up)"},
    {"{Home} {End}", "first page, last page"},
    {"{<-} {->}", "the main screen, the advanced screen"},
    {"{Enter} {Space}", "save the project and write the makefile"},
    {"{Esc}", "end Corvane without saving anything"},
    {"{F1} {?}", "this help"},
    {"{F2}", "the flags the makefile will use"},
    {"A name on red (or marked !) is not in this directory.", ""},
};

const std::vector<HelpLine> kAdvancedLines = {
    {"{1} to {5}", "edit the header and library directories,"},
    {"", "the libraries, object files or resources"},
    {"{<-}", "back to the sources screen"},
    {"{Enter} {Space}", "save the project and write the makefile"},
    {"{Esc}", "end Corvane without saving anything"},
    {"{F1} {?}", "this help"},
    {"{F2}", "the flags the makefile will use"},
    {"In an edit box {Enter} keeps the new text, {Esc} the old one.", ""},
};

}  // namespace

std::string_view helpTitle(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::kMainScreen:
      return "Keys of the main screen";
    case HelpTopic::kSourcesScreen:
      return "Keys of the sources screen";
    case HelpTopic::kAdvancedScreen:
      return "Keys of the advanced screen";
  }
  return "";
}

const std::vector<HelpLine>& helpLines(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::kMainScreen:
      return kMainLines;
    case HelpTopic::kSourcesScreen:
      return kSourcesLines;
    case HelpTopic::kAdvancedScreen:
      return kAdvancedLines;
  }
  return kMainLines;
}

void showBox(CorvaneScreen& screen, std::string_view title, int rows,
             const std::function<void(TextWindow& box)>& drawRows) {
  // Title, a blank row, the rows, a blank row, the prompt and a margin.
  const int promptRow = kBoxFirstRow + rows + 1;
  TextWindow box(screen.console(), kLeft, kTop, kRight, kTop + promptRow, kWhite, kGreen);
  const auto centred = [&box](std::size_t length) {
    return static_cast<int>((static_cast<std::size_t>(box.width()) + 1 - length) / 2) + 1;
  };

  screen.push(box);
  box.show();
  writeAt(box, centred(title.size()), kBoxTitleRow, title, kYellow);
  drawRows(box);
  writeAt(box, centred(kClosePrompt.size()), promptRow, kClosePrompt, kYellow);

  // Any key closes the box and is used up; so does a click anywhere.
  readKeyOrMouse(screen.console());
  screen.pop();
  screen.repaint();
}

void showHelp(CorvaneScreen& screen, HelpTopic topic) {
  const std::vector<HelpLine>& lines = helpLines(topic);
  showBox(screen, helpTitle(topic), static_cast<int>(lines.size()), [&lines](TextWindow& box) {
    int row = kBoxFirstRow;
    for (const HelpLine& line : lines) {
      writeKeyLine(box, kBoxKeyColumn, row, line.keys);
      if (!line.description.empty())
        writeAt(box, kDescriptionColumn, row, line.description, kWhite);
      ++row;
    }
  });
}

}  // namespace corvane

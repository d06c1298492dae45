#include "ui/corvane_screen.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/file_system_text.h"
#include "ui/read_key.h"

namespace corvane {

namespace {

// The three lines of the banner; the tabs show as single glyph cells.
const char* const kBannerLines[] = {
    "_____________________",
    "\t-  C O R V A N E  -\t",
    "~~~~~~~~~~~~~~~~~~~~~",
};

// The usage screen: its first and last lines are yellow, the last asks for
// a key on row 20 on every system. On POSIX systems the program is called as
// "corvane", and the options people type to any program there are listed;
// Windows keeps the text its users have always had.
enum class ShownOn { kBoth, kWindows, kPosix };

struct UsageLine {
  ShownOn system;
  const char* text;
};

const UsageLine kUsageLines[] = {
    {ShownOn::kBoth, "   USAGE:"},
    {ShownOn::kBoth, ""},
    {ShownOn::kWindows, "   C:\\Borland\\Bcc55\\Bin\\Corvane [project_filename] [/?]"},
    {ShownOn::kWindows,
     "   Corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]"},
    {ShownOn::kPosix, "   corvane [project_filename] [/?]"},
    {ShownOn::kPosix,
     "   corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]"},
    {ShownOn::kPosix, "   corvane --help | -h | --version"},
    {ShownOn::kBoth, "   -------------------------------------------------------------"},
    {ShownOn::kBoth, "   Corvane generates a plain text project file and a basic Borland C/C++ "},
    {ShownOn::kBoth, "   makefile based on the project file."},
    {ShownOn::kBoth, "   The project automatically uses source files in the current directory."},
    {ShownOn::kBoth, ""},
    {ShownOn::kBoth, "   -When a project filename is not given, Corvane will use \"Project.gen\"."},
    {ShownOn::kWindows, "   /? option prints this screen."},
    {ShownOn::kPosix, "   /?, --help and -h print this screen; --version prints the version."},
    {ShownOn::kBoth, "   --batch: no screen, no question. --compiler=DIR: the Borland directory;"},
    {ShownOn::kBoth,
     "   --add-sources: add new sources; --force: replace a makefile not Corvane's."},
    // The POSIX screen has one synopsis line more, so one blank line less.
    {ShownOn::kWindows, ""},
    {ShownOn::kBoth, "   Corvane should preferably be located in the compiler \"bin\" directory."},
    {ShownOn::kBoth, "                             Press any key to exit.. "},
};

// The usage screen's lines on this system.
std::vector<const char*> usageScreen() {
  const ShownOn here = kPosixOptions ? ShownOn::kPosix : ShownOn::kWindows;
  std::vector<const char*> lines;
  for (const UsageLine& line : kUsageLines)
    if (line.system == ShownOn::kBoth || line.system == here) lines.push_back(line.text);
  return lines;
}

const char kFatalPrompt[] = "                  Press any key.. ";

// How long showUsage sleeps between looks at the keyboard.
constexpr std::chrono::milliseconds kKeyPollInterval{20};

int textLength(const std::string& text) { return static_cast<int>(text.size()); }

int longest(const List& lines, std::size_t count) {
  int result = 0;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i)
    result = std::max(result, textLength(lines[i]));
  return result;
}

std::size_t leadingLineFeeds(const std::string& line) {
  return std::min(line.find_first_not_of('\n'), line.size());
}

// The message lines of the boxes name files and directories: they show one
// cell a character, control characters as "?". A line may start with line
// feeds, which put it that many rows lower (the overwrite question's first
// line has one); they stay for drawBox, and count in the line's length.
List boxLines(const List& message) {
  List lines;
  lines.reserve(message.size());
  for (const std::string& line : message) {
    const std::size_t feeds = leadingLineFeeds(line);
    lines.push_back(line.substr(0, feeds) + displayText(std::string_view(line).substr(feeds)));
  }
  return lines;
}

// A box's header: the title between two rules, on its first three rows
// from column 25. The message lines and one step more (where a prompt goes)
// share the rows below it in equal steps, short of the box's last two rows.
constexpr int kBoxHeaderColumn = 25;
constexpr int kBoxHeaderRows = 3;
constexpr int kBoxRowsLeftFree = 2;

// After a question's last line: a gap, the question mark, a gap and the
// default answer in brackets.
constexpr std::string_view kYesNoMark = "Y/N?..";
constexpr std::string_view kDefaultBrackets = "( )";
constexpr int kAnswerGap = 2;
constexpr int kAnswerWidth =
    static_cast<int>(kAnswerGap + kYesNoMark.size() + kAnswerGap + kDefaultBrackets.size());

// Where the lines of a box go: all start in one column, one row step apart.
struct BoxLayout {
  int column;
  int rowStep;
  int rowOf(int line) const { return kBoxHeaderRows + line * rowStep; }  // line is 1-based
};

struct BoxStyle {
  const char* title;
  int headerColour;
  int textColour;
};

const BoxStyle kErrorStyle{"-  E R R O R  ", kYellow, kWhite};
const BoxStyle kQueryStyle{"-  Q U E R Y  -", kWhite, kLightCyan};

// Clears the box, draws its header and the message lines centred on the
// widest text the box will show.
BoxLayout drawBox(TextWindow& box, const BoxStyle& style, const List& lines, int textWidth) {
  box.clear();
  const std::string header[kBoxHeaderRows] = {"_________________",
                                              std::string("\t") + style.title + "\t",
                                              "~~~~~~~~~~~~~~~~~"};
  for (int row = 1; row <= kBoxHeaderRows; ++row) {
    box.setCursor(kBoxHeaderColumn, row);
    box.writeColoured(header[row - 1], style.headerColour);
  }

  const int count = static_cast<int>(lines.size());
  BoxLayout layout{textWidth < box.width() ? (box.width() - textWidth + 1) / 2 + 1 : 2,
                   (box.height() + 1 - kBoxHeaderRows - kBoxRowsLeftFree) / (count + 1)};
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(i - 1)];
    const std::size_t feeds = leadingLineFeeds(line);
    box.setCursor(layout.column, layout.rowOf(i) + static_cast<int>(feeds));
    box.writeColoured(std::string_view(line).substr(feeds), style.textColour);
  }
  return layout;
}

}  // namespace

List usageLines() {
  constexpr std::size_t kIndent = 3;
  List lines;
  // The last line asks for a key; the blank ones before it only place it.
  const std::vector<const char*> screen = usageScreen();
  for (std::size_t i = 0; i + 1 < screen.size(); ++i) {
    std::string line = screen[i];
    line.erase(0, std::min(kIndent, line.find_first_not_of(' ')));
    line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(line);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

CorvaneScreen::CorvaneScreen(Console& console)
    : console_(&console),
      background_(console, 1, 1, 80, 25, kWhite, kBlue),
      title_(console, 15, 1, 66, 7, kYellow, kGreen),
      banner_(console, 23, 1, 59, 3, kYellow, kGreen),
      mainWorkspace_(console, 2, 5, 79, 25, kWhite, kBlue),
      advancedWorkspace_(console, 2, 5, 79, 25, kWhite, kBlue),
      errorBox_(console, 9, 10, 73, 23, kWhite, kRed),
      queryBox_(console, 9, 9, 72, 22, kLightCyan, kBrown) {
  push(background_);
  push(title_);
}

CorvaneScreen::~CorvaneScreen() { destroy(); }

void CorvaneScreen::push(TextWindow& window) { stack_.push_back(&window); }

void CorvaneScreen::pop() {
  if (!stack_.empty()) stack_.pop_back();
}

void CorvaneScreen::repaint() {
  for (TextWindow* window : stack_) window->show();
}

void CorvaneScreen::showTitle() {
  title_.show();
  for (int line = 0; line < 3; ++line) {
    title_.setCursor(17, line + 1);
    title_.write(kBannerLines[line]);
  }
  title_.setCursor(13, 4);
  title_.writeColoured("Simple Makefile Generator (v. " CORVANE_VERSION ")", kWhite, kGreen);
  title_.setCursor(3, 6);
  title_.writeColoured("Writes a makefile from a plain-text project file", kWhite, kGreen);
  title_.activate(false);
  repaint();
}

void CorvaneScreen::openWorkspace() {
  pop();
  repaint();

  push(banner_);
  banner_.activate(false);
  console_->clearRegion();
  banner_.show();
  for (int line = 0; line < 3; ++line) {
    banner_.setCursor(9, line + 1);
    banner_.writeColoured(kBannerLines[line], kYellow, kGreen);
  }
  banner_.activate(false);

  push(mainWorkspace_);
  // Shown (not only cleared) so that a later repaint brings back what the
  // editing screens draw instead of clearing it as a first show would.
  if (mainWorkspace_.shown()) {
    mainWorkspace_.clear();
    mainWorkspace_.capture();
  } else {
    mainWorkspace_.show();
  }
}

void CorvaneScreen::showUsage() {
  mainWorkspace_.activate(false);
  mainWorkspace_.setCursor(1, 4);
  const std::vector<const char*> lines = usageScreen();
  const std::size_t count = lines.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i == 0 || i + 1 == count) {
      mainWorkspace_.writeLineColoured(lines[i], kYellow);
    } else {
      mainWorkspace_.writeLine(lines[i]);
    }
  }
  // The key is left for the caller (or the shell) to read.
  while (!console_->keyPending()) std::this_thread::sleep_for(kKeyPollInterval);
}

Answer CorvaneScreen::askYesNo(const List& message, bool defaultYes) {
  const List lines = boxLines(message);
  push(queryBox_);
  const std::size_t count = lines.size();
  const int lastLength = count > 0 ? textLength(lines.back()) : 0;
  const int textWidth =
      std::max(longest(lines, count > 0 ? count - 1 : 0), lastLength + kAnswerWidth);
  drawBox(queryBox_, kQueryStyle, lines, textWidth);

  const int row = queryBox_.cursorRow();
  const int markColumn = queryBox_.cursorColumn() + kAnswerGap;
  queryBox_.setCursor(markColumn, row);
  queryBox_.writeColoured(kYesNoMark, kLightCyan);
  const int bracketColumn = markColumn + static_cast<int>(kYesNoMark.size()) + kAnswerGap;
  queryBox_.setCursor(bracketColumn, row);
  queryBox_.writeColoured(kDefaultBrackets, kWhite);
  queryBox_.setCursor(bracketColumn + 1, row);
  queryBox_.writeColoured(defaultYes ? "Y" : "N", kWhite);
  queryBox_.setCursor(bracketColumn - 1, row);

  // A click anywhere in the box answers as Enter does: with the default.
  queryBox_.clicks().add(1, 1, queryBox_.width() + 1, queryBox_.height() + 1, kKeyEnter);
  const int key = readKey(queryBox_);
  Answer answer = Answer::kEsc;
  if (key != kKeyEsc) {
    const int upper = upperCaseAscii(key);
    const bool yes = defaultYes ? upper != 'N' : upper == 'Y';
    answer = yes ? Answer::kYes : Answer::kNo;
  }
  pop();
  repaint();
  return answer;
}

EditResult CorvaneScreen::askText(std::string& value, const List& message,
                                  const std::string& label, const std::string& initial) {
  const List lines = boxLines(message);
  push(queryBox_);
  drawBox(queryBox_, kQueryStyle, lines, longest(lines, lines.size()));
  const EditResult result =
      editBox(queryBox_, value, 1, queryBox_.height() - 3, label, initial);
  pop();
  repaint();
  return result;
}

namespace {

// The error box with its prompt line under the message; returns the key.
int errorKey(TextWindow& box, Console& console, const List& message, const std::string& prompt) {
  const List lines = boxLines(message);
  const int textWidth = std::max(longest(lines, lines.size()), textLength(prompt) + 2);
  const BoxLayout layout = drawBox(box, kErrorStyle, lines, textWidth);
  box.setCursor(layout.column, layout.rowOf(static_cast<int>(lines.size()) + 1));
  box.writeColoured(prompt, kYellow);
  return readKey(console);
}

}  // namespace

int CorvaneScreen::showError(const List& lines, const std::string& prompt) {
  push(errorBox_);
  const int key = errorKey(errorBox_, *console_, lines, prompt);
  pop();
  repaint();
  return key;
}

void CorvaneScreen::fatalError(const List& lines) {
  push(errorBox_);
  errorKey(errorBox_, *console_, lines, kFatalPrompt);
}

void CorvaneScreen::destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  background_.reshape(1, 1, kScreenColumns, kScreenRows);
  background_.setCursor(1, 1, kWhite, kBlack);
  background_.activate(false);
  console_->clearRegion();
  stack_.clear();
}

}  // namespace corvane

// The real corvane on a pseudo-terminal, seen through a terminal emulator:
// what a user sees, the keys a user presses, and the terminal given back.
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/pty_terminal.h"
#include "support/scratch_directory.h"
#include "support/source_entries.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::PtyTerminal;

constexpr int kWait = 5000;
const std::string kLine = "\u2500";  // byte 196 as a UTF-8 terminal shows it

std::string line(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += kLine;
  return text;
}

// A rule of the sources screen: its text between two runs of line characters.
std::string rule(int count, const std::string& text) {
  return std::string(11, ' ') + line(count) + text + line(count);
}

// The last row of the main screen: it is ready for keys.
const std::string kMainPrompt =
    std::string(32, ' ') + "Press (selection), [Esc], [->] or [Enter]...";

class TerminalRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile("hello.cpp", "int main()\n{\n}\n");
    writeFile("util.c", "int twice(int x) { return 2 * x; }\n");
  }

  void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(directory_ / name, std::ios::binary);
    out << bytes;
  }

  // Starts corvane in the test directory on a terminal of the given size.
  void start(PtyTerminal& terminal, const std::vector<std::string>& arguments = {},
             const std::string& term = "xterm-256color",
             const std::vector<std::string>& moreEnvironment = {}) {
    const fs::path previous = fs::current_path();
    fs::current_path(directory_);
    std::vector<std::string> environment = {"TERM=" + term, "LANG=C.UTF-8", "LC_ALL=",
                                            "LC_CTYPE=C.UTF-8",
                                            "WINEPREFIX=" + (directory_ / "no-wine").string()};
    environment.insert(environment.end(), moreEnvironment.begin(), moreEnvironment.end());
    const bool started = terminal.start(CORVANE_EXECUTABLE, arguments, environment);
    fs::current_path(previous);
    ASSERT_TRUE(started);
  }

  // A key as a person types it: once the screen has settled after the last.
  static void press(PtyTerminal& terminal, const std::string& key) {
    terminal.settle(60, kWait);
    terminal.send(key);
  }

  // A left click as the terminal reports it: the press, then the release.
  static void click(PtyTerminal& terminal, std::size_t column, int row) {
    const std::string at = std::to_string(column) + ";" + std::to_string(row);
    press(terminal, "\x1b[<0;" + at + "M");
    terminal.send("\x1b[<0;" + at + "m");
  }

  static bool rowShows(PtyTerminal& terminal, int row, const std::string& text) {
    return terminal.waitUntil(
        [&] { return terminal.rowText(row).find(text) != std::string::npos; }, kWait);
  }

  static void type(PtyTerminal& terminal, const std::string& text) {
    for (char byte : text) press(terminal, std::string(1, byte));
  }

  // Waits until the text shows on some row.
  static bool waitForText(PtyTerminal& terminal, const std::string& text) {
    return terminal.waitUntil([&] { return terminal.shows(text); }, kWait);
  }

  static int exitStatus(PtyTerminal& terminal) {
    int status = 0;
    EXPECT_TRUE(terminal.waitForExit(kWait, status));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Everything a user sees: each cell's text and colours, and the cursor.
  static std::vector<std::string> picture(const PtyTerminal& terminal) {
    std::vector<std::string> cells;
    for (int row = 1; row <= 25; ++row) {
      for (int column = 1; column <= 80; ++column) {
        const testing::CellColours colours = terminal.colours(column, row);
        cells.push_back(terminal.cellText(column, row) + " " +
                        std::to_string(colours.foreground) + "/" +
                        std::to_string(colours.background) + (colours.bold ? "b" : ""));
      }
    }
    cells.push_back("cursor " + std::to_string(terminal.cursorColumn()) + "," +
                    std::to_string(terminal.cursorRow()));
    return cells;
  }

  // Starts corvane and waits until its main screen stands still: the picture
  // it shows then.
  std::vector<std::string> startAtMainScreen(PtyTerminal& terminal) {
    start(terminal);
    EXPECT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait)) << terminal.screenText();
    terminal.settle(100, kWait);
    return picture(terminal);
  }

  // Enter accepts the project; Esc at the compiler's prompt ends the run
  // with status 1, the project file saved all the same. Its bytes.
  std::string acceptWithoutCompiler(PtyTerminal& terminal) {
    press(terminal, "\r");
    EXPECT_TRUE(waitForText(terminal, "Enter path:")) << terminal.screenText();
    press(terminal, "\x1b");
    EXPECT_EQ(exitStatus(terminal), 1);
    std::ifstream project(directory_ / "Project.gen", std::ios::binary);
    std::stringstream bytes;
    bytes << project.rdbuf();
    return bytes.str();
  }

  static void expectSameModes(const termios& before, const termios& after) {
    EXPECT_EQ(before.c_lflag, after.c_lflag);
    EXPECT_EQ(before.c_iflag, after.c_iflag);
    EXPECT_EQ(before.c_oflag, after.c_oflag);
  }

  ScratchDirectory scratch_;
  const fs::path directory_ = scratch_.path();
};

TEST_F(TerminalRunTest, MainScreenShowsTheDefaultProjectRowByRow) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  terminal.settle(100, kWait);
  const std::vector<std::string> expected = {
      "                              _____________________",
      "                              \u25cb-  C O R V A N E  -\u25cb",
      "                              ~~~~~~~~~~~~~~~~~~~~~",
      "",
      " (1)Project: Project.gen     (2)Target: hello.exe     (3)Makefile: Makefile.b",
      "",
      "        " + line(25) + " O P T I O N S " + line(25),
      "        (a)ANSI        [OFF]  -Strict ANSI (OFF => Accept Borland keywords)",
      "        (b)Debug       [ ON]  -Enable source debugging",
      "        (c)Optimise    [OFF]  -Turn on optimisation",
      "        (d)SpeedOpt    [OFF]  -Speed optimise (Size when OFF)",
      "        (e)Console     [ ON]  -Make Console program (Windows prog when OFF)",
      "        (f)WarnHigh    [OFF]  -Many warnings when ON",
      "        (g)WarnLow     [OFF]  -Fewer warnings when ON",
      "        (h)NoWarn      [OFF]  -Suppresses all warnings when ON",
      "        (i)Dynamic     [OFF]  -Program uses dynamic library",
      "        (j)MultiThread [OFF]  -Link with multi-thread support",
      "        (k)DLL         [OFF]  -Generate Dynamic Library -DLL (EXE when off)",
      "        (l)Pentium     [OFF]  -Use Pentium instructions (486 when off)",
      "        " + line(65),
      "",
      " (4)Add Compile Flags:                    (5)Add Link Flags:",
      "",
      "                                Press (selection), [Esc], [->] or [Enter]...",
      "",
  };
  for (int row = 1; row <= 25; ++row)
    EXPECT_EQ(terminal.rowText(row), expected[static_cast<std::size_t>(row - 1)]) << "row " << row;
  // Yellow keys and white values on the blue workspace.
  EXPECT_EQ(terminal.colours(2, 5).foreground, 11);   // "(1)" bright yellow
  EXPECT_EQ(terminal.colours(2, 5).background, 4);    // blue in the terminal's palette
  EXPECT_EQ(terminal.colours(14, 5).foreground, 15);  // the project-file name in white
  EXPECT_EQ(terminal.cursorRow(), 24);
  terminal.send("\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
}

// Keys that arrive together (over ssh, from tmux, typed fast) all count, in
// their order: three options, then a box with text typed and five
// Backspaces, in one burst.
TEST_F(TerminalRunTest, EveryKeyOfABurstCounts) {
  PtyTerminal terminal(25, 80);
  startAtMainScreen(terminal);
  terminal.send("bcd4-DNDEBUGxxxxx\x7f\x7f\x7f\x7f\x7f\r");
  EXPECT_TRUE(rowShows(terminal, 22, "(4)Add Compile Flags: -DNDEBUG ")) << terminal.screenText();
  EXPECT_EQ(terminal.rowText(9), "        (b)Debug       [OFF]  -Enable source debugging");
  EXPECT_EQ(terminal.rowText(10), "        (c)Optimise    [ ON]  -Turn on optimisation");
  EXPECT_EQ(terminal.rowText(11), "        (d)SpeedOpt    [ ON]  -Speed optimise (Size when OFF)");
  terminal.send("\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
}

TEST_F(TerminalRunTest, TitleAndLoadQuestionThenEscEndsWithZeroAndRestoresTheTerminal) {
  writeFile("Project.gen", "target app\r\n");
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal);
  ASSERT_TRUE(waitForText(terminal, "Load existing project file \"Project.gen\" ?"));
  terminal.settle(100, kWait);
  EXPECT_NE(terminal.rowText(4).find("Simple Makefile Generator (v. 1.02)"), std::string::npos);
  EXPECT_NE(terminal.rowText(2).find("C O R V A N E"), std::string::npos);
  terminal.send("\x1b");
  EXPECT_EQ(exitStatus(terminal), 0);
  expectSameModes(before, terminal.modes());
  EXPECT_EQ(std::ifstream(directory_ / "Project.gen").get(), 't');
}

TEST_F(TerminalRunTest, ArrowKeysGoRoundTheThreeScreensAndEscEndsWithOne) {
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  press(terminal, "\x1b[C");  // Right: the sources screen
  ASSERT_TRUE(rowShows(terminal, 8, "(a)hello.cpp     (b)util.c"));
  EXPECT_NE(terminal.rowText(5).find("Press (1) to reload all sources from " + directory_.string()),
            std::string::npos);
  press(terminal, "\x1bOC");  // Right in its SS3 form: the advanced screen
  ASSERT_TRUE(rowShows(terminal, 5, "A D V A N C E D   S C R E E N"));
  press(terminal, "\x1b[D");  // Left: back to the sources
  ASSERT_TRUE(rowShows(terminal, 8, "(a)hello.cpp"));
  press(terminal, "b");  // util.c leaves the project
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(8).find("util.c") == std::string::npos; }, kWait));
  press(terminal, "\x1b[D");  // Left: the main screen again
  ASSERT_TRUE(rowShows(terminal, 7, "O P T I O N S")) << terminal.screenText();
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  expectSameModes(before, terminal.modes());
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

TEST_F(TerminalRunTest, NonAsciiCharactersAltChordsAndAStalledPasteChangeNothing) {
  writeFile("caf\xc3\xa9.c", "int helper(void) { return 1; }\n");
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  terminal.settle(100, kWait);
  const std::string mainScreen = terminal.screenText();
  // "ó" and "í" (once Right and Delete), Alt+x (once Esc, ending the run).
  for (const char* key : {"\xc3\xb3", "\xc3\xad", "\x1bx", "\x1bN"}) press(terminal, key);
  terminal.settle(100, kWait);
  EXPECT_EQ(terminal.screenText(), mainScreen);

  // In the target's edit box: Left, then "í" deletes nothing; a paste that
  // never ends types its text and then lets Esc through again.
  press(terminal, "2");
  const auto fieldShows = [&](const std::string& text) {
    return rowShows(terminal, 23, "(no extension): " + text);
  };
  ASSERT_TRUE(fieldShows("hello")) << terminal.screenText();
  press(terminal, "\x1b[D");
  press(terminal, "\xc3\xad");
  press(terminal, "\x1b[200~abc");
  EXPECT_TRUE(fieldShows("hellabco")) << terminal.screenText();
  terminal.settle(600, kWait);
  press(terminal, "\x1b");  // the edit is undone
  EXPECT_TRUE(rowShows(terminal, 5, "Target: hello.exe")) << terminal.screenText();

  // The sources screen shows the UTF-8 name one cell a character.
  press(terminal, "\x1b[C");
  EXPECT_TRUE(rowShows(terminal, 8, "(a)caf\xc3\xa9.c")) << terminal.screenText();
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

TEST_F(TerminalRunTest, ATerminalThatCannotPlaceTheCursorIsToldSoAndLeftAlone) {
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal, {}, "dumb");
  EXPECT_EQ(exitStatus(terminal), 1);
  terminal.settle(100, kWait);
  const std::string& output = terminal.output();
  EXPECT_NE(output.find("corvane: this terminal (TERM=dumb) cannot position the cursor; "
                        "run corvane in a terminal that can, with TERM set to its type"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find('\x1b'), std::string::npos);  // no drawing, no mode switched
  expectSameModes(before, terminal.modes());
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

// Waits until row 23, below the select rule, shows the text (the page
// indicator; blank when the sources fit on one page).
constexpr int kPageRow = 23;
std::string pageIndicator(int page, int pages) {
  return std::string(28, ' ') + "[PgUp] page " + std::to_string(page) + " of " +
         std::to_string(pages) + " [PgDn]";
}

// The letters and names of the sources screen's entries, rows 8 to 21.
std::vector<std::pair<char, std::string>> entriesShown(const PtyTerminal& terminal) {
  std::vector<std::pair<char, std::string>> entries;
  for (int row = 8; row <= 21; ++row)
    for (const auto& entry : sourceEntriesIn(terminal.rowText(row))) entries.push_back(entry);
  return entries;
}

TEST_F(TerminalRunTest, SourcesThatFitShowOnOneScreenWithoutPages) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  press(terminal, "\x1b[C");
  ASSERT_TRUE(terminal.waitForRow(8, " (a)hello.cpp     (b)util.c", kWait));
  terminal.settle(100, kWait);
  const std::string path = directory_.string();
  const std::size_t reloadColumn = (77 - path.size() - 36) / 2 + 1;  // in the workspace
  const std::vector<std::string> expected = {
      std::string(reloadColumn, ' ') + "Press (1) to reload all sources from " + path,
      "",
      rule(14, " P R O J E C T   S O U R C E S "),
      " (a)hello.cpp     (b)util.c",
      "", "", "", "", "", "", "", "", "", "", "",
      rule(16, " O T H E R   S O U R C E S "),
      "",
      rule(7, " Select file (?) to add/remove from project. "),
      "",
      std::string(26, ' ') + "Press (selection), [<-] [->], [Esc] or [Enter]...",
      "",
  };
  for (int row = 5; row <= 25; ++row)
    EXPECT_EQ(terminal.rowText(row), expected[static_cast<std::size_t>(row - 5)]) << "row " << row;
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
}

TEST_F(TerminalRunTest, ThirtyOneSourcesTakeTwoPagesTurnedByTheArrowKeys) {
  fs::remove(directory_ / "hello.cpp");
  fs::remove(directory_ / "util.c");
  for (int i = 10; i <= 40; ++i) writeFile("unit" + std::to_string(i) + ".c", "");
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  press(terminal, "\x1b[C");
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(1, 2), kWait)) << terminal.screenText();
  const auto first = entriesShown(terminal);
  ASSERT_EQ(first.size(), 30u);
  EXPECT_NE(std::find(first.begin(), first.end(), std::make_pair('~', std::string("unit39.c"))),
            first.end());
  press(terminal, "\x1b[B");  // Down
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(2, 2), kWait)) << terminal.screenText();
  EXPECT_EQ(terminal.rowText(8), " (a)unit40.c");
  press(terminal, "\x1b[A");  // Up
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(1, 2), kWait)) << terminal.screenText();
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
}

TEST_F(TerminalRunTest, AHundredSourcesAreAllReachableAndAMovedOneLeavesTheProject) {
  fs::remove(directory_ / "hello.cpp");
  fs::remove(directory_ / "util.c");
  for (int i = 0; i < 100; ++i)
    writeFile("s0" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".c", "");
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  press(terminal, "\x1b[C");
  std::set<std::string> seen;
  for (int page = 1; page <= 4; ++page) {
    if (page > 1) press(terminal, "\x1b[6~");  // PgDn
    ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(page, 4), kWait))
        << terminal.screenText();
    for (const auto& entry : entriesShown(terminal)) seen.insert(entry.second);
  }
  EXPECT_EQ(seen.size(), 100u);
  press(terminal, "\x1b[6~");  // the last page stays
  terminal.settle(100, kWait);
  EXPECT_EQ(terminal.rowText(kPageRow), pageIndicator(4, 4));

  // The last entry of the last page leaves the project and stays in sight.
  press(terminal, "j");
  ASSERT_TRUE(terminal.waitForRow(21, " (j)s099.c", kWait)) << terminal.screenText();
  EXPECT_EQ(terminal.rowText(20), rule(16, " O T H E R   S O U R C E S "));
  EXPECT_EQ(terminal.rowText(kPageRow), pageIndicator(4, 4));

  // Reload on a later page: back on the first, every file in the project.
  press(terminal, "\x1b[5~");  // PgUp
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(3, 4), kWait)) << terminal.screenText();
  press(terminal, "1");
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(1, 4), kWait)) << terminal.screenText();
  EXPECT_EQ(terminal.rowText(8).substr(0, 10), " (a)s000.c");

  // s030.c, first on the second page, leaves; the project file says so.
  press(terminal, "\x1b[6~");
  ASSERT_TRUE(terminal.waitForRow(kPageRow, pageIndicator(2, 4), kWait)) << terminal.screenText();
  ASSERT_EQ(entriesShown(terminal).front(), std::make_pair('a', std::string("s030.c")));
  press(terminal, "a");
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return entriesShown(terminal).front().second == "s031.c"; }, kWait))
      << terminal.screenText();
  const std::string text = acceptWithoutCompiler(terminal);
  EXPECT_EQ(text.find("source s030.c"), std::string::npos);
  EXPECT_NE(text.find("source s029.c\r\nsource s031.c\r\n"), std::string::npos);
}

// A project that lists a file no longer there, on a terminal told NO_COLOR:
// the main screen says so, the name is marked, and the filter, "+", "!" and
// "-" put the project file right.
TEST_F(TerminalRunTest, TheFilterPlusBangAndMinusFixAProjectWithAMissingSource) {
  for (const char* name : {"pay_a.c", "pay_b.c", "other.c"}) writeFile(name, "");
  writeFile("Project.gen", "source hello.cpp\r\nsource gone.c\r\n");
  PtyTerminal terminal(25, 80);
  start(terminal, {}, "xterm-256color", {"NO_COLOR=1"});
  ASSERT_TRUE(waitForText(terminal, "Load existing project file \"Project.gen\" ?"));
  press(terminal, "\r");
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait)) << terminal.screenText();
  EXPECT_TRUE(terminal.waitForRow(
      23, std::string(7, ' ') + "1 source of the project is not in this directory: [->] shows them",
      kWait))
      << terminal.screenText();
  press(terminal, "\x1b[C");
  ASSERT_TRUE(rowShows(terminal, 6, "1 source of the project is not in this directory"))
      << terminal.screenText();
  EXPECT_TRUE(terminal.waitForRow(8, " (a)hello.cpp     (b)!gone.c", kWait))
      << terminal.screenText();

  press(terminal, "/");
  type(terminal, "PAY_*");
  press(terminal, "\r");
  ASSERT_TRUE(rowShows(terminal, 6, "[/] \"PAY_*\": 2 of 6 shown")) << terminal.screenText();
  EXPECT_TRUE(terminal.waitForRow(21, " (a)pay_a.c    (b)pay_b.c", kWait))
      << terminal.screenText();
  press(terminal, "+");
  ASSERT_TRUE(terminal.waitForRow(8, " (a)pay_a.c    (b)pay_b.c", kWait)) << terminal.screenText();
  press(terminal, "!");
  ASSERT_TRUE(rowShows(terminal, 6, "[!] only the missing: 1 of 6 shown")) << terminal.screenText();
  EXPECT_TRUE(terminal.waitForRow(8, " (a)!gone.c", kWait)) << terminal.screenText();
  press(terminal, "-");
  ASSERT_TRUE(terminal.waitForRow(21, " (a)!gone.c", kWait)) << terminal.screenText();
  const std::string text = acceptWithoutCompiler(terminal);
  EXPECT_NE(text.find("\nsource hello.cpp\r\nsource pay_a.c\r\nsource pay_b.c\r\n\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("gone.c"), std::string::npos);
  EXPECT_EQ(text.find("other.c"), std::string::npos);
}

TEST_F(TerminalRunTest, ClicksSwitchAnOptionAndOpenTheSourcesAndTheMouseIsGivenBack) {
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  EXPECT_NE(terminal.output().find("\x1b[?1000h\x1b[?1006h"), std::string::npos);
  click(terminal, terminal.rowText(9).find("(b)Debug") + 1, 9);
  ASSERT_TRUE(rowShows(terminal, 9, "(b)Debug       [OFF]")) << terminal.screenText();
  click(terminal, kMainPrompt.find("[->]") + 2, 24);
  ASSERT_TRUE(rowShows(terminal, 8, "(a)hello.cpp     (b)util.c")) << terminal.screenText();
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  expectSameModes(before, terminal.modes());
  const std::string& output = terminal.output();
  EXPECT_NE(output.rfind("\x1b[?1006l\x1b[?1000l"), std::string::npos);
  EXPECT_GT(output.rfind("\x1b[?1000l"), output.rfind("\x1b[?1000h"));
}

TEST_F(TerminalRunTest, WithCorvaneMouseZeroNoReportsAreAskedForAndClicksDoNothing) {
  PtyTerminal terminal(25, 80);
  start(terminal, {}, "xterm-256color", {"CORVANE_MOUSE=0"});
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  click(terminal, 10, 9);  // on "(b)Debug"
  press(terminal, "a");
  ASSERT_TRUE(rowShows(terminal, 8, "(a)ANSI        [ ON]"));
  EXPECT_NE(terminal.rowText(9).find("(b)Debug       [ ON]"), std::string::npos);
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  EXPECT_EQ(terminal.output().find("\x1b[?1000"), std::string::npos);
}

// The key that ends the usage screen is left for the shell, which reads it
// with the rest of its line once corvane has ended. Clicks do nothing there:
// the terminal is asked to stop sending them; nor do keys pressed while the
// window is too small.
TEST_F(TerminalRunTest, UsageScreenWaitsForAKeyAndLeavesItToTheShell) {
  PtyTerminal terminal(25, 80);
  const fs::path previous = fs::current_path();
  fs::current_path(directory_);
  ASSERT_TRUE(terminal.start(
      "/bin/sh",
      {"-c", "\"$0\" /?; echo \"status $?\"; IFS= read -r line; echo \"read: $line\"",
       CORVANE_EXECUTABLE},
      {"TERM=xterm-256color", "LC_ALL=C.UTF-8"}));
  fs::current_path(previous);
  ASSERT_TRUE(terminal.waitForRow(9, "    USAGE:", kWait));
  terminal.settle(100, kWait);
  EXPECT_EQ(terminal.rowText(11), "    corvane [project_filename] [/?]");
  EXPECT_EQ(terminal.rowText(12),
            "    corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]");
  EXPECT_EQ(terminal.rowText(13), "    corvane --help | -h | --version");
  EXPECT_EQ(terminal.rowText(24), "                              Press any key to exit..");
  EXPECT_EQ(terminal.colours(5, 9).foreground, 11);  // yellow heading
  EXPECT_NE(terminal.output().find("\x1b[?1000l"), std::string::npos);
  // A key pressed behind the request for a larger window is dropped.
  terminal.resize(20, 80);
  ASSERT_TRUE(terminal.waitForRow(1, "Please make this window at least 80 x 24 characters.", kWait));
  terminal.send("q");
  ASSERT_TRUE(terminal.waitForInputRead(kWait));
  terminal.resize(25, 80);
  ASSERT_TRUE(terminal.waitForRow(9, "    USAGE:", kWait)) << terminal.screenText();
  terminal.send("x");
  ASSERT_TRUE(waitForText(terminal, "status 0")) << terminal.screenText();
  terminal.send("yz\r");
  EXPECT_TRUE(waitForText(terminal, "read: xyz")) << terminal.screenText();
}

TEST_F(TerminalRunTest, VersionIsPrintedWithoutTouchingTheScreen) {
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal, {"--version"});
  EXPECT_EQ(exitStatus(terminal), 0);
  terminal.settle(50, kWait);
  // Not a single escape sequence: no screen of its own, nothing cleared.
  EXPECT_EQ(terminal.output(), std::string("corvane ") + CORVANE_VERSION + "\r\n");
  expectSameModes(before, terminal.modes());
}

TEST_F(TerminalRunTest, WholeRunOnA24RowTerminalWritesBothFiles) {
  fs::create_directories(directory_ / "bcc" / "BIN");
  writeFile("bcc/BIN/BCC32.EXE", "");
  PtyTerminal terminal(24, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  press(terminal, "\r");
  ASSERT_TRUE(waitForText(terminal, "Enter path:"));
  type(terminal, "\x7f" + (directory_ / "bcc").string() + "\r");
  EXPECT_EQ(exitStatus(terminal), 0);
  EXPECT_TRUE(fs::exists(directory_ / "Project.gen"));
  EXPECT_TRUE(fs::exists(directory_ / "Makefile.b"));

  // Once the terminal's own screen is back, the summary stays in sight:
  // what was written, where the tools are (as Wine names the directory
  // typed) and how to build.
  std::string compiler = "Z:" + fs::canonical(directory_ / "bcc").string();
  std::replace(compiler.begin(), compiler.end(), '/', '\\');
  const std::string summary = "Saved \"Project.gen\" and wrote \"Makefile.b\" for the Borland "
                              "tools in " + compiler + ".\r\nTo build: wine '" + compiler +
                              "\\Bin\\make.exe' -f Makefile.b\r\n";
  const std::string& output = terminal.output();
  ASSERT_GE(output.size(), summary.size());
  EXPECT_EQ(output.substr(output.size() - summary.size()), summary);
  EXPECT_GT(output.rfind(summary), output.rfind("\x1b[?1049l"));  // after the screen is given back
  EXPECT_TRUE(waitForText(terminal, "To build: wine '" + compiler)) << terminal.screenText();
}

TEST_F(TerminalRunTest, KeysWhileTheWindowIsTooSmallChangeNothing) {
  PtyTerminal terminal(25, 80);
  const std::vector<std::string> before = startAtMainScreen(terminal);
  terminal.resize(20, 80);
  ASSERT_TRUE(terminal.waitForRow(1, "Please make this window at least 80 x 24 characters.", kWait));
  // Optimise, the sources screen and Esc, none of which may act unseen.
  for (const char* key : {"c", "\x1b[C", "\x1b"}) press(terminal, key);
  terminal.settle(200, kWait);
  terminal.resize(25, 80);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait)) << terminal.screenText();
  terminal.settle(100, kWait);
  EXPECT_EQ(picture(terminal), before) << terminal.screenText();
  // Keys count again.
  press(terminal, "c");
  EXPECT_TRUE(rowShows(terminal, 10, "(c)Optimise    [ ON]")) << terminal.screenText();
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

TEST_F(TerminalRunTest, HelpOnEachScreenAndAnyKeyBringsTheScreenBack) {
  // The key that opens the help (F1 in two forms, ?), the box's title, and
  // the key on to the next screen with what that screen shows.
  const char* const steps[][4] = {
      {"\x1bOP", "Keys of the main screen", "\x1b[C", "P R O J E C T"},
      {"?", "Keys of the sources screen", "\x1b[C", "A D V A N C E D"},
      {"\x1b[11~", "Keys of the advanced screen", nullptr, nullptr},
  };
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, kMainPrompt, kWait));
  for (const auto& step : steps) {
    SCOPED_TRACE(step[1]);
    terminal.settle(100, kWait);
    const std::vector<std::string> before = picture(terminal);
    press(terminal, step[0]);
    ASSERT_TRUE(waitForText(terminal, step[1])) << terminal.screenText();
    press(terminal, "\x1b");  // closes the box only
    ASSERT_TRUE(terminal.waitUntil([&] { return picture(terminal) == before; }, kWait))
        << terminal.screenText();
    if (step[2] == nullptr) break;
    press(terminal, step[2]);
    ASSERT_TRUE(waitForText(terminal, step[3])) << terminal.screenText();
  }
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
}

TEST_F(TerminalRunTest, F2ShowsTheFlagsAndAClickOnEscAsksBeforeEditsAreLost) {
  PtyTerminal terminal(25, 80);
  const std::vector<std::string> before = startAtMainScreen(terminal);
  press(terminal, "\x1bOQ");  // F2
  ASSERT_TRUE(waitForText(terminal, "What the makefile hands the compiler and the linker"))
      << terminal.screenText();
  EXPECT_TRUE(waitForText(terminal, "Startup    c0x32.obj")) << terminal.screenText();
  press(terminal, "x");
  ASSERT_TRUE(terminal.waitUntil([&] { return picture(terminal) == before; }, kWait))
      << terminal.screenText();

  const std::size_t escColumn = kMainPrompt.find("[Esc]") + 2;
  press(terminal, "a");
  ASSERT_TRUE(rowShows(terminal, 8, "(a)ANSI        [ ON]"));
  click(terminal, escColumn, 24);
  ASSERT_TRUE(waitForText(terminal, "End without saving?")) << terminal.screenText();
  press(terminal, "n");  // back to the screen
  ASSERT_TRUE(terminal.waitUntil([&] { return !terminal.shows("End without saving?"); }, kWait));
  EXPECT_TRUE(waitForText(terminal, "(a)ANSI        [ ON]")) << terminal.screenText();
  click(terminal, escColumn, 24);
  ASSERT_TRUE(waitForText(terminal, "End without saving?")) << terminal.screenText();
  press(terminal, "y");
  EXPECT_EQ(exitStatus(terminal), 1);
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

TEST_F(TerminalRunTest, AProjectFileNameTooLongForTheErrorBoxIsCutAtItsEdge) {
  // No file can have the name: the error box says so, the name cut at the
  // box's right edge, its frame and the lines under the name in place.
  const std::string name(3000, 'p');
  PtyTerminal terminal(25, 80);
  start(terminal, {name});
  ASSERT_TRUE(waitForText(terminal, "Press any key..")) << terminal.screenText();
  terminal.settle(100, kWait);
  EXPECT_EQ(terminal.rowText(10).substr(32, 17), "_________________");
  EXPECT_EQ(terminal.rowText(14).substr(9, 64), "Cannot load project file \"" + name.substr(0, 38));
  EXPECT_EQ(terminal.colours(74, 14).background, terminal.colours(74, 16).background);
  EXPECT_NE(terminal.colours(74, 14).background, terminal.colours(73, 14).background);
  for (int column = 9; column <= 73; ++column) EXPECT_EQ(terminal.cellText(column, 15), " ");
  EXPECT_TRUE(rowShows(terminal, 16, "It cannot be read: "));
  EXPECT_TRUE(rowShows(terminal, 20, "Press any key.."));
  press(terminal, "x");
  EXPECT_EQ(exitStatus(terminal), 1);
}

}  // namespace
}  // namespace corvane

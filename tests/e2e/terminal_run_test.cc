// The real corvane on a pseudo-terminal, seen through a terminal emulator:
// what a user sees, the keys a user presses, and the terminal given back.
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pty_terminal.h"

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

class TerminalRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/corvane-term-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    writeFile("hello.cpp", "int main()\n{\n}\n");
    writeFile("util.c", "int twice(int x) { return 2 * x; }\n");
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }

  void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(directory_ / name, std::ios::binary);
    out << bytes;
  }

  // Starts corvane in the test directory on a terminal of the given size.
  void start(PtyTerminal& terminal, const std::vector<std::string>& arguments = {},
             const std::string& term = "xterm-256color") {
    const fs::path previous = fs::current_path();
    fs::current_path(directory_);
    const bool started = terminal.start(
        CORVANE_EXECUTABLE, arguments,
        {"TERM=" + term, "LANG=C.UTF-8", "LC_ALL=", "LC_CTYPE=C.UTF-8",
         "WINEPREFIX=" + (directory_ / "no-wine").string()});
    fs::current_path(previous);
    ASSERT_TRUE(started);
  }

  // Keys typed ahead of a key being handled are dropped, as on a real
  // keyboard, so each key waits until the screen has settled after the last.
  static void press(PtyTerminal& terminal, const std::string& key) {
    terminal.settle(60, kWait);
    terminal.send(key);
  }

  static void type(PtyTerminal& terminal, const std::string& text) {
    for (char byte : text) press(terminal, std::string(1, byte));
  }

  static std::string screenText(const PtyTerminal& terminal) {
    std::string text;
    for (int row = 1; row <= 25; ++row) text += terminal.rowText(row) + "\n";
    return text;
  }

  static int exitStatus(PtyTerminal& terminal) {
    int status = 0;
    EXPECT_TRUE(terminal.waitForExit(kWait, status));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static void expectSameModes(const termios& before, const termios& after) {
    EXPECT_EQ(before.c_lflag, after.c_lflag);
    EXPECT_EQ(before.c_iflag, after.c_iflag);
    EXPECT_EQ(before.c_oflag, after.c_oflag);
  }

  fs::path directory_;
};

TEST_F(TerminalRunTest, MainScreenShowsTheDefaultProjectRowByRow) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, "                                Press (selection), [Esc], [->] or [Enter]...", kWait));
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

TEST_F(TerminalRunTest, TitleAndLoadQuestionThenEscEndsWithZeroAndRestoresTheTerminal) {
  writeFile("Project.gen", "target app\r\n");
  PtyTerminal terminal(25, 80);
  const termios before = terminal.modes();
  start(terminal);
  ASSERT_TRUE(terminal.waitUntil(
      [&] {
        for (int row = 1; row <= 25; ++row)
          if (terminal.rowText(row).find("Load existing project file \"Project.gen\" ?") !=
              std::string::npos)
            return true;
        return false;
      },
      kWait));
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
  ASSERT_TRUE(terminal.waitForRow(24, "                                Press (selection), [Esc], [->] or [Enter]...", kWait));
  press(terminal, "\x1b[C");  // Right: the sources screen
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(8).find("(a)hello.cpp     (b)util.c") != std::string::npos; },
      kWait));
  EXPECT_NE(terminal.rowText(5).find("Press (1) to reload all sources from " + directory_.string()),
            std::string::npos);
  press(terminal, "\x1bOC");  // Right in its SS3 form: the advanced screen
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(5).find("A D V A N C E D   S C R E E N") != std::string::npos; },
      kWait));
  press(terminal, "\x1b[D");  // Left: back to the sources
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(8).find("(a)hello.cpp") != std::string::npos; }, kWait));
  press(terminal, "b");  // util.c leaves the project
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(8).find("util.c") == std::string::npos; }, kWait));
  press(terminal, "\x1b[D");  // Left: the main screen again
  ASSERT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(7).find("O P T I O N S") != std::string::npos; }, kWait))
      << screenText(terminal);
  press(terminal, "\x1b");
  EXPECT_EQ(exitStatus(terminal), 1);
  expectSameModes(before, terminal.modes());
  EXPECT_FALSE(fs::exists(directory_ / "Project.gen"));
}

TEST_F(TerminalRunTest, NonAsciiCharactersAltChordsAndAStalledPasteChangeNothing) {
  writeFile("caf\xc3\xa9.c", "int helper(void) { return 1; }\n");
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(terminal.waitForRow(24, "                                Press (selection), [Esc], [->] or [Enter]...", kWait));
  terminal.settle(100, kWait);
  const std::string mainScreen = screenText(terminal);
  // "ó" and "í" (once Right and Delete), Alt+x (once Esc, ending the run).
  for (const char* key : {"\xc3\xb3", "\xc3\xad", "\x1bx", "\x1bN"}) press(terminal, key);
  terminal.settle(100, kWait);
  EXPECT_EQ(screenText(terminal), mainScreen);

  // In the target's edit box: Left, then "í" deletes nothing; a paste that
  // never ends types its text and then lets Esc through again.
  press(terminal, "2");
  const auto fieldShows = [&](const std::string& text) {
    return terminal.waitUntil(
        [&] { return terminal.rowText(23).find("(no extension): " + text) != std::string::npos; },
        kWait);
  };
  ASSERT_TRUE(fieldShows("hello")) << screenText(terminal);
  press(terminal, "\x1b[D");
  press(terminal, "\xc3\xad");
  press(terminal, "\x1b[200~abc");
  EXPECT_TRUE(fieldShows("hellabco")) << screenText(terminal);
  terminal.settle(600, kWait);
  press(terminal, "\x1b");  // the edit is undone
  EXPECT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(5).find("Target: hello.exe") != std::string::npos; }, kWait))
      << screenText(terminal);

  // The sources screen shows the UTF-8 name one cell a character.
  press(terminal, "\x1b[C");
  EXPECT_TRUE(terminal.waitUntil(
      [&] { return terminal.rowText(8).find("(a)caf\xc3\xa9.c") != std::string::npos; },
      kWait))
      << screenText(terminal);
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

TEST_F(TerminalRunTest, UsageScreenWaitsForAKeyAndEndsWithZero) {
  PtyTerminal terminal(25, 80);
  start(terminal, {"/?"});
  ASSERT_TRUE(terminal.waitForRow(9, "    USAGE:", kWait));
  terminal.settle(100, kWait);
  EXPECT_EQ(terminal.rowText(11), "    C:\\Borland\\Bcc55\\Bin\\Corvane [project_filename] [/?]");
  EXPECT_EQ(terminal.rowText(24), "                              Press any key to exit..");
  EXPECT_EQ(terminal.colours(5, 9).foreground, 11);  // yellow heading
  terminal.send("x");
  EXPECT_EQ(exitStatus(terminal), 0);
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
  ASSERT_TRUE(terminal.waitForRow(24, "                                Press (selection), [Esc], [->] or [Enter]...", kWait));
  press(terminal, "\r");
  ASSERT_TRUE(terminal.waitUntil(
      [&] {
        for (int row = 1; row <= 24; ++row)
          if (terminal.rowText(row).find("Enter path:") != std::string::npos) return true;
        return false;
      },
      kWait));
  type(terminal, "\x7f" + (directory_ / "bcc").string() + "\r");
  EXPECT_EQ(exitStatus(terminal), 0);
  EXPECT_TRUE(fs::exists(directory_ / "Project.gen"));
  EXPECT_TRUE(fs::exists(directory_ / "Makefile.b"));
}

}  // namespace
}  // namespace corvane

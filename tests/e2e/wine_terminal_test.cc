// corvane.exe under Wine on a pseudo-terminal, seen through a real terminal
// emulator: Wine's console draws Corvane's console screen buffer on the
// terminal and turns the terminal's keys into console key events. Run by
// tools/windows-end-to-end.sh, which names Wine, the program and a prefix
// holding C:\BCC55\Bin\Bcc32.exe:
//   CORVANE_LAUNCHER=wine CORVANE_PROGRAM=corvane.exe WINEPREFIX=... corvane_wine_terminal_tests
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/pty_terminal.h"
#include "support/run_program.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::PtyTerminal;

// Wine starts slowly, the first time in a prefix above all.
constexpr int kStartWait = 90000;
constexpr int kWait = 30000;

class WineTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!under_.launched())
      GTEST_SKIP() << "CORVANE_LAUNCHER and CORVANE_PROGRAM name Wine and corvane.exe";
    std::ofstream(directory_ / "hello.cpp") << "int main()\n{\n}\n";
  }

  void start(PtyTerminal& terminal, const std::vector<std::string>& arguments = {}) {
    std::vector<std::string> words{under_.program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const fs::path previous = fs::current_path();
    fs::current_path(directory_);
    const bool started = terminal.start(under_.launcher, words, {"TERM=xterm", "WINEDEBUG=-all"});
    fs::current_path(previous);
    ASSERT_TRUE(started);
  }

  // Waits for the first screen, which takes Wine a while.
  static bool started(PtyTerminal& terminal, const std::string& text = "O P T I O N S") {
    return terminal.waitUntil([&] { return terminal.shows(text); }, kStartWait);
  }

  // Sends a key once the screen has settled, then waits for the text.
  static bool press(PtyTerminal& terminal, const std::string& key, const std::string& expect) {
    terminal.settle(200, kWait);
    terminal.send(key);
    if (expect.empty()) return true;
    return terminal.waitUntil([&] { return terminal.shows(expect); }, kWait);
  }

  static int waitStatus(PtyTerminal& terminal) {
    int status = 0;
    if (!terminal.waitForExit(kWait, status)) return -1;
    return status;
  }

  std::vector<std::string> files() const { return scratch_.names(); }
  std::string content(const std::string& name) const { return scratch_.read(name); }

  const e2e::ProgramUnderTest under_ = e2e::programUnderTest("");
  ScratchDirectory scratch_;
  const fs::path directory_ = scratch_.path();
};

TEST_F(WineTerminalTest, MainScreenIsShownAndEscEndsWithStatusOne) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal)) << terminal.screenText();
  terminal.settle(300, kWait);
  EXPECT_EQ(terminal.rowText(8),
            "        (a)ANSI        [OFF]  -Strict ANSI (OFF => Accept Borland keywords)");
  EXPECT_EQ(terminal.rowText(9), "        (b)Debug       [ ON]  -Enable source debugging");
  EXPECT_NE(terminal.rowText(5).find("(2)Target: hello.exe"), std::string::npos);
  // Code page 437 byte 196 reaches the terminal as the box-drawing line.
  EXPECT_NE(terminal.rowText(7).find("\u2500\u2500\u2500 O P T I O N S \u2500\u2500\u2500"),
            std::string::npos);
  press(terminal, "\x1b", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "wait status " << status;
  EXPECT_EQ(files(), (std::vector<std::string>{"hello.cpp"}));
}

TEST_F(WineTerminalTest, WholeSessionTypedKeyByKeyWritesBothFiles) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal));
  ASSERT_TRUE(press(terminal, "k", "hello.dll")) << terminal.screenText();  // DLL on
  ASSERT_TRUE(press(terminal, "\x1b[C", "P R O J E C T")) << terminal.screenText();
  // The filter's keys reach the screen through the console: hello.cpp out
  // with "-" and in again with "+", "!" showing that nothing is missing.
  press(terminal, "/", "Show names matching:");
  for (char key : std::string("HEL")) press(terminal, std::string(1, key), "");
  ASSERT_TRUE(press(terminal, "\r", "[/] \"HEL\": 1 of 1 shown")) << terminal.screenText();
  const auto projectRowEmpty = [&terminal] { return terminal.rowText(8).empty(); };
  press(terminal, "-", "");
  ASSERT_TRUE(terminal.waitUntil(projectRowEmpty, kWait)) << terminal.screenText();
  press(terminal, "+", "");
  ASSERT_TRUE(terminal.waitUntil([&] { return !projectRowEmpty(); }, kWait))
      << terminal.screenText();
  ASSERT_TRUE(press(terminal, "!", "only the missing: 0 of 1 shown")) << terminal.screenText();
  ASSERT_TRUE(press(terminal, "\x1b[D", "O P T I O N S")) << terminal.screenText();
  ASSERT_TRUE(press(terminal, "\r", "Enter path")) << terminal.screenText();
  press(terminal, "\x7f", "");  // Backspace empties the field
  for (char key : std::string("C:\\BCC55")) press(terminal, std::string(1, key), "");
  press(terminal, "\r", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  ASSERT_EQ(files(), (std::vector<std::string>{"Makefile.b", "Project.gen", "hello.cpp"}));
  EXPECT_NE(content("Project.gen").find("\r\noption DLL         ON "), std::string::npos);
  EXPECT_NE(content("Project.gen").find("\r\nsource hello.cpp\r\n"), std::string::npos);
  EXPECT_NE(content("Makefile.b").find("\r\nBCDIR = C:\\BCC55\r\n"), std::string::npos);
  // Printed once the console is given back: what was written and how to
  // build.
  terminal.settle(300, kWait);
  EXPECT_TRUE(terminal.shows("wrote \"Makefile.b\" for the Borland tools in C:\\BCC55."))
      << terminal.screenText();
  EXPECT_TRUE(terminal.shows("To build: C:\\BCC55\\Bin\\make -f Makefile.b"))
      << terminal.screenText();
}

TEST_F(WineTerminalTest, NonAsciiCharactersAndAltChordsChangeNothing) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal));
  terminal.settle(300, kWait);
  const std::string mainScreen = terminal.screenText();
  // "ó", "í" and Alt+1 (not the key 1, which would open an edit box), as
  // the terminal sends them to Wine's console.
  for (const char* key : {"\xc3\xb3", "\xc3\xad", "\x1b" "1"}) press(terminal, key, "");
  terminal.settle(1000, kWait);
  EXPECT_EQ(terminal.screenText(), mainScreen);
  // However soon after them it comes, Esc is read after them.
  press(terminal, "\x1b", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "wait status " << status;
  EXPECT_EQ(files(), (std::vector<std::string>{"hello.cpp"}));
}

// Keys that reach the Windows console together all count, in their order.
TEST_F(WineTerminalTest, EveryKeyOfABurstCounts) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal));
  terminal.settle(300, kWait);
  terminal.send("bcd");
  EXPECT_TRUE(terminal.waitUntil(
      [&] {
        return terminal.rowText(11) ==
               "        (d)SpeedOpt    [ ON]  -Speed optimise (Size when OFF)";
      },
      kWait))
      << terminal.screenText();
  EXPECT_EQ(terminal.rowText(9), "        (b)Debug       [OFF]  -Enable source debugging");
  EXPECT_EQ(terminal.rowText(10), "        (c)Optimise    [ ON]  -Turn on optimisation");
  press(terminal, "\x1b", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "wait status " << status;
}

TEST_F(WineTerminalTest, F1ShowsTheHelpF2TheFlagsAndAKeyBringsTheScreenBack) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal));
  terminal.settle(300, kWait);
  const std::string mainScreen = terminal.screenText();
  ASSERT_TRUE(press(terminal, "\x1bOP", "Keys of the main screen")) << terminal.screenText();
  press(terminal, " ", "");  // closes the box; Space on the screen would end the editing
  ASSERT_TRUE(terminal.waitUntil([&] { return terminal.screenText() == mainScreen; }, kWait))
      << terminal.screenText();
  ASSERT_TRUE(press(terminal, "\x1bOQ", "Startup    c0x32.obj")) << terminal.screenText();
  press(terminal, " ", "");
  ASSERT_TRUE(terminal.waitUntil([&] { return terminal.screenText() == mainScreen; }, kWait))
      << terminal.screenText();
  press(terminal, "\x1b", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "wait status " << status;
  EXPECT_EQ(files(), (std::vector<std::string>{"hello.cpp"}));
}

TEST_F(WineTerminalTest, UsageScreenStaysUntilAKey) {
  PtyTerminal terminal(25, 80);
  start(terminal, {"/?"});
  ASSERT_TRUE(started(terminal, "[project_filename] [/?]")) << terminal.screenText();
  press(terminal, " ", "");
  const int status = waitStatus(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
}

TEST_F(WineTerminalTest, InterruptEndsTheRunAsAFailureWithoutWriting) {
  PtyTerminal terminal(25, 80);
  start(terminal);
  ASSERT_TRUE(started(terminal));
  // Wine's console on a terminal turns Ctrl-C into an interrupt (on a
  // Windows console it is an ordinary key, and Ctrl-Break interrupts).
  press(terminal, "\x03", "");
  const int status = waitStatus(terminal);
  EXPECT_NE(status, -1);
  EXPECT_FALSE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1))
      << "wait status " << status;
  EXPECT_EQ(files(), (std::vector<std::string>{"hello.cpp"}));
}

}  // namespace
}  // namespace corvane

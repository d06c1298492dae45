// The terminal console on a real pseudo-terminal, seen through a terminal
// emulator: what a user of xterm (or of an 8-colour terminal) would see and
// what the keys they press come out as.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "console/mouse_event.h"
#include "support/pty_terminal.h"
#include "ui/read_key.h"

namespace corvane {
namespace testing {
namespace {

constexpr int kWait = 10000;  // milliseconds; generous for sanitizer builds
const char kHex[] = "0123456789ABCDEF";
// The ANSI colour number of each PC colour 0-7 (PC 1 is blue, ANSI 1 red).
const int kAnsiOfPc[8] = {0, 4, 2, 6, 1, 5, 3, 7};

struct Demo {
  explicit Demo(int rows = 25, int columns = 80) : terminal(rows, columns) {}
  bool start(const std::vector<std::string>& arguments, const std::string& term = "xterm-256color",
             const std::string& locale = "C.UTF-8") {
    return terminal.start(TERMINAL_DEMO, arguments,
                          {"TERM=" + term, "LANG=" + locale, "LC_ALL=" + locale}) &&
           waitForFirstScreen();
  }
  // The first screen is out when its row 24 shows and nothing more comes
  // (a screen arrives in several reads).
  bool waitForFirstScreen() {
    if (!terminal.waitForRow(24, "Row 24", kWait)) return false;
    terminal.settle(100, kWait);
    return true;
  }
  // Makes the window too small and waits for the request for a larger one.
  bool shrinkUntilTheRequestShows() {
    terminal.resize(20, 60);
    return terminal.waitForRow(1, "Please make this window at least 80 x 24 characters.", kWait);
  }
  PtyTerminal terminal;
};

std::string keyEcho(int code, int count, bool pasted = false) {
  return "Key " + std::to_string(code) + " #" + std::to_string(count) + (pasted ? " pasted" : "");
}

// The demo's grid of every foreground on every background: its hex digit in
// each cell, in the terminal's own colours. With sixteen colours the bright
// ones are colours of their own; with eight they are the dark ones in bold.
void expectColourGrid(const PtyTerminal& terminal, bool brightInBold) {
  for (int background = 0; background < 8; ++background) {
    for (int foreground = 0; foreground < 16; ++foreground) {
      SCOPED_TRACE("foreground " + std::to_string(foreground) + " background " +
                   std::to_string(background));
      EXPECT_EQ(terminal.cellText(foreground + 1, background + 1),
                std::string(1, kHex[foreground]));
      const CellColours colours = terminal.colours(foreground + 1, background + 1);
      EXPECT_EQ(colours.foreground,
                kAnsiOfPc[foreground & 7] + (brightInBold ? 0 : (foreground & 8)));
      EXPECT_EQ(colours.background, kAnsiOfPc[background]);
      EXPECT_EQ(colours.bold, brightInBold && foreground >= 8);
    }
  }
}

TEST(TerminalConsoleOnXterm, ShowsEveryColourPairInSixteenColours) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  expectColourGrid(demo.terminal, false);
}

TEST(TerminalConsoleOnXterm, ShowsCodePage437Glyphs) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  EXPECT_EQ(demo.terminal.rowText(9), "───○Text │█");
  EXPECT_EQ(demo.terminal.rowText(24), "Row 24");
  EXPECT_TRUE(demo.terminal.waitForRow(25, "Row 25", kWait));
  EXPECT_EQ(demo.terminal.rowText(12), "Key 0 #0");
  // The cursor stands where the console's cursor is: after the echo.
  EXPECT_TRUE(demo.terminal.waitUntil(
      [&] { return demo.terminal.cursorRow() == 12 && demo.terminal.cursorColumn() == 9; }, kWait))
      << demo.terminal.cursorColumn() << "," << demo.terminal.cursorRow();
}

TEST(TerminalConsoleOnXterm, ShowsAsciiLookAlikesOutsideUtf8) {
  Demo demo;
  ASSERT_TRUE(demo.start({}, "xterm-256color", "C"));
  EXPECT_EQ(demo.terminal.rowText(9), "---oText |#");
}

TEST(TerminalConsoleOnEightColours, ShowsBrightColoursInBold) {
  Demo demo;
  ASSERT_TRUE(demo.start({}, "xterm"));
  expectColourGrid(demo.terminal, true);
}

struct KeyForm {
  const char* bytes;
  int code;
};

TEST(TerminalConsoleOnXterm, DecodesEveryKeyForm) {
  const KeyForm forms[] = {
      {"\x1b[A", -72}, {"\x1b[B", -80}, {"\x1b[C", -77}, {"\x1b[D", -75},
      {"\x1bOA", -72}, {"\x1bOB", -80}, {"\x1bOC", -77}, {"\x1bOD", -75},
      {"\x1b[1;5A", -72}, {"\x1b[1;2D", -75},
      {"\x1b[H", -71}, {"\x1bOH", -71}, {"\x1b[1~", -71}, {"\x1b[7~", -71},
      {"\x1b[F", -79}, {"\x1bOF", -79}, {"\x1b[4~", -79}, {"\x1b[8~", -79},
      {"\x1b[3~", -83}, {"\x1b[2~", -82}, {"\x1b[5~", -73}, {"\x1b[6~", -81},
      {"\x1bOP", -59}, {"\x1bOQ", -60}, {"\x1bOR", -61}, {"\x1bOS", -62},
      {"\x1b[11~", -59}, {"\x1b[15~", -63}, {"\x1b[17~", -64}, {"\x1b[21~", -68},
      {"\x1b[[A", -59}, {"\x1b[23~", -133}, {"\x1b[24~", -134},
      {"\x7f", 8}, {"\x08", 8}, {"\r", 13}, {"\n", 13}, {"\x1bOM", 13},
      {"a", 'a'}, {"\xc3\xa9", kKeyNonAscii}, {"\x1b", 27}, {"\x1b[99~x", 'x'},
      {"\x1bx", kKeyAltChord}, {"\x1b\x7f", kKeyAltChord},
      {"\x1b[<0;5;7M\x1b[<0;5;7m", mouseCode(MouseEvent{MouseEvent::Action::kPress, 0, 5, 7})},
  };
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  int count = 0;
  for (const KeyForm& form : forms) {
    SCOPED_TRACE(std::string("key bytes ") + (form.bytes + (form.bytes[0] == 0x1b ? 1 : 0)));
    demo.terminal.send(form.bytes);
    EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(form.code, ++count), kWait))
        << demo.terminal.rowText(12);
  }
}

TEST(TerminalConsoleOnXterm, WaitsForTheRestOfASequenceAsLongAsEscdelaySays) {
  Demo demo;
  ASSERT_TRUE(demo.terminal.start(TERMINAL_DEMO, {},
                                  {"TERM=xterm-256color", "LC_ALL=C.UTF-8", "ESCDELAY=3000"}));
  ASSERT_TRUE(demo.terminal.waitForRow(12, "Key 0 #0", kWait));
  // A slow link: the sequence's bytes come apart, well within the delay.
  demo.terminal.send("\x1b");
  demo.terminal.settle(300, 300);
  demo.terminal.send("[B");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(-80, 1), kWait));
}

TEST(TerminalConsoleOnXterm, AnOldStyleMouseReportSplitByASlowLinkTypesNothing) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  // The report's three bytes come well after the escape delay: one click.
  demo.terminal.send("\x1b[M");
  demo.terminal.settle(120, 120);
  demo.terminal.send(" !!");
  const int click = mouseCode(MouseEvent{MouseEvent::Action::kPress, 0, 1, 1});
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(click, 1), kWait)) << demo.terminal.rowText(12);
  // One byte late and the other two never: the report is dropped, and its
  // space is no key (it would accept the project).
  demo.terminal.send("\x1b[M");
  demo.terminal.settle(120, 120);
  demo.terminal.send(" ");
  demo.terminal.settle(600, kWait);
  demo.terminal.send("x");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('x', 2), kWait)) << demo.terminal.rowText(12);
}

TEST(TerminalConsoleOnXterm, RingsTheTerminalsBell) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  const std::size_t before = demo.terminal.output().size();
  demo.terminal.send("!");
  EXPECT_TRUE(demo.terminal.waitUntil(
      [&] { return demo.terminal.output().find('\a', before) != std::string::npos; }, kWait));
  // The bell is no cell: the screen is unchanged but for the key echo.
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('!', 1), kWait));
  EXPECT_EQ(demo.terminal.rowText(9), "───○Text │█");
}

TEST(TerminalConsoleOnXterm, EscThenAKeyAfterTheEscapeDelayIsTwoKeys) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  demo.terminal.send("\x1b");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(27, 1), kWait));
  demo.terminal.send("x");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('x', 2), kWait));
}

TEST(TerminalConsoleOnXterm, PastedKeysAreMarked) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  EXPECT_NE(demo.terminal.output().find("\x1b[?2004h"), std::string::npos);
  // Printable characters only: the line end inside the paste is dropped.
  demo.terminal.send("\x1b[200~ab\r\nc\x1b[201~");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('c', 3, true), kWait));
  demo.terminal.send("z");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('z', 4), kWait));
}

TEST(TerminalConsoleOnXterm, PasteGoesIntoTheLineEditorsField) {
  Demo demo;
  ASSERT_TRUE(demo.start({"--field"}));
  const auto fieldShows = [&](const std::string& text) {
    return demo.terminal.waitUntil(
        [&] { return demo.terminal.rowText(5) == std::string(9, ' ') + text; }, kWait);
  };
  demo.terminal.send("a");
  EXPECT_TRUE(fieldShows("a")) << demo.terminal.rowText(5);
  // Pasted keys all arrive at once and are all typed; the line end in the
  // paste is not.
  demo.terminal.send("\x1b[200~pasted text\r\n\x1b[201~");
  EXPECT_TRUE(fieldShows("apasted text")) << demo.terminal.rowText(5);
  demo.terminal.send("c");
  EXPECT_TRUE(fieldShows("apasted textc")) << demo.terminal.rowText(5);
  demo.terminal.send("\r");
  int status = 0;
  ASSERT_TRUE(demo.terminal.waitForExit(kWait, status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(TerminalConsoleOnXterm, APasteWithoutItsEndMarkerEndsWhenItStalls) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  demo.terminal.send("\x1b[200~ab");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('b', 2, true), kWait));
  // Quiet for longer than any pause inside a paste: Enter is Enter again.
  demo.terminal.settle(600, kWait);
  demo.terminal.send("\r");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(13, 3), kWait)) << demo.terminal.rowText(12);
}

// A loaded machine, made on purpose: while `act` runs, the program may run
// only on one processor, at the lowest priority there is, and a busy loop
// holds that processor. What wakes the program meanwhile (a signal, a key)
// is seen by it only afterwards, all at once.
void whileHeldBack(pid_t program, const std::function<void()>& act) {
  cpu_set_t everywhere;
  cpu_set_t one;
  sched_getaffinity(0, sizeof everywhere, &everywhere);
  CPU_ZERO(&one);
  CPU_SET(sched_getcpu(), &one);
  std::atomic<bool> running{false};
  std::atomic<bool> stop{false};
  std::thread busy([&] {
    sched_setaffinity(0, sizeof one, &one);
    running = true;
    while (!stop) {
    }
  });
  while (!running) std::this_thread::yield();
  const sched_param priority{};
  sched_setaffinity(program, sizeof one, &one);
  sched_setscheduler(program, SCHED_IDLE, &priority);
  act();
  sched_setscheduler(program, SCHED_OTHER, &priority);
  sched_setaffinity(program, sizeof everywhere, &everywhere);
  stop = true;
  busy.join();
}

TEST(TerminalConsoleOnXterm, AKeyTypedJustAfterTheWindowGrowsIsNotDropped) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  ASSERT_TRUE(demo.shrinkUntilTheRequestShows());
  demo.terminal.settle(100, kWait);
  // The program, waiting for a key, is woken by the resize but runs only
  // once the key typed after it has come too.
  whileHeldBack(demo.terminal.programId(), [&] {
    demo.terminal.resize(25, 80);
    demo.terminal.send("a");
  });
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('a', 1), kWait)) << demo.terminal.screenText();
  EXPECT_EQ(demo.terminal.rowText(25), "Row 25");
}

TEST(TerminalConsoleOnXterm, AsksForALargerWindowAndRedrawsWhenItGrows) {
  Demo demo;
  ASSERT_TRUE(demo.start({}));
  ASSERT_TRUE(demo.shrinkUntilTheRequestShows());
  EXPECT_EQ(demo.terminal.rowText(9), "");
  // A click on the request does nothing: the screen under it is not shown.
  demo.terminal.send("\x1b[<0;5;1M");
  EXPECT_TRUE(demo.terminal.waitForInputRead(kWait));
  // 80 x 24 is enough: everything but row 25, which the screens leave blank.
  demo.terminal.resize(24, 80);
  EXPECT_TRUE(demo.terminal.waitForRow(24, "Row 24", kWait));
  EXPECT_EQ(demo.terminal.rowText(1), "0123456789ABCDEF");
  EXPECT_EQ(demo.terminal.rowText(9), "───○Text │█");
  EXPECT_EQ(demo.terminal.colours(3, 2).background, 4);
  // Two resizes in a row, the second while the first is being drawn: the
  // last size wins.
  demo.terminal.resize(20, 60);
  demo.terminal.resize(25, 80);
  EXPECT_TRUE(demo.terminal.waitForRow(25, "Row 25", kWait));
  EXPECT_EQ(demo.terminal.rowText(1), "0123456789ABCDEF");
  // Keys still work after the resizes (and the click was no key press).
  demo.terminal.send("\x1b[A");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho(-72, 1), kWait));
}

// The modes a shell relies on, compared before and after the program.
void expectSameModes(const termios& before, const termios& after) {
  EXPECT_EQ(before.c_iflag, after.c_iflag);
  EXPECT_EQ(before.c_oflag, after.c_oflag);
  EXPECT_EQ(before.c_lflag, after.c_lflag);
  EXPECT_EQ(before.c_cflag, after.c_cflag);
  EXPECT_EQ(before.c_cc[VMIN], after.c_cc[VMIN]);
  EXPECT_EQ(before.c_cc[VTIME], after.c_cc[VTIME]);
}

void expectTerminalGivenBack(PtyTerminal& terminal, const termios& before) {
  expectSameModes(before, terminal.modes());
  // The shell's screen is back, and paste mode and mouse reports were
  // switched off last.
  EXPECT_EQ(terminal.rowText(1), "shell prompt");
  const std::string& output = terminal.output();
  for (const char* mode : {"\x1b[?2004", "\x1b[?1000", "\x1b[?1006"}) {
    const std::string on = std::string(mode) + "h";
    const std::string off = std::string(mode) + "l";
    EXPECT_NE(output.find(on), std::string::npos) << mode + 1;
    EXPECT_NE(output.rfind(off), std::string::npos) << mode + 1;
    EXPECT_GT(output.rfind(off), output.rfind(on)) << mode + 1;
  }
}

TEST(TerminalConsoleRestore, GivesTheTerminalBackAfterANormalEndAndWhenTheProgramCallsExit) {
  // "q" returns from main, "X" calls exit(3) with the console still open.
  const struct {
    const char* key;
    int status;
  } kEnds[] = {{"q", 0}, {"X", 3}};
  for (const auto& end : kEnds) {
    SCOPED_TRACE(end.key);
    Demo demo;
    const termios before = demo.terminal.modes();
    ASSERT_TRUE(demo.start({"--shell-line", "shell prompt"}));
    EXPECT_EQ(demo.terminal.modes().c_lflag & ECHO, 0u);
    demo.terminal.send(end.key);
    int status = 0;
    ASSERT_TRUE(demo.terminal.waitForExit(kWait, status));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), end.status);
    expectTerminalGivenBack(demo.terminal, before);
  }
}

TEST(TerminalConsoleRestore, CtrlZGivesTheShellItsModesBackAndTakesThemAgainAfter) {
  Demo demo;
  const termios before = demo.terminal.modes();
  ASSERT_TRUE(demo.start({"--shell-line", "shell prompt"}));
  const std::size_t start = demo.terminal.output().size();
  // Here no shell runs the program as a job, so it is not really stopped:
  // curses gives the screen back and takes it again at once.
  demo.terminal.sendSignal(SIGTSTP);
  const std::string modesOff = "\x1b[?2004l\x1b[?1006l\x1b[?1000l";
  const std::string modesOn = "\x1b[?2004h\x1b[?1000h\x1b[?1006h";
  ASSERT_TRUE(demo.terminal.waitUntil(
      [&] { return demo.terminal.output().find(modesOn, start) != std::string::npos; }, kWait));
  const std::string& output = demo.terminal.output();
  const std::size_t off = output.find(modesOff, start);
  const std::size_t shellScreen = output.find("\x1b[?1049l", start);
  const std::size_t ownScreen = output.find("\x1b[?1049h", start);
  ASSERT_NE(off, std::string::npos);
  ASSERT_NE(shellScreen, std::string::npos);
  ASSERT_NE(ownScreen, std::string::npos);
  EXPECT_LT(off, shellScreen);
  EXPECT_LT(ownScreen, output.find(modesOn, start));
  // The program goes on as before, and ends as always.
  demo.terminal.send("a");
  EXPECT_TRUE(demo.terminal.waitForRow(12, keyEcho('a', 1), kWait));
  demo.terminal.send("q");
  int status = 0;
  ASSERT_TRUE(demo.terminal.waitForExit(kWait, status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  expectTerminalGivenBack(demo.terminal, before);
}

class TerminalConsoleSignal : public ::testing::TestWithParam<int> {};

TEST_P(TerminalConsoleSignal, GivesTheTerminalBackAndEndsByTheSignal) {
  const int signal = GetParam();
  Demo demo;
  const termios before = demo.terminal.modes();
  ASSERT_TRUE(demo.start({"--shell-line", "shell prompt"}));
  if (signal == SIGINT) {
    demo.terminal.send("\x03");  // Ctrl-C, as the user presses it
  } else {
    demo.terminal.sendSignal(signal);
  }
  int status = 0;
  ASSERT_TRUE(demo.terminal.waitForExit(kWait, status));
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), signal);
  expectTerminalGivenBack(demo.terminal, before);
}

INSTANTIATE_TEST_SUITE_P(EndingSignals, TerminalConsoleSignal,
                         ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& test) -> std::string {
                           return test.param == SIGTERM ? "Term"
                                  : test.param == SIGHUP ? "HangUp"
                                                         : "CtrlC";
                         });

// Not a timed test: it counts the bytes that one typed character costs at
// the end of a field, which must be that cell and at most a cursor move.
struct TypingCost {
  const char* term;
  std::size_t mostBytes;
};

class TerminalConsolePerformance : public ::testing::TestWithParam<TypingCost> {};

TEST_P(TerminalConsolePerformance, TypingAtTheEndOfAFieldSendsOnlyThatCell) {
  Demo demo;
  ASSERT_TRUE(demo.start({"--field"}, GetParam().term));
  // The first key starts the field afresh (it wipes it to the window's
  // edge); the characters after it are the ones measured.
  demo.terminal.send("<");
  ASSERT_TRUE(demo.terminal.waitUntil([&] { return demo.terminal.cellText(10, 5) == "<"; }, kWait));
  demo.terminal.settle(50, kWait);
  const std::string typed = "abcdefghijklmnop";
  std::size_t most = 0;
  std::size_t total = 0;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const std::size_t before = demo.terminal.output().size();
    demo.terminal.send(std::string(1, typed[i]));
    const int column = 11 + static_cast<int>(i);
    ASSERT_TRUE(demo.terminal.waitUntil(
        [&] { return demo.terminal.cellText(column, 5) == std::string(1, typed[i]); }, kWait));
    demo.terminal.settle(30, kWait);
    const std::size_t sent = demo.terminal.output().size() - before;
    most = std::max(most, sent);
    total += sent;
    // Bright white: colour 15, or 7 in bold on an 8-colour terminal.
    const CellColours colours = demo.terminal.colours(column, 5);
    EXPECT_TRUE(colours.foreground == 15 || (colours.foreground == 7 && colours.bold));
    EXPECT_EQ(demo.terminal.cursorColumn(), column + 1);
  }
  std::printf("TERM=%s: bytes per typed character: %.1f on average, %zu at most\n", GetParam().term,
              static_cast<double>(total) / static_cast<double>(typed.size()), most);
  RecordProperty("MostBytesPerTypedCharacter", static_cast<int>(most));
  EXPECT_LE(most, GetParam().mostBytes);
}

// With 16 colours the editor's white on black is curses's resting colour
// pair, so a typed character goes out alone. With 8, bright white needs
// bold, and curses resets the attributes after every update: the cell then
// costs its attribute changes too, but still only that one cell.
INSTANTIATE_TEST_SUITE_P(Terminals, TerminalConsolePerformance,
                         ::testing::Values(TypingCost{"xterm-256color", 16},
                                           TypingCost{"xterm", 64}, TypingCost{"linux", 64}),
                         [](const ::testing::TestParamInfo<TypingCost>& test) {
                           std::string name = test.param.term;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace testing
}  // namespace corvane

#include "platform/posix/terminal_console.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/cp437.h"
#include "ui/keys.h"

namespace corvane {

namespace {

// The screens need 80 columns and draw nothing but blanks on row 25.
constexpr int kNeededColumns = kScreenColumns;
constexpr int kNeededRows = kScreenRows - 1;
constexpr char kSizeRequest[] = "Please make this window at least 80 x 24 characters.";

bool terminalHungUp() {
  pollfd request{STDIN_FILENO, POLLIN, 0};
  return ::poll(&request, 1, 0) > 0 && (request.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 &&
         (request.revents & POLLIN) == 0;
}

}  // namespace

std::unique_ptr<TerminalConsole> TerminalConsole::open() {
  TerminalFacts facts;
  if (!enterTerminalMode(facts)) return nullptr;
  return std::unique_ptr<TerminalConsole>(new TerminalConsole(facts));
}

TerminalConsole::TerminalConsole(const TerminalFacts& facts) : facts_(facts) {
  palette_.setUp();
}

TerminalConsole::~TerminalConsole() { leaveTerminalMode(); }

void TerminalConsole::bell() { beep(); }

void TerminalConsole::drawCell(int column, int row, const Cell& cell) {
  const CursesLook look = palette_.lookOf(cell.attribute);
  const std::uint8_t character = look.blank ? ' ' : cell.character;
  attr_t attributes = A_NORMAL;
  if (look.bold) attributes |= A_BOLD;
  if (look.reverse) attributes |= A_REVERSE;
  if (facts_.unicode) {
    const wchar_t glyph[2] = {static_cast<wchar_t>(cp437ToUnicode(character)), L'\0'};
    cchar_t shape;
    setcchar(&shape, glyph, attributes, look.pair, nullptr);
    mvadd_wch(row - 1, column - 1, &shape);
  } else {
    const auto glyph = static_cast<chtype>(static_cast<unsigned char>(cp437ToAscii(character)));
    mvaddch(row - 1, column - 1, glyph | attributes | COLOR_PAIR(look.pair));
  }
}

void TerminalConsole::showSizeRequest() {
  erase();
  attrset(A_NORMAL);
  mvaddnstr(0, 0, kSizeRequest, std::max(COLS, 1));
  move(0, std::min(static_cast<int>(sizeof kSizeRequest - 1), std::max(COLS - 1, 0)));
  refresh();
  shownValid_ = false;
}

void TerminalConsole::present() {
  if (COLS < kNeededColumns || LINES < kNeededRows) {
    showSizeRequest();
    return;
  }
  if (!shownValid_) {
    // After a resize the terminal may have moved or lost anything.
    erase();
    clearok(curscr, TRUE);
  }
  const int rows = std::min(LINES, kScreenRows);
  for (int row = 1; row <= rows; ++row) {
    for (int column = 1; column <= kScreenColumns; ++column) {
      const Cell& cell = cellAt(column, row);
      Cell& shown = shown_[static_cast<std::size_t>((row - 1) * kScreenColumns + column - 1)];
      if (shownValid_ && shown == cell) continue;
      drawCell(column, row, cell);
      shown = cell;
    }
  }
  shownValid_ = true;
  const bool cursorOnScreen = screenCursorRow() <= rows;
  if (cursorOnScreen != cursorVisible_) {
    curs_set(cursorOnScreen ? 1 : 0);
    cursorVisible_ = cursorOnScreen;
  }
  if (cursorOnScreen) move(screenCursorRow() - 1, screenCursorColumn() - 1);
  refresh();
}

int TerminalConsole::nextByte(int timeoutMs) {
  timeout(timeoutMs);
  for (;;) {
    const int input = getch();
    if (input == KEY_RESIZE) {
      // Redraw at once, so the user sees the new size work.
      shownValid_ = false;
      present();
      continue;
    }
    if (input == ERR && timeoutMs < 0) {
      if (terminalHungUp()) {
        inputLost_ = true;
        return ERR;
      }
      continue;  // interrupted by a signal curses does not report
    }
    return input;
  }
}

bool TerminalConsole::readInput(bool wait) {
  int input = nextByte(wait ? -1 : 0);
  if (input == ERR) return false;
  decoder_.feed(static_cast<std::uint8_t>(input));
  // The rest of an escape sequence follows at once; nothing within the
  // escape delay means the Esc key itself (or a sequence cut short).
  while (decoder_.midSequence()) {
    input = nextByte(facts_.escapeDelay);
    if (input == ERR) {
      decoder_.inputPaused();
      break;
    }
    decoder_.feed(static_cast<std::uint8_t>(input));
  }
  return true;
}

int TerminalConsole::getKey() {
  while (!decoder_.hasKey() && !inputLost_) {
    present();
    // Whatever comes after the wait is a new key press: a CR typed before
    // it does not pair with an LF typed after it.
    decoder_.inputPaused();
    readInput(true);
  }
  return decoder_.takeKey();  // Esc when the terminal is gone
}

bool TerminalConsole::keyPending() {
  if (decoder_.hasKey() || inputLost_) return true;
  present();
  while (readInput(false)) {
    if (decoder_.hasKey()) return true;
  }
  return decoder_.hasKey();
}

bool TerminalConsole::typedAheadPending() {
  return keyPending() && !decoder_.nextKeyPasted();
}

}  // namespace corvane

#if defined(__SANITIZE_ADDRESS__)
// Curses keeps its terminal descriptions until the process ends; that is
// not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libncursesw\nleak:libtinfo\n";
}
#endif

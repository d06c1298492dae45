#include "platform/posix/terminal_console.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "console/cp437.h"

namespace corvane {

namespace {

// The screens need 80 columns and draw nothing but blanks on row 25.
constexpr int kNeededColumns = kScreenColumns;
constexpr int kNeededRows = kScreenRows - 1;
constexpr char kSizeRequest[] = "Please make this window at least 80 x 24 characters.";
// A paste quiet for this long has lost its end marker. Pastes come as one
// burst, even over a network; a person notices within a second that keys
// do nothing. A slow link that needs a longer escape delay gets that.
constexpr int kPasteTimeoutMs = 250;

}  // namespace

OpenedConsole TerminalConsole::open() {
  const TerminalEntry entry = enterTerminalMode();
  if (!entry.facts) return {nullptr, entry.problem};
  return {std::unique_ptr<Console>(new TerminalConsole(*entry.facts)), ""};
}

TerminalConsole::TerminalConsole(const TerminalFacts& facts)
    : facts_(facts), pasteTimeout_(std::max(kPasteTimeoutMs, facts.escapeDelay)) {
  palette_.setUp();
  if (facts_.mouse) decoder_.setMouse(KeyDecoder::Mouse::kOn);
}

TerminalConsole::~TerminalConsole() { leaveTerminalMode(); }

void TerminalConsole::bell() { beep(); }

void TerminalConsole::drawCell(int column, int row, const Cell& cell) {
  const CursesLook look = palette_.lookOf(cell.attribute);
  attr_t attributes = A_NORMAL;
  if (look.bold) attributes |= A_BOLD;
  if (look.reverse) attributes |= A_REVERSE;
  if (facts_.unicode) {
    const wchar_t glyph[2] = {static_cast<wchar_t>(cp437ToUnicode(cell.character)), L'\0'};
    cchar_t shape;
    setcchar(&shape, glyph, attributes, look.pair, nullptr);
    mvadd_wch(row - 1, column - 1, &shape);
  } else {
    const auto glyph = static_cast<chtype>(static_cast<unsigned char>(cp437ToAscii(cell.character)));
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

bool TerminalConsole::screenHidden() const {
  return COLS < kNeededColumns || LINES < kNeededRows;
}

void TerminalConsole::dropKeysWhileHidden() {
  if (!screenHidden()) return;
  while (decoder_.hasKey()) decoder_.takeKey();
}

void TerminalConsole::present() {
  const bool tooSmall = screenHidden();
  // A click on the size request would land on a screen the user cannot see.
  if (facts_.mouse)
    decoder_.setMouse(tooSmall ? KeyDecoder::Mouse::kMuted : KeyDecoder::Mouse::kOn);
  if (tooSmall) {
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

void TerminalConsole::applyResize() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ||
      ::ioctl(STDIN_FILENO, TIOCGWINSZ, &size) == 0) {
    resizeterm(size.ws_row, size.ws_col);
  }
  // Redraw at once, so the user sees the new size work.
  shownValid_ = false;
  present();
}

bool TerminalConsole::readInput(int timeoutMs) {
  for (;;) {
    if (takeResizeNotice()) applyResize();
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {resizeNoticeDescriptor(), POLLIN, 0}};
    const int ready = ::poll(waits, 2, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if (waits[1].revents != 0) continue;  // the resize is handled above
    char bytes[256];
    const ssize_t got = ::read(STDIN_FILENO, bytes, sizeof bytes);
    if (got > 0) {
      // A resize that came before these bytes may have been missed by the
      // poll: when the program runs late, the signal wakes it but the key
      // typed after the resize is there by the time it looks. The handler
      // has run by now, so the window's size is taken first, and a key
      // typed once the window had grown is not dropped as typed while it
      // was too small.
      if (takeResizeNotice()) applyResize();
      lastInput_ = std::chrono::steady_clock::now();
      decoder_.feed(std::string_view(bytes, static_cast<std::size_t>(got)));
      return true;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    // The terminal is gone (a hang-up while SIGHUP is ignored).
    inputLost_ = true;
    return false;
  }
}

void TerminalConsole::finishSequence() {
  // The rest of an escape sequence follows at once; nothing within the
  // escape delay means the Esc key itself (or a sequence cut short). A mouse
  // report is no key a person types: its bytes are waited for as long as a
  // paste's, and a report still cut short then is dropped.
  while (decoder_.midSequence()) {
    const int wait = decoder_.midMouseReport() ? pasteTimeout_ : facts_.escapeDelay;
    if (!readInput(wait)) {
      decoder_.inputPaused();
      return;
    }
  }
}

void TerminalConsole::endStalledPaste() {
  if (decoder_.inPaste() && inputWaitLimit() == 0) decoder_.pasteStalled();
}

int TerminalConsole::inputWaitLimit() const {
  if (!decoder_.inPaste()) return -1;
  const auto quiet = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - lastInput_);
  return static_cast<int>(std::max<long long>(0, pasteTimeout_ - quiet.count()));
}

int TerminalConsole::getKey() {
  while (!decoder_.hasKey() && !inputLost_) {
    present();
    // Whatever comes after the wait is a new key press: a CR typed before
    // it does not pair with an LF typed after it.
    decoder_.inputPaused();
    endStalledPaste();
    if (readInput(inputWaitLimit())) finishSequence();
    dropKeysWhileHidden();
  }
  pasted_ = decoder_.nextKeyPasted();
  return decoder_.takeKey();  // Esc when the terminal is gone
}

bool TerminalConsole::keyPending() {
  if (decoder_.hasKeyPress() || inputLost_) return true;
  if (facts_.mouse) {
    stopMouseReports();
    facts_.mouse = false;
    decoder_.setMouse(KeyDecoder::Mouse::kOff);
  }
  if (takeResizeNotice()) applyResize();
  present();
  if (screenHidden()) {
    // Keys pressed behind the request for a larger window are dropped here
    // too: they would end a screen nobody has seen.
    while (readInput(0)) {
    }
    decoder_.inputPaused();
    dropKeysWhileHidden();
    return inputLost_;
  }
  pollfd input{STDIN_FILENO, POLLIN, 0};
  // A terminal that is gone ends the wait as well.
  return ::poll(&input, 1, 0) > 0;
}

}  // namespace corvane

#if defined(__SANITIZE_ADDRESS__)
// Curses keeps its terminal descriptions until the process ends; that is
// not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libncursesw\nleak:libtinfo\n";
}
#endif

// Entering and leaving the terminal mode Corvane draws in, kept in one place
// so that every way out restores the same things: curses on the terminal
// (alternate screen, no echo, keys unbuffered, no keypad translation, since
// the key decoder reads the raw bytes), bracketed paste and mouse reports.
//
// The terminal is restored on every way out: leaveTerminalMode (the
// console's destructor), exit(), and the signals that end a program from the
// terminal or from outside (SIGINT, SIGTERM, SIGHUP, SIGQUIT). After the
// restore a signal ends the program the way it would have without Corvane.
// Ctrl-Z (SIGTSTP) gives the shell the terminal as it was, paste and mouse
// modes off, and takes it over again when the program goes on.
#ifndef CORVANE_PLATFORM_POSIX_TERMINAL_MODE_H
#define CORVANE_PLATFORM_POSIX_TERMINAL_MODE_H

#include <optional>
#include <string>

namespace corvane {

struct TerminalFacts {
  // The locale can show Unicode glyphs (UTF-8); else ASCII look-alikes.
  bool unicode = false;
  // Milliseconds to wait after Esc for the rest of a key's sequence.
  int escapeDelay = 25;
  // The terminal was asked to report mouse clicks (unless CORVANE_MOUSE=0).
  bool mouse = false;
};

// What starting the mode came to.
struct TerminalEntry {
  // Nothing when Corvane cannot draw on this terminal (no description of it
  // fits, or it cannot move the cursor); nothing has been written to it then.
  std::optional<TerminalFacts> facts;
  // Then why, in one line for the user.
  std::string problem;
};

// Starts curses on standard input and the terminal's output.
TerminalEntry enterTerminalMode();

// Restores the terminal; does nothing when it is not in Corvane's mode.
void leaveTerminalMode();

// Asks the terminal to send no more mouse reports, now and after a Ctrl-Z.
void stopMouseReports();

// A descriptor that becomes readable when the window's size changes, to be
// waited on beside the terminal's input: curses reports a resize only when
// its own read is interrupted, and misses one that comes between reads.
int resizeNoticeDescriptor();
// True when the size changed since the last call; takes the notice.
bool takeResizeNotice();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_TERMINAL_MODE_H

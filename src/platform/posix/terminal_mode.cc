#include "platform/posix/terminal_mode.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <term.h>

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <termios.h>

#include "platform/mouse_setting.h"
#include "platform/posix/descriptor.h"
#include "platform/posix/ending_signals.h"

namespace corvane {

namespace {

constexpr char kBracketedPasteOn[] = "\x1b[?2004h";
constexpr char kBracketedPasteOff[] = "\x1b[?2004l";
// Button presses and releases (1000), reported as "ESC [ < b ; x ; y M",
// with no limit on the position (1006); off again in the reverse order.
constexpr char kMouseOn[] = "\x1b[?1000h\x1b[?1006h";
constexpr char kMouseOff[] = "\x1b[?1006l\x1b[?1000l";
constexpr int kDefaultEscapeDelay = 25;

// A signal can arrive at any moment and its handler may only use what is
// ready: so the terminal's state while Corvane runs lives here, set up
// before the handlers are installed. There is only one terminal.
struct SavedTerminal {
  volatile std::sig_atomic_t active = 0;
  int inputFd = 0;
  int outputFd = 1;
  termios shellModes{};
  // Bytes that undo on the display what curses set up: attributes off,
  // bracketed paste and mouse reports off, cursor shown, keypad normal,
  // main screen back.
  char resetBytes[256] = {};
  std::size_t resetLength = 0;
  // What leaveTerminalMode switches off after curses has ended: the modes
  // that are the terminal's, whichever screen shows.
  char modesOff[64] = {};
  std::size_t modesOffLength = 0;
  char modesOn[64] = {};
  std::size_t modesOnLength = 0;
  // Curses's own Ctrl-Z handler, which stopAndResume wraps.
  struct sigaction previousStop {};
  bool wrapsStop = false;
  SCREEN* screen = nullptr;
  FILE* output = nullptr;
  bool ownsOutput = false;
  EndingSignalHandlers previous;
  struct sigaction previousResize {};
  // The size-change handler writes a byte here (the self-pipe trick).
  int resizePipe[2] = {-1, -1};
  bool atExitRegistered = false;
};

SavedTerminal saved;

template <std::size_t kSize>
void appendBytes(char (&buffer)[kSize], std::size_t& length, const char* bytes) {
  const std::size_t more = std::strlen(bytes);
  if (length + more >= kSize) return;
  std::memcpy(buffer + length, bytes, more);
  length += more;
  buffer[length] = '\0';
}

void appendReset(const char* capability) {
  const char* bytes = tigetstr(const_cast<char*>(capability));
  if (bytes == nullptr || bytes == reinterpret_cast<char*>(-1)) return;
  appendBytes(saved.resetBytes, saved.resetLength, bytes);
}

// Only async-signal-safe calls here: curses itself cannot be trusted
// inside a handler, so the saved bytes and modes are put back directly.
void restoreAndEnd(int signal) {
  if (saved.active) {
    saved.active = 0;
    writeAll(saved.outputFd, saved.resetBytes, saved.resetLength);
    ::tcsetattr(saved.inputFd, TCSADRAIN, &saved.shellModes);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void installSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = restoreAndEnd;
  sigemptyset(&action.sa_mask);
  // The re-raised signal must take effect at once, inside the handler.
  action.sa_flags = SA_NODEFER;
  saved.previous.install(action);
}

void noteResize(int /*signal*/) {
  const int savedErrno = errno;
  const char notice = 'r';
  (void)!::write(saved.resizePipe[1], &notice, 1);  // a full pipe holds a notice already
  errno = savedErrno;
}

bool openResizePipe() {
  if (saved.resizePipe[0] >= 0) return true;
  if (::pipe(saved.resizePipe) != 0) return false;
  for (int fd : saved.resizePipe) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  return true;
}

void installResizeHandler() {
  struct sigaction action {};
  action.sa_handler = noteResize;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &action, &saved.previousResize);
}

// Ctrl-Z: curses's handler gives the shell its screen back, stops the
// program and draws the screen again when it goes on, but knows nothing of
// the paste and mouse modes. They go off before the stop and on again after
// it: a shell that got mouse reports would type them out at every click.
void stopAndResume(int signal) {
  const int savedErrno = errno;
  if (saved.active) writeAll(saved.outputFd, saved.modesOff, saved.modesOffLength);
  saved.previousStop.sa_handler(signal);
  if (saved.active) writeAll(saved.outputFd, saved.modesOn, saved.modesOnLength);
  errno = savedErrno;
}

void wrapStopHandler() {
  struct sigaction current {};
  sigaction(SIGTSTP, nullptr, &current);
  // Ignored (or left to the default by curses): there is no stop to wrap.
  if (current.sa_handler == SIG_IGN || current.sa_handler == SIG_DFL ||
      (current.sa_flags & SA_SIGINFO) != 0)
    return;
  saved.previousStop = current;
  struct sigaction action = current;
  action.sa_handler = stopAndResume;
  sigaction(SIGTSTP, &action, nullptr);
  saved.wrapsStop = true;
}

void unwrapStopHandler() {
  if (!saved.wrapsStop) return;
  sigaction(SIGTSTP, &saved.previousStop, nullptr);
  saved.wrapsStop = false;
}

void restoreSignalHandlers() {
  saved.previous.restore();
  sigaction(SIGWINCH, &saved.previousResize, nullptr);
}

bool localeIsUtf8() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr &&
         (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

// The terminal's output: standard output, unless that was redirected.
FILE* openOutput(bool& owned) {
  owned = false;
  if (::isatty(STDOUT_FILENO)) return stdout;
  if (FILE* tty = std::fopen("/dev/tty", "w")) {
    owned = true;
    return tty;
  }
  return stdout;
}

// "TERM=name" as the user set it, for messages.
std::string termSetting() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' ? std::string("TERM=") + term : "TERM not set";
}

// Whether the description of the terminal that TERM names is known here and
// can place the cursor. Only looks: nothing is sent to the terminal.
enum class TermDescription { kUsable, kUnknown, kCannotMoveCursor };

TermDescription describeTerm(int outputFd) {
  int status = 0;
  if (setupterm(nullptr, outputFd, &status) != OK) return TermDescription::kUnknown;
  const char* move = tigetstr(const_cast<char*>("cup"));
  const bool canMove = move != nullptr && move != reinterpret_cast<char*>(-1);
  del_curterm(cur_term);
  return canMove ? TermDescription::kUsable : TermDescription::kCannotMoveCursor;
}

// Curses on the terminal, or why it cannot draw there.
struct CursesStart {
  SCREEN* screen;
  std::string problem;
};

CursesStart startCurses(FILE* output) {
  const std::string advice =
      "; run corvane in a terminal that can, with TERM set to its type, for example "
      "TERM=xterm-256color corvane";
  switch (describeTerm(fileno(output))) {
    case TermDescription::kCannotMoveCursor:
      // A screen drawn there would not show, and the user would sit at an
      // invisible question.
      return {nullptr, "this terminal (" + termSetting() + ") cannot position the cursor" + advice};
    case TermDescription::kUsable:
      if (SCREEN* screen = newterm(nullptr, output, stdin)) return {screen, ""};
      break;
    case TermDescription::kUnknown:
      break;
  }
  // An unknown TERM: nearly every terminal of today understands xterm's
  // language well enough to be usable.
  if (SCREEN* screen = newterm(const_cast<char*>("xterm"), output, stdin)) return {screen, ""};
  return {nullptr,
          "cannot use this terminal (" + termSetting() + ") as an 80 x 25 text console" + advice};
}

// The bytes that switch the terminal's own modes on and off, and those that
// a signal writes to give the terminal back, ready before any handler may
// need them.
void prepareModeBytes(bool mouse) {
  saved.modesOnLength = 0;
  appendBytes(saved.modesOn, saved.modesOnLength, kBracketedPasteOn);
  if (mouse) appendBytes(saved.modesOn, saved.modesOnLength, kMouseOn);
  saved.modesOffLength = 0;
  appendBytes(saved.modesOff, saved.modesOffLength, kBracketedPasteOff);
  if (mouse) appendBytes(saved.modesOff, saved.modesOffLength, kMouseOff);
  saved.resetLength = 0;
  appendReset("sgr0");
  appendBytes(saved.resetBytes, saved.resetLength, saved.modesOff);
  appendReset("cnorm");
  appendReset("rmkx");
  appendReset("rmcup");
}

// How curses reads and draws for Corvane.
void setCursesModes() {
  cbreak();  // Ctrl-C still ends the program, through SIGINT
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  keypad(stdscr, FALSE);
  meta(stdscr, TRUE);
  // Curses would put off drawing while keys wait; Corvane reads the keys
  // itself and wants each screen out before the next key is read.
  typeahead(-1);
  leaveok(stdscr, FALSE);
}

}  // namespace

void leaveTerminalMode() {
  if (!saved.active) return;
  unwrapStopHandler();
  saved.active = 0;
  endwin();
  std::fflush(saved.output);
  writeAll(saved.outputFd, saved.modesOff, saved.modesOffLength);
  delscreen(saved.screen);
  saved.screen = nullptr;
  if (saved.ownsOutput) std::fclose(saved.output);
  saved.output = nullptr;
  restoreSignalHandlers();
}

void stopMouseReports() {
  if (!saved.active) return;
  std::fflush(saved.output);
  writeAll(saved.outputFd, kMouseOff, sizeof kMouseOff - 1);
  // The Ctrl-Z handler writes these bytes when the program goes on, so it
  // waits while they change. Switching reports off once more on the way
  // out does no harm; those bytes stay.
  sigset_t stop;
  sigset_t previous;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_BLOCK, &stop, &previous);
  saved.modesOnLength = 0;
  appendBytes(saved.modesOn, saved.modesOnLength, kBracketedPasteOn);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

int resizeNoticeDescriptor() { return saved.resizePipe[0]; }

bool takeResizeNotice() {
  char notices[64];
  bool any = false;
  while (::read(saved.resizePipe[0], notices, sizeof notices) > 0) any = true;
  return any;
}

TerminalEntry enterTerminalMode() {
  const TerminalEntry unusable{std::nullopt,
                               "cannot use this terminal as an 80 x 25 text console"};
  if (saved.active) return unusable;
  TerminalFacts facts;
  // Only the character type: numbers, collation and messages stay as the
  // rest of Corvane expects them.
  std::setlocale(LC_CTYPE, "");
  facts.unicode = localeIsUtf8();

  saved.inputFd = STDIN_FILENO;
  if (::tcgetattr(saved.inputFd, &saved.shellModes) != 0) return unusable;
  saved.output = openOutput(saved.ownsOutput);
  saved.outputFd = fileno(saved.output);

  if (!openResizePipe()) return unusable;
  // Our handlers go in first: curses then leaves these signals alone.
  installSignalHandlers();
  installResizeHandler();
  if (std::getenv("ESCDELAY") == nullptr) set_escdelay(kDefaultEscapeDelay);
  const CursesStart curses = startCurses(saved.output);
  saved.screen = curses.screen;
  if (saved.screen == nullptr) {
    restoreSignalHandlers();
    if (saved.ownsOutput) std::fclose(saved.output);
    return {std::nullopt, curses.problem};
  }
  facts.escapeDelay = get_escdelay();

  facts.mouse = mouseWanted();
  prepareModeBytes(facts.mouse);
  setCursesModes();
  saved.active = 1;
  if (!saved.atExitRegistered) {
    saved.atExitRegistered = true;
    std::atexit(leaveTerminalMode);
  }
  // Curses writes the alternate-screen switch with its first refresh; the
  // paste and mouse modes are the terminal's, whichever screen shows.
  std::fflush(saved.output);
  writeAll(saved.outputFd, saved.modesOn, saved.modesOnLength);
  wrapStopHandler();
  return {facts, ""};
}

}  // namespace corvane

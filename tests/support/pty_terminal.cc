#include "support/pty_terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vterm.h>

#include <chrono>
#include <cstdlib>

namespace corvane {
namespace testing {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void appendUtf8(std::string& text, std::uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int colourIndex(const VTermColor& colour) {
  if (VTERM_COLOR_IS_DEFAULT_FG(&colour) || VTERM_COLOR_IS_DEFAULT_BG(&colour))
    return kDefaultColour;
  if (VTERM_COLOR_IS_INDEXED(&colour)) return colour.indexed.idx;
  return -2;  // a direct RGB colour, which the console never sends
}

}  // namespace

PtyTerminal::PtyTerminal(int rows, int columns) {
  vterm_ = vterm_new(rows, columns);
  vterm_set_utf8(vterm_, 1);
  screen_ = vterm_obtain_screen(vterm_);
  vterm_screen_enable_altscreen(screen_, 1);
  vterm_screen_reset(screen_, 1);
  winsize size{};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(columns);
  if (::openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) master_ = slave_ = -1;
}

PtyTerminal::~PtyTerminal() {
  if (child_ > 0 && !exited_) {
    ::kill(child_, SIGKILL);
    int status = 0;
    ::waitpid(child_, &status, 0);
  }
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  vterm_free(vterm_);
}

bool PtyTerminal::start(const std::string& program, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment) {
  if (master_ < 0 || child_ > 0) return false;

  // Everything the child needs is made before fork: after it only
  // async-signal-safe calls are sound.
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> entries = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const auto& own : environment) replaced = replaced || own.compare(0, name.size(), name) == 0;
    if (!replaced) entries.push_back(text);
  }
  std::vector<char*> envp;
  for (auto& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  child_ = ::fork();
  if (child_ < 0) return false;
  if (child_ == 0) {
    ::setsid();
    ::ioctl(slave_, TIOCSCTTY, 0);
    ::dup2(slave_, 0);
    ::dup2(slave_, 1);
    ::dup2(slave_, 2);
    ::close(master_);
    ::close(slave_);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  return true;
}

void PtyTerminal::send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(master_, bytes.data(), bytes.size());
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool PtyTerminal::waitForInputRead(int timeoutMs) {
  return waitUntil(
      [this] {
        int waiting = 0;
        return ::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting == 0;
      },
      timeoutMs);
}

bool PtyTerminal::pump(int timeoutMs) {
  pollfd request{master_, POLLIN, 0};
  if (::poll(&request, 1, timeoutMs) <= 0 || (request.revents & POLLIN) == 0) return false;
  char buffer[4096];
  const ssize_t got = ::read(master_, buffer, sizeof buffer);
  if (got <= 0) return false;
  lastOutput_ = Clock::now();
  output_.append(buffer, static_cast<std::size_t>(got));
  vterm_input_write(vterm_, buffer, static_cast<std::size_t>(got));
  // The emulator's answers to the program's queries go back to it.
  char answer[256];
  std::size_t length;
  while ((length = vterm_output_read(vterm_, answer, sizeof answer)) > 0)
    send(std::string_view(answer, length));
  return true;
}

bool PtyTerminal::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    const int left = millisecondsLeft(deadline);
    if (left == 0) return false;
    pump(left < 50 ? left : 50);
  }
}

bool PtyTerminal::waitForRow(int row, std::string_view expected, int timeoutMs) {
  return waitUntil([&] { return rowText(row) == expected; }, timeoutMs);
}

void PtyTerminal::settle(int quietMs, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (millisecondsLeft(deadline) > 0 && pump(quietMs)) {
  }
}

std::string PtyTerminal::cellText(int column, int row) const {
  VTermScreenCell cell{};
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  std::string text;
  if (cell.chars[0] == 0) return " ";
  for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i)
    appendUtf8(text, cell.chars[i]);
  return text;
}

std::string PtyTerminal::rowText(int row) const {
  int rows = 0;
  int columns = 0;
  vterm_get_size(vterm_, &rows, &columns);
  std::string text;
  for (int column = 1; column <= columns; ++column) text += cellText(column, row);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string PtyTerminal::screenText() const {
  std::string text;
  for (int row = 1; row <= 25; ++row) text += rowText(row) + "\n";
  return text;
}

bool PtyTerminal::shows(std::string_view text) const {
  for (int row = 1; row <= 25; ++row)
    if (rowText(row).find(text) != std::string::npos) return true;
  return false;
}

CellColours PtyTerminal::colours(int column, int row) const {
  VTermScreenCell cell{};
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  return CellColours{colourIndex(cell.fg), colourIndex(cell.bg), cell.attrs.bold != 0};
}

int PtyTerminal::cursorColumn() const {
  VTermPos position{};
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position.col + 1;
}

int PtyTerminal::cursorRow() const {
  VTermPos position{};
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position.row + 1;
}

void PtyTerminal::resize(int rows, int columns) {
  vterm_set_size(vterm_, rows, columns);
  winsize size{};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(columns);
  ::ioctl(master_, TIOCSWINSZ, &size);
}

void PtyTerminal::sendSignal(int signal) {
  if (child_ > 0 && !exited_) ::kill(child_, signal);
}

bool PtyTerminal::waitForExit(int timeoutMs, int& status) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (::waitpid(child_, &status, WNOHANG) == child_) {
      exited_ = true;
      while (pump(20)) {
      }
      return true;
    }
    const int left = millisecondsLeft(deadline);
    if (left == 0) return false;
    pump(left < 20 ? left : 20);
  }
}

termios PtyTerminal::modes() const {
  termios modes{};
  ::tcgetattr(slave_, &modes);
  return modes;
}

}  // namespace testing
}  // namespace corvane

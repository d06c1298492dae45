// Runs a program on a pseudo-terminal and shows its output in a real
// terminal emulator (libvterm), so tests can send key bytes and read back
// the screen cells and colours as a user would see them. Every wait has a
// time limit: a program that misbehaves fails the test instead of hanging it.
#ifndef CORVANE_TESTS_SUPPORT_PTY_TERMINAL_H
#define CORVANE_TESTS_SUPPORT_PTY_TERMINAL_H

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace corvane {
namespace testing {

// Colours of a cell: an index 0-255 of the terminal's palette, or
// kDefaultColour for the terminal's default.
struct CellColours {
  int foreground;
  int background;
  bool bold;
};
inline constexpr int kDefaultColour = -1;

class PtyTerminal {
 public:
  // Opens the pseudo-terminal at once, so its modes can be read before the
  // program starts.
  PtyTerminal(int rows, int columns);
  ~PtyTerminal();
  PtyTerminal(const PtyTerminal&) = delete;
  PtyTerminal& operator=(const PtyTerminal&) = delete;

  // Starts the program (once) with the arguments; environment entries
  // ("NAME=value") are added to (or replace those of) the test's own.
  bool start(const std::string& program, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment);

  void send(std::string_view bytes);
  // Waits until the program has read everything sent to it; false when the
  // time ran out first.
  bool waitForInputRead(int timeoutMs);
  // Reads the program's output into the emulator until the condition holds;
  // false when the time ran out first.
  bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
  bool waitForRow(int row, std::string_view expected, int timeoutMs);
  // Reads until the program has written nothing for quietMs.
  void settle(int quietMs, int timeoutMs);

  // 1-based, as the console counts. Text in UTF-8, trailing blanks dropped.
  std::string rowText(int row) const;
  std::string cellText(int column, int row) const;
  // The text of rows 1 to 25, a line each (rows the terminal lacks are
  // blank): what a failed check prints.
  std::string screenText() const;
  // Whether some row of the 25 shows the text.
  bool shows(std::string_view text) const;
  CellColours colours(int column, int row) const;
  int cursorColumn() const;
  int cursorRow() const;

  // Changes the window size (the program gets SIGWINCH).
  void resize(int rows, int columns);
  void sendSignal(int signal);
  // Waits for the program to end and gives its wait status.
  bool waitForExit(int timeoutMs, int& status);
  // The terminal modes of the pseudo-terminal now.
  termios modes() const;

  // Everything the program has written so far.
  const std::string& output() const { return output_; }
  // When the last of it was read, for latency measurements.
  std::chrono::steady_clock::time_point lastOutputTime() const { return lastOutput_; }

 private:
  // Reads what is there within timeoutMs; false when nothing came.
  bool pump(int timeoutMs);

  int master_ = -1;
  int slave_ = -1;
  pid_t child_ = -1;
  bool exited_ = false;
  VTerm* vterm_ = nullptr;
  VTermScreen* screen_ = nullptr;
  std::string output_;
  std::chrono::steady_clock::time_point lastOutput_;
};

}  // namespace testing
}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_PTY_TERMINAL_H

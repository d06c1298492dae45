// The console on a real terminal, through curses. The cells of the
// CellConsole are the truth; before Corvane waits for a key, the cells that
// changed since the last wait are put on the display, so that typing one
// character sends little more than that character. Keys (and mouse reports,
// unless CORVANE_MOUSE=0) are read as raw bytes and decoded by the
// KeyDecoder; clicks while the size request shows are dropped.
//
// The screen is drawn from the terminal's top-left corner. A terminal of 24
// rows shows all but the 25th, which the screens leave blank; a smaller one
// shows a request for a larger window until it grows, and drops the keys
// pressed meanwhile. Every other key counts, in the order it came.
//
// Curses only draws here; the key bytes are read straight from the terminal,
// so that a resize is noticed even while Corvane waits for a key.
//
// A bracketed paste whose end marker never comes (a terminal that lost it, a
// paste cut off) ends once no byte has arrived for the paste timeout: a real
// paste arrives as one burst, so the keys typed after it are keys again. The
// bytes of an old-style mouse report are waited for as long.
#ifndef CORVANE_PLATFORM_POSIX_TERMINAL_CONSOLE_H
#define CORVANE_PLATFORM_POSIX_TERMINAL_CONSOLE_H

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "console/cell_console.h"
#include "console/key_decoder.h"
#include "platform/colour_setting.h"
#include "platform/native_console.h"
#include "platform/posix/terminal_mode.h"
#include "platform/posix/terminal_palette.h"

namespace corvane {

class TerminalConsole : public CellConsole {
 public:
  // Takes over the terminal on standard input, or says why it cannot.
  static OpenedConsole open();
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  int getKey() override;
  // Reads nothing: a key pressed while the usage screen waits here stays in
  // the input for the shell. A click would end the wait and leave its
  // report there too, so the terminal is asked to stop sending them.
  bool keyPending() override;
  bool keyWasPasted() const override { return pasted_; }
  bool showsColour() const override { return palette_.hasColours() && colourWanted_; }

  // Puts the changed cells and the cursor on the display.
  void present();

 protected:
  void bell() override;

 private:
  explicit TerminalConsole(const TerminalFacts& facts);
  // Waits up to timeoutMs (-1: for ever) for key bytes and decodes them,
  // redrawing on resizes meanwhile; false when none came.
  bool readInput(int timeoutMs);
  // Reads the rest of an escape sequence begun by the bytes so far.
  void finishSequence();
  // Ends a paste that has been quiet for the paste timeout.
  void endStalledPaste();
  // How long the next wait for input may last (-1: for ever): no longer
  // than the open paste still has before it counts as stalled.
  int inputWaitLimit() const;
  void applyResize();
  void drawCell(int column, int row, const Cell& cell);
  // True while the window is too small for the screen, which is hidden
  // behind the request for a larger window.
  bool screenHidden() const;
  // Keys pressed while the screen is hidden would act on what nobody can
  // see, so they are dropped (Ctrl-C is a signal, no key, and still ends
  // the run).
  void dropKeysWhileHidden();
  void showSizeRequest();

  TerminalFacts facts_;
  TerminalPalette palette_;
  bool colourWanted_ = colourWanted();
  KeyDecoder decoder_;
  // When the last bytes came in, to know when an open paste has stalled.
  std::chrono::steady_clock::time_point lastInput_;
  int pasteTimeout_;
  // What the display shows, to send only the differences.
  std::array<Cell, kScreenColumns * kScreenRows> shown_{};
  bool shownValid_ = false;
  bool cursorVisible_ = true;
  // The terminal went away (hang-up with SIGHUP ignored): every key is Esc,
  // so the run ends instead of spinning.
  bool inputLost_ = false;
  bool pasted_ = false;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_TERMINAL_CONSOLE_H

// The console used when standard input is not a terminal: keys are read from
// it as bytes, decoded as a terminal's would be (UTF-8 characters and escape
// sequences alike; only an Esc followed by a character is two keys here, not
// an Alt chord), and nothing is drawn. This is
// how scripts (and the end-to-end tests) drive Corvane. The cells are still
// kept, so the screens behave exactly as on a terminal. Every key of a script
// is meant, so none counts as typed ahead; once the input ends every further
// key is Esc, so a script that stops early ends the run instead of hanging.
#ifndef CORVANE_PLATFORM_SCRIPTED_CONSOLE_H
#define CORVANE_PLATFORM_SCRIPTED_CONSOLE_H

#include "platform/cell_console.h"
#include "platform/key_decoder.h"

namespace corvane {

class ScriptedConsole : public CellConsole {
 public:
  // Reads from the descriptor, which stays the caller's to close.
  explicit ScriptedConsole(int inputDescriptor);

  int getKey() override;
  bool keyPending() override;
  bool typedAheadPending() override { return false; }
  void setLineEditing(bool active) override { decoder_.setLineEditing(active); }
  bool scripted() const override { return true; }

  bool inputEnded() const { return ended_; }

 private:
  // Reads and decodes one chunk; with wait false only if bytes are ready.
  // False when nothing was read.
  bool readInput(bool wait);

  int input_;
  KeyDecoder decoder_{KeyDecoder::Source::kScript};
  bool ended_ = false;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_SCRIPTED_CONSOLE_H

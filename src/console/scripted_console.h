// The console used when standard input is not a terminal: keys are read from
// it as bytes, decoded as a terminal's would be (UTF-8 characters and escape
// sequences alike; only an Esc followed by a character is two keys here, not
// an Alt chord), and nothing is drawn. This is
// how scripts (and the end-to-end tests) drive Corvane. The cells are still
// kept, so the screens behave exactly as on a terminal. Once the input ends
// every further key is Esc, so a script that stops early ends the run
// instead of hanging.
#ifndef CORVANE_CONSOLE_SCRIPTED_CONSOLE_H
#define CORVANE_CONSOLE_SCRIPTED_CONSOLE_H

#include <memory>

#include "console/cell_console.h"
#include "console/key_decoder.h"

namespace corvane {

// Where the bytes of a script come from: standard input, read as each
// system reads a file or a pipe.
class ScriptInput {
 public:
  virtual ~ScriptInput() = default;
  // Reads up to size bytes, waiting for them; 0 at the end of the input,
  // and less than 0 on an error (which ends the input just as well).
  virtual long read(char* buffer, unsigned size) = 0;
  // True when a read would not wait.
  virtual bool ready() = 0;
};

class ScriptedConsole : public CellConsole {
 public:
  explicit ScriptedConsole(std::unique_ptr<ScriptInput> input);

  int getKey() override;
  bool keyPending() override;
  bool keyWasPasted() const override { return pasted_; }
  bool scripted() const override { return true; }

  bool inputEnded() const { return ended_; }

 private:
  // Reads and decodes one chunk; with wait false only if bytes are ready.
  // False when nothing was read.
  bool readInput(bool wait);

  std::unique_ptr<ScriptInput> input_;
  KeyDecoder decoder_{KeyDecoder::Source::kScript};
  bool ended_ = false;
  bool pasted_ = false;
};

}  // namespace corvane

#endif  // CORVANE_CONSOLE_SCRIPTED_CONSOLE_H

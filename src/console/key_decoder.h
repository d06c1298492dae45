// Turns the bytes a terminal sends into the key presses of the Console's
// getKey: a character, 0 followed by a scan code for keys without one, or
// a whole key code (a non-ASCII character, an Alt chord). Terminals send
// keys without a character as escape sequences in several dialects (CSI
// "ESC [", SS3 "ESC O", the Linux console's own), all understood here;
// sequences it does not know are swallowed whole rather than typed. Text
// arrives as UTF-8: each character is one key. Mouse reports, once asked
// for, become mouse events (console/mouse_event.h) among the keys.
#ifndef CORVANE_CONSOLE_KEY_DECODER_H
#define CORVANE_CONSOLE_KEY_DECODER_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "console/utf8.h"

namespace corvane {

class KeyDecoder {
 public:
  // Where the bytes come from. A terminal sends Alt+key as Esc and the key
  // at once, so there Esc followed directly by a character is one Alt
  // chord. A script has no "at once": every byte of it is a key its author
  // meant, so there Esc followed by a character is two keys.
  enum class Source { kTerminal, kScript };

  explicit KeyDecoder(Source source = Source::kTerminal) : source_(source) {}

  // Whether the terminal was asked for mouse reports. Off, they are
  // swallowed as unknown sequences (and the old "ESC [ M" form is not
  // known at all); on, they become mouse events; muted, they are read whole
  // and dropped, for the moments when a click must do nothing.
  enum class Mouse { kOff, kOn, kMuted };
  void setMouse(Mouse mouse) { mouse_ = mouse; }

  void feed(std::string_view bytes);
  void feed(std::uint8_t byte);

  // No further byte came in time (or the input ended): an Esc waiting for a
  // sequence to follow was the Esc key itself; a sequence or character cut
  // short is dropped; a CR no longer pairs with a later LF.
  void inputPaused();
  // True while the bytes so far are the start of a sequence or of a
  // character, so the caller should wait a moment for the rest before
  // calling inputPaused.
  bool midSequence() const { return state_ != State::kGround; }
  // True while the bytes so far are an old-style mouse report ("ESC [ M")
  // still waiting for its three bytes. They are sent at once, but a slow
  // link can hold them back past the escape delay; the caller should wait
  // longer for them (a report cut short is dropped by inputPaused), or they
  // would be typed as keys, a space among them.
  bool midMouseReport() const { return state_ == State::kOldMouse; }

  // True between a paste's start marker and its end. A paste arrives as one
  // burst; when no byte has come for a while its end marker is not coming,
  // and the caller says so with pasteStalled, so that the keys typed next
  // are keys again.
  bool inPaste() const { return pasting_; }
  void pasteStalled() { pasting_ = false; }

  bool hasKey() const { return !keys_.empty(); }
  // True when a key press is queued; mouse events queued before it are
  // dropped, since whoever asks only waits for a key.
  bool hasKeyPress();
  // The next getKey value; 27 (Esc) when none is queued.
  int takeKey();
  // True when the next key came from a bracketed paste: its printable
  // characters, marked, so that whoever reads them decides what a paste
  // means there.
  bool nextKeyPasted() const { return !keys_.empty() && keys_.front().pasted; }

 private:
  enum class State { kGround, kEscape, kCsi, kSs3, kLinuxFunction, kCharacter, kOldMouse };
  struct Key {
    int value;
    bool pasted;
  };

  void ground(std::uint8_t byte);
  // The byte after an Esc: a sequence begins, or the Esc was a key of its
  // own, or an Alt chord.
  void escapeFollowedBy(std::uint8_t byte);
  // The byte after "ESC [ [", the Linux console's function keys.
  void linuxFunction(std::uint8_t byte);
  // A byte of the three after an old-style "ESC [ M" mouse report.
  void oldMouseByte(std::uint8_t byte);
  void character(std::uint8_t byte);
  // The next byte of a non-ASCII character; false when it cut the character
  // short and is to be read afresh.
  bool continueCharacter(std::uint8_t byte);
  // A key by the code readKey gives: negated scan codes become 0 and the
  // scan code.
  void key(int code);
  void finishCsi(std::uint8_t final);
  void finishSs3(std::uint8_t final);
  // A byte inside a CSI or SS3 sequence, which `finish` ends.
  void sequenceByte(std::uint8_t byte, void (KeyDecoder::*finish)(std::uint8_t));
  void addParameter(std::uint8_t byte);
  int firstParameter() const;
  // "ESC [ < button ; column ; row M" (a press) or "... m" (a release).
  void sgrMouseReport(std::uint8_t final);
  // A report's button byte (as the terminal numbers buttons) at a position.
  void mouseReport(int button, int column, int row);

  Source source_;
  std::deque<Key> keys_;
  State state_ = State::kGround;
  std::string parameters_;
  // The parameters were longer than anything a key or report sends.
  bool parametersCut_ = false;
  // The three bytes of an old-style mouse report read so far.
  std::string oldMouse_;
  Mouse mouse_ = Mouse::kOff;
  Utf8Reader utf8_;
  // The character being read came right after an Esc: an Alt chord.
  bool afterEscape_ = false;
  bool pasting_ = false;
  std::size_t pasteLength_ = 0;
  bool lastWasCarriageReturn_ = false;
};

}  // namespace corvane

#endif  // CORVANE_CONSOLE_KEY_DECODER_H

// Turns the bytes a terminal sends into the key presses of the Console's
// getKey: a character, or 0 followed by a scan code for keys without one.
// Terminals send those keys as escape sequences in several dialects (CSI
// "ESC [", SS3 "ESC O", the Linux console's own), all understood here;
// sequences it does not know are swallowed whole rather than typed.
#ifndef CORVANE_PLATFORM_KEY_DECODER_H
#define CORVANE_PLATFORM_KEY_DECODER_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace corvane {

class KeyDecoder {
 public:
  void feed(std::string_view bytes);
  void feed(std::uint8_t byte);

  // No further byte came in time (or the input ended): an Esc waiting for a
  // sequence to follow was the Esc key itself; a sequence cut short is
  // dropped; a CR no longer pairs with a later LF.
  void inputPaused();
  // True while the bytes so far are the start of a sequence, so the caller
  // should wait a moment for the rest before calling inputPaused.
  bool midSequence() const { return state_ != State::kGround; }

  bool hasKey();
  // The next getKey value; 27 (Esc) when none is queued.
  int takeKey();
  // True when the next key came from a bracketed paste.
  bool nextKeyPasted();

  // Pasted text becomes keys only while a line editor runs; pasted keys
  // that come up for reading at any other time are dropped. Deciding when
  // they are read, not when they arrive, lets a script paste into the
  // editor of a later screen.
  void setLineEditing(bool active) { lineEditing_ = active; }

 private:
  enum class State { kGround, kEscape, kCsi, kSs3, kLinuxFunction };
  struct Key {
    int value;
    bool pasted;
  };

  void ground(std::uint8_t byte);
  void character(std::uint8_t byte);
  // A key by the code readKey gives: negative codes become 0 and the scan.
  void key(int code);
  void finishCsi(std::uint8_t final);
  void finishSs3(std::uint8_t final);
  int firstParameter() const;
  void dropIgnoredPaste();

  std::deque<Key> keys_;
  State state_ = State::kGround;
  std::string parameters_;
  bool pasting_ = false;
  bool lineEditing_ = false;
  bool lastWasCarriageReturn_ = false;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_KEY_DECODER_H

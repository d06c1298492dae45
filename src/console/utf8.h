// Reading UTF-8 one byte at a time, as keys arrive from a terminal and as
// names are turned into cells for the screen. Strict: overlong forms,
// surrogates and code points past U+10FFFF are invalid.
#ifndef CORVANE_CONSOLE_UTF8_H
#define CORVANE_CONSOLE_UTF8_H

#include <cstdint>

namespace corvane {

class Utf8Reader {
 public:
  enum class Step {
    kMore,       // the byte began or continued a character
    kCharacter,  // the byte ended a character (an ASCII byte is one)
    kInvalid,    // the byte can start no character; it is used up
    kBroken,     // the character begun so far was cut short by this byte,
                 // which is not used up: it is to be read afresh
  };

  Step feed(std::uint8_t byte);
  // The character that the last kCharacter step ended.
  char32_t character() const { return value_; }
  // Forgets a character begun so far.
  void reset() { needed_ = 0; }

 private:
  char32_t value_ = 0;
  int needed_ = 0;
  // The range the next continuation byte must lie in.
  std::uint8_t lowest_ = 0x80;
  std::uint8_t highest_ = 0xBF;
};

}  // namespace corvane

#endif  // CORVANE_CONSOLE_UTF8_H

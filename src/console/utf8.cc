#include "console/utf8.h"

namespace corvane {

Utf8Reader::Step Utf8Reader::feed(std::uint8_t byte) {
  if (needed_ > 0) {
    if (byte < lowest_ || byte > highest_) {
      needed_ = 0;
      return Step::kBroken;
    }
    value_ = (value_ << 6) | (byte & 0x3Fu);
    lowest_ = 0x80;
    highest_ = 0xBF;
    return --needed_ == 0 ? Step::kCharacter : Step::kMore;
  }
  if (byte < 0x80) {
    value_ = byte;
    return Step::kCharacter;
  }
  lowest_ = 0x80;
  highest_ = 0xBF;
  if (byte >= 0xC2 && byte <= 0xDF) {
    needed_ = 1;
    value_ = byte & 0x1Fu;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    needed_ = 2;
    value_ = byte & 0x0Fu;
    if (byte == 0xE0) lowest_ = 0xA0;   // shorter forms are overlong
    if (byte == 0xED) highest_ = 0x9F;  // U+D800 on are surrogates
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    needed_ = 3;
    value_ = byte & 0x07u;
    if (byte == 0xF0) lowest_ = 0x90;   // overlong
    if (byte == 0xF4) highest_ = 0x8F;  // past U+10FFFF
  } else {
    // A continuation byte with nothing to continue, C0 and C1 (only ever
    // overlong), or F5 and above (past U+10FFFF).
    return Step::kInvalid;
  }
  return Step::kMore;
}

}  // namespace corvane

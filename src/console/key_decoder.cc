#include "console/key_decoder.h"

#include <algorithm>

#include "console/key_codes.h"
#include "console/mouse_event.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

constexpr std::uint8_t kEscape = 0x1B;
// Parameters longer than this belong to no key; they are still swallowed.
constexpr std::size_t kMaxParameters = 16;
// The most bytes one paste may type. A line of a project is far shorter;
// the rest of a longer paste (a whole file pasted by mistake) is dropped
// rather than queued, and its line ends are never read as Enter.
constexpr std::size_t kPasteCap = 8192;

bool isFinalByte(std::uint8_t byte) { return byte >= 0x40 && byte <= 0x7E; }
bool isParameterByte(std::uint8_t byte) { return byte >= 0x20 && byte <= 0x3F; }

// The key of a cursor letter, the same after CSI and SS3 and whatever
// modifier parameters came with it (Ctrl+Up is Up to Corvane).
int cursorKey(std::uint8_t final) {
  switch (final) {
    case 'A': return kKeyUp;
    case 'B': return kKeyDown;
    case 'C': return kKeyRight;
    case 'D': return kKeyLeft;
    case 'H': return kKeyHome;
    case 'F': return kKeyEnd;
    case 'P': return kKeyF1;
    case 'Q': return kKeyF1 - 1;
    case 'R': return kKeyF1 - 2;
    case 'S': return kKeyF1 - 3;
    default: return 0;
  }
}

// "ESC [ n ~" keys, the numbering of the VT220 and xterm.
int tildeKey(int number) {
  switch (number) {
    case 1: case 7: return kKeyHome;
    case 2: return kKeyInsert;
    case 3: return kKeyDelete;
    case 4: case 8: return kKeyEnd;
    case 5: return kKeyPageUp;
    case 6: return kKeyPageDown;
    case 11: case 12: case 13: case 14: case 15: return kKeyF1 - (number - 11);
    case 17: case 18: case 19: case 20: case 21: return kKeyF1 - 5 - (number - 17);
    case 23: return kKeyF11;
    case 24: return kKeyF12;
    default: return 0;
  }
}

constexpr int kPasteStart = 200;
constexpr int kPasteEnd = 201;

}  // namespace

void KeyDecoder::feed(std::string_view bytes) {
  for (char byte : bytes) feed(static_cast<std::uint8_t>(byte));
}

void KeyDecoder::feed(std::uint8_t byte) {
  const bool afterCarriageReturn = lastWasCarriageReturn_;
  lastWasCarriageReturn_ = false;
  switch (state_) {
    case State::kGround:
      // CR LF is one Enter: scripts written on Windows end their lines so.
      if (byte == '\n' && afterCarriageReturn && !pasting_) return;
      ground(byte);
      break;
    case State::kEscape:
      escapeFollowedBy(byte);
      break;
    case State::kCsi:
      if (byte == '[' && parameters_.empty()) {
        state_ = State::kLinuxFunction;
      } else {
        sequenceByte(byte, &KeyDecoder::finishCsi);
      }
      break;
    case State::kSs3:
      sequenceByte(byte, &KeyDecoder::finishSs3);
      break;
    case State::kLinuxFunction:
      linuxFunction(byte);
      break;
    case State::kCharacter:
      if (!continueCharacter(byte)) ground(byte);
      break;
    case State::kOldMouse:
      oldMouseByte(byte);
      break;
  }
}

void KeyDecoder::escapeFollowedBy(std::uint8_t byte) {
  if (byte == '[' || byte == 'O') {
    state_ = byte == '[' ? State::kCsi : State::kSs3;
    parameters_.clear();
    parametersCut_ = false;
    return;
  }
  state_ = State::kGround;
  if (byte == kEscape || pasting_ || source_ == Source::kScript) {
    // Esc followed by a second Esc, or by anything in a paste or a script,
    // was the Esc key itself; the byte after it counts on its own.
    if (!pasting_) key(kKeyEsc);
    ground(byte);
  } else if (byte >= 0x80) {
    // Alt with a non-ASCII character: one chord once it is whole.
    afterEscape_ = true;
    character(byte);
  } else {
    // Alt with a character key, Alt+Enter and Alt+Backspace included: none
    // of them is the Esc key.
    key(kKeyAltChord);
  }
}

void KeyDecoder::linuxFunction(std::uint8_t byte) {
  // The Linux console sends F1 to F5 as "ESC [ [ A" to "ESC [ [ E". A
  // control byte or an Esc here cut the sequence short, as in any other:
  // swallowed, an Esc would take the next sequence with it (a paste's end
  // marker among them).
  state_ = State::kGround;
  if (!isParameterByte(byte) && !isFinalByte(byte)) {
    ground(byte);
  } else if (!pasting_ && byte >= 'A' && byte <= 'E') {
    key(kKeyF1 - (byte - 'A'));
  }
}

void KeyDecoder::oldMouseByte(std::uint8_t byte) {
  // Three bytes, each a number plus 32, taken as they come: a column past
  // 95 is a byte above 127, which is no UTF-8 here.
  oldMouse_ += static_cast<char>(byte);
  if (oldMouse_.size() < 3) return;
  state_ = State::kGround;
  const auto number = [this](std::size_t i) {
    return static_cast<std::uint8_t>(oldMouse_[i]) - 32;
  };
  mouseReport(number(0), number(1), number(2));
}

void KeyDecoder::sequenceByte(std::uint8_t byte, void (KeyDecoder::*finish)(std::uint8_t)) {
  if (isParameterByte(byte)) {
    addParameter(byte);
    return;
  }
  state_ = State::kGround;
  if (isFinalByte(byte)) {
    (this->*finish)(byte);
  } else {
    // A control byte cannot be inside a sequence: the sequence was cut
    // short, and the byte is read afresh.
    ground(byte);
  }
}

void KeyDecoder::addParameter(std::uint8_t byte) {
  if (parameters_.size() < kMaxParameters) {
    parameters_ += static_cast<char>(byte);
  } else {
    parametersCut_ = true;
  }
}

void KeyDecoder::ground(std::uint8_t byte) {
  if (byte == kEscape) {
    state_ = State::kEscape;
    return;
  }
  character(byte);
}

void KeyDecoder::character(std::uint8_t byte) {
  if (pasting_) {
    // Only the printable characters of a paste are typed into the field;
    // its line ends and tabs would end or confuse the edit, and the screens
    // type no other characters anyway.
    if (pasteLength_ >= kPasteCap) return;
    ++pasteLength_;
    if (isPrintableAscii(byte)) keys_.push_back(Key{byte, true});
    return;
  }
  if (byte >= 0x80) {
    // The first byte of a UTF-8 character, or a byte that starts none,
    // which is dropped.
    if (utf8_.feed(byte) == Utf8Reader::Step::kMore) {
      state_ = State::kCharacter;
    } else {
      afterEscape_ = false;
    }
    return;
  }
  switch (byte) {
    case 0:
      // Ctrl+Space sends NUL, which getKey uses to announce a scan code.
      return;
    case '\r':
      lastWasCarriageReturn_ = true;
      key(kKeyEnter);
      return;
    case '\n':
      key(kKeyEnter);
      return;
    case 8:
    case 127:
      key(kKeyBackspace);
      return;
    default:
      key(byte);
      return;
  }
}

bool KeyDecoder::continueCharacter(std::uint8_t byte) {
  switch (utf8_.feed(byte)) {
    case Utf8Reader::Step::kMore:
      return true;
    case Utf8Reader::Step::kCharacter:
      state_ = State::kGround;
      key(afterEscape_ ? kKeyAltChord : kKeyNonAscii);
      afterEscape_ = false;
      return true;
    default:
      // Cut short: what came of the character is dropped.
      state_ = State::kGround;
      afterEscape_ = false;
      return false;
  }
}

void KeyDecoder::key(int code) {
  if (code < 0 && !isWholeKeyCode(code)) {
    keys_.push_back(Key{0, false});
    keys_.push_back(Key{-code, false});
  } else {
    keys_.push_back(Key{code, false});
  }
}

int KeyDecoder::firstParameter() const {
  int value = 0;
  bool digits = false;
  for (char c : parameters_) {
    if (c < '0' || c > '9') break;
    digits = true;
    value = value * 10 + (c - '0');
    if (value > 9999) return -1;
  }
  return digits ? value : -1;
}

void KeyDecoder::finishCsi(std::uint8_t final) {
  const int number = firstParameter();
  if (pasting_) {
    if (final == '~' && number == kPasteEnd) pasting_ = false;
    return;
  }
  if (mouse_ != Mouse::kOff) {
    // The old report form ends its sequence before its three bytes.
    if (final == 'M' && parameters_.empty()) {
      state_ = State::kOldMouse;
      oldMouse_.clear();
      return;
    }
    if (!parameters_.empty() && parameters_[0] == '<' && (final == 'M' || final == 'm')) {
      sgrMouseReport(final);
      return;
    }
  }
  // Private sequences ("ESC [ ?", "ESC [ <", mouse and focus reports) are
  // no keys.
  if (!parameters_.empty() && (parameters_[0] < '0' || parameters_[0] > ';')) return;
  if (final == '~') {
    if (number == kPasteStart) {
      pasting_ = true;
      pasteLength_ = 0;
      return;
    }
    if (const int code = tildeKey(number)) key(code);
    return;
  }
  if (const int code = cursorKey(final)) key(code);
}

void KeyDecoder::sgrMouseReport(std::uint8_t final) {
  // Nothing acts on a release; a report cut short is no report.
  if (final != 'M' || parametersCut_) return;
  int numbers[3] = {};
  std::size_t count = 0;
  int value = -1;
  // The parameters after "<", with a ";" after the last number.
  for (std::size_t i = 1; i <= parameters_.size(); ++i) {
    const char c = i < parameters_.size() ? parameters_[i] : ';';
    if (c >= '0' && c <= '9') {
      value = std::min((value < 0 ? 0 : value) * 10 + (c - '0'), kMouseCoordinateLimit + 1);
    } else if (c == ';' && value >= 0 && count < 3) {
      numbers[count++] = value;
      value = -1;
    } else {
      return;
    }
  }
  if (count == 3) mouseReport(numbers[0], numbers[1], numbers[2]);
}

void KeyDecoder::mouseReport(int button, int column, int row) {
  if (mouse_ != Mouse::kOn || column < 1 || row < 1) return;
  MouseEvent event;
  event.column = column;
  event.row = row;
  // Shift, Meta and Ctrl (4, 8, 16) change nothing about a click.
  switch (button & ~0x1C) {
    case 0:
    case 1:
    case 2:
      event.button = button & 3;
      break;
    case 64:
      event.action = MouseEvent::Action::kWheelUp;
      break;
    case 65:
      event.action = MouseEvent::Action::kWheelDown;
      break;
    default:
      // A release (3 in the old form), a drag (32 and up), the sideways
      // wheel or a button past the third: nothing acts on them.
      return;
  }
  key(mouseCode(event));
}

void KeyDecoder::finishSs3(std::uint8_t final) {
  if (pasting_) return;
  if (final == 'M') {
    key(kKeyEnter);  // keypad Enter in application mode
    return;
  }
  // The keypad's digits and operators in application mode.
  if (final >= 'j' && final <= 'y') {
    key(static_cast<std::uint8_t>("*+,-./0123456789"[final - 'j']));
    return;
  }
  if (final == 'X') {
    key('=');
    return;
  }
  if (const int code = cursorKey(final)) key(code);
}

void KeyDecoder::inputPaused() {
  lastWasCarriageReturn_ = false;
  if (state_ == State::kEscape && !pasting_) key(kKeyEsc);
  state_ = State::kGround;
  utf8_.reset();
  afterEscape_ = false;
}

bool KeyDecoder::hasKeyPress() {
  while (!keys_.empty() && isMouseCode(keys_.front().value)) keys_.pop_front();
  return !keys_.empty();
}

int KeyDecoder::takeKey() {
  if (keys_.empty()) return kKeyEsc;
  const int value = keys_.front().value;
  keys_.pop_front();
  return value;
}

}  // namespace corvane

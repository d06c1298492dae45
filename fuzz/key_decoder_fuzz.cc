// Feeds any bytes to the key decoder, the way a terminal or a script hands
// them over, with pauses, stalled pastes and mouse modes switched on and off
// between them, and checks what the decoder promises:
//
// - every key it hands out is one that key_codes.h lists: a character
//   1-127, 0 followed by the scan code of a named key, the non-ASCII and
//   Alt codes (no Alt chord from a script) or a mouse event;
// - a mouse event comes only from a report that ended while reports were
//   on, at the position and with the button the report sent;
// - a byte inside a paste types nothing but printable characters marked as
//   pasted, at most 8192 a paste;
// - a paste's end marker ends the paste whatever was pasted before it, and
//   a whole mouse report sent from rest gives exactly its event;
// - after a pause the decoder waits for no sequence.
//
// The input: the first byte picks the source (bit 0), the first mouse mode
// (bits 1-2) and whether keys are read as the screens read them or through
// hasKeyPress, which drops clicks (bit 4). Every later byte is fed as it is,
// except 0xFE, which starts an action picked by the byte after it (its
// value modulo 8):
//   0 a pause; 1 mouse mode (the byte / 8, modulo 3); 3 a pause that ends a
//   paste, as a terminal's long quiet does; 4 a bracketed paste: a length
//   byte n, a repeat byte r and n bytes pasted 1 + r % 64 times; 5 a whole
//   mouse report: a form byte (bit 0: the old form; bit 1: a release), the
//   button byte and two bytes each for the column and the row; any other
//   the byte 0xFE itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/key_codes.h"
#include "console/key_decoder.h"
#include "console/mouse_event.h"

namespace {

using corvane::KeyDecoder;
using corvane::MouseEvent;

constexpr std::uint8_t kAction = 0xFE;
constexpr std::size_t kPasteCap = 8192;
constexpr std::size_t kHistory = 32;

void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "key decoder fuzz: %s\n", what);
  std::abort();
}

bool isNamedKey(int code) {
  using namespace corvane;
  if (code <= kKeyF1 && code >= kKeyF1 - 9) return true;
  for (int key : {kKeyHome, kKeyUp, kKeyPageUp, kKeyLeft, kKeyRight, kKeyEnd, kKeyDown,
                  kKeyPageDown, kKeyInsert, kKeyDelete, kKeyF11, kKeyF12}) {
    if (code == key) return true;
  }
  return false;
}

// What a report button does: a press of buttons 1-3 or a wheel turn, with
// Shift, Meta and Ctrl (4, 8, 16) making no difference; nothing otherwise.
std::optional<MouseEvent> buttonEvent(int button) {
  MouseEvent event;
  const int kind = button & ~0x1C;
  if (kind >= 0 && kind <= 2) {
    event.button = kind;
  } else if (kind == 64 || kind == 65) {
    event.action = kind == 64 ? MouseEvent::Action::kWheelUp : MouseEvent::Action::kWheelDown;
  } else {
    return std::nullopt;
  }
  return event;
}

std::optional<MouseEvent> placed(std::optional<MouseEvent> event, long column, long row) {
  if (!event || column < 1 || row < 1) return std::nullopt;
  event->column = static_cast<int>(std::min<long>(column, corvane::kMouseCoordinateLimit));
  event->row = static_cast<int>(std::min<long>(row, corvane::kMouseCoordinateLimit));
  return event;
}

// The event of a report that ends `bytes`: "ESC [ M" and three bytes of 32
// plus the button, column and row, or "ESC [ < button ; column ; row M".
std::optional<MouseEvent> reportAtEnd(std::string_view bytes) {
  const std::size_t size = bytes.size();
  if (size >= 6 && bytes.substr(size - 6, 3) == "\x1b[M") {
    const auto number = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]) - 32; };
    return placed(buttonEvent(number(size - 3)), number(size - 2), number(size - 1));
  }
  const std::size_t start = bytes.rfind("\x1b[<");
  if (size == 0 || bytes.back() != 'M' || start == std::string_view::npos) return std::nullopt;
  long numbers[3] = {};
  std::size_t count = 0;
  bool digits = false;
  for (std::size_t i = start + 3; i < size; ++i) {
    const char c = bytes[i];
    if (c >= '0' && c <= '9' && count < 3) {
      numbers[count] = std::min(numbers[count] * 10 + (c - '0'), 100000L);
      digits = true;
    } else if ((c == ';' || i == size - 1) && digits && count < 3) {
      ++count;
      digits = false;
    } else {
      return std::nullopt;
    }
  }
  if (count != 3) return std::nullopt;
  return placed(buttonEvent(static_cast<int>(numbers[0])), numbers[1], numbers[2]);
}

class Run {
 public:
  explicit Run(std::uint8_t settings)
      : decoder_(settings & 1 ? KeyDecoder::Source::kScript : KeyDecoder::Source::kTerminal),
        script_(settings & 1),
        pressesOnly_(settings & 16) {
    setMouse((settings >> 1) & 3);
  }

  void setMouse(int mode) {
    mouse_ = static_cast<KeyDecoder::Mouse>(mode % 3);
    decoder_.setMouse(mouse_);
  }

  // The keys of the last byte are read just before the next one, so that
  // what happens between (a pause, a stalled paste) acts on them first.
  void feed(std::uint8_t byte) {
    drain();
    inPaste_ = decoder_.inPaste();
    mouseOn_ = mouse_ == KeyDecoder::Mouse::kOn;
    decoder_.feed(byte);
    if (!inPaste_ && decoder_.inPaste()) pasted_ = 0;
    history_ += static_cast<char>(byte);
    if (history_.size() > 2 * kHistory) history_.erase(0, kHistory);
  }

  void feed(std::string_view bytes) {
    for (char byte : bytes) feed(static_cast<std::uint8_t>(byte));
  }

  void pause() {
    decoder_.inputPaused();
    check(!decoder_.midSequence(), "waits for a sequence after a pause");
  }

  void stall() {
    pause();
    decoder_.pasteStalled();
    check(!decoder_.inPaste(), "a stalled paste goes on");
  }

  void paste(std::string content) {
    // Nothing inside may end the paste early: an end marker holds "201".
    for (std::size_t at = content.find("201"); at != std::string::npos;
         at = content.find("201", at))
      content[at + 2] = '!';
    const bool atRest = !decoder_.midSequence();
    feed("\x1b[200~");
    if (atRest) check(decoder_.inPaste(), "a paste from rest does not start");
    feed(content);
    feed("\x1b[201~");
    if (atRest) check(!decoder_.inPaste(), "the end marker does not end the paste");
  }

  void report(const std::string& bytes) {
    const bool atRest = !decoder_.midSequence() && !decoder_.inPaste();
    drain();
    events_.clear();
    feed(bytes);
    drain();
    if (!atRest || pressesOnly_) return;
    const std::optional<MouseEvent> expected =
        mouse_ == KeyDecoder::Mouse::kOn ? reportAtEnd(bytes) : std::nullopt;
    check(events_.size() == (expected ? 1u : 0u), "a whole report gives a wrong number of events");
    if (expected) check(events_[0] == *expected, "a whole report gives another event");
  }

  void finish() {
    pause();
    drain();
    check(!decoder_.hasKey(), "a key is left after reading them all");
  }

 private:
  void drain() {
    for (;;) {
      if (!(pressesOnly_ ? decoder_.hasKeyPress() : decoder_.hasKey())) return;
      const bool pasted = decoder_.nextKeyPasted();
      int code = decoder_.takeKey();
      if (code == 0) {
        check(decoder_.hasKey() && !decoder_.nextKeyPasted(), "0 without a scan code after it");
        const int scan = decoder_.takeKey();
        check(scan >= 1 && scan <= 0xFFFF, "a scan code out of range");
        code = -scan;
        check(isNamedKey(code), "a scan code of no named key");
      }
      if (pasted) {
        check(code >= 32 && code <= 126, "a pasted key that is no printable character");
        check(++pasted_ <= kPasteCap, "a paste types more than its cap");
        continue;
      }
      check(!inPaste_, "a key typed from inside a paste");
      if (corvane::isMouseCode(code)) {
        check(mouseOn_, "a mouse event while reports are not on");
        const MouseEvent event = corvane::mouseEventOf(code);
        check(corvane::mouseCode(event) == code, "a mouse code of no event");
        const std::optional<MouseEvent> sent = reportAtEnd(history_);
        check(sent && *sent == event, "a mouse event that the report did not send");
        events_.push_back(event);
      } else if (code == corvane::kKeyAltChord) {
        check(!script_, "an Alt chord from a script");
      } else {
        check(code == corvane::kKeyNonAscii || (code >= 1 && code <= 127) || isNamedKey(code),
              "a key outside the listed codes");
      }
    }
  }

  KeyDecoder decoder_;
  const bool script_;
  const bool pressesOnly_;
  KeyDecoder::Mouse mouse_ = KeyDecoder::Mouse::kOff;
  // What held while the last byte was fed.
  bool inPaste_ = false;
  bool mouseOn_ = false;
  std::size_t pasted_ = 0;
  // The last bytes fed, to tell what a mouse report sent.
  std::string history_;
  std::vector<MouseEvent> events_;
};

// Reads the input front to back; past its end every byte is 0.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  int number() {
    const int high = next();
    return high << 8 | next();
  }
  std::string bytes(std::size_t count) {
    std::string text;
    while (count-- > 0 && !done()) text += static_cast<char>(next());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

std::string mouseReport(Input& input) {
  const std::uint8_t form = input.next();
  const std::uint8_t button = input.next();
  const int column = input.number();
  const int row = input.number();
  if (form & 1)
    return std::string("\x1b[M") + static_cast<char>(button) + static_cast<char>(column) +
           static_cast<char>(row);
  return "\x1b[<" + std::to_string(button) + ";" + std::to_string(column) + ";" +
         std::to_string(row) + (form & 2 ? "m" : "M");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  Run run(input.next());
  while (!input.done()) {
    const std::uint8_t byte = input.next();
    if (byte != kAction) {
      run.feed(byte);
      continue;
    }
    const std::uint8_t action = input.next();
    switch (action % 8) {
      case 0: run.pause(); break;
      case 1: run.setMouse(action / 8); break;
      case 3: run.stall(); break;
      case 4: {
        const std::size_t length = input.next();
        const int repeats = 1 + input.next() % 64;
        const std::string piece = input.bytes(length);
        std::string content;
        for (int i = 0; i < repeats; ++i) content += piece;
        run.paste(content);
        break;
      }
      case 5: run.report(mouseReport(input)); break;
      default: run.feed(kAction); break;
    }
  }
  run.finish();
  return 0;
}

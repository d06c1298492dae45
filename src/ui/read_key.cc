#include "ui/read_key.h"

#include "console/mouse_event.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

// The next key, with the clicks of the window (if any) turned into keys.
int readClickableKey(Console& console, const TextWindow* window) {
  for (;;) {
    const int key = readKeyOrMouse(console);
    if (!isMouseCode(key)) return key;
    if (window == nullptr) continue;
    if (const int clicked = window->keyForMouse(mouseEventOf(key))) return clicked;
  }
}

}  // namespace

int readKeyOrMouse(Console& console, PastedKeys pasted) {
  for (;;) {
    int key = console.getKey();
    if (pasted == PastedKeys::kIgnored && console.keyWasPasted()) continue;
    if (key == 0) {
      // A key without a character: its scan code follows, and comes back
      // negated so that it cannot be mistaken for a character.
      key = -console.getKey();
    } else if (key > 127) {
      // The upper half of the code page: the screens type none of it, and
      // as a signed byte it would pose as a scan code (0xAD as Delete).
      key = kKeyNonAscii;
    }
    // Alt chords mean nothing to any screen; waiting on is how every
    // question and box ignores them, as a menu ignores a key it lacks.
    if (key != kKeyAltChord) return key;
  }
}

int readKey(Console& console) { return readClickableKey(console, nullptr); }

int readKey(const TextWindow& window) { return readClickableKey(window.console(), &window); }

int readKeyFrom(const TextWindow& window, std::string_view allowed,
                const std::vector<int>& extraKeys) {
  for (;;) {
    const int key = readKey(window);
    if (key == kKeyEsc || key == kKeyEnter || isArrowKey(key)) return key;
    for (int extra : extraKeys)
      if (key == extra) return key;
    if (key > 0) {
      for (char candidate : allowed)
        if (upperCaseAscii(static_cast<unsigned char>(candidate)) == upperCaseAscii(key))
          return key;
    }
  }
}

}  // namespace corvane

// Reading one key as the screens want it: scan codes negated, characters
// above ASCII folded into one code, Alt chords skipped (see
// console/key_codes.h for the codes). Every other key counts, in the order
// it came: each is handled far faster than a keyboard repeats, so a burst
// (a fast link, a held key) runs on no longer than it was typed. A paste
// is typed only where text is edited. A click counts only where a window
// says what it means: it then comes back as that key.
#ifndef CORVANE_UI_READ_KEY_H
#define CORVANE_UI_READ_KEY_H

#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/key_codes.h"
#include "ui/text_window.h"

namespace corvane {

// What a reader does with the keys of a paste: the line editor types them;
// anywhere else a paste would press keys nobody meant, and is ignored.
enum class PastedKeys { kIgnored, kTyped };

// One key as a code, or a mouse event as its code (console/mouse_event.h),
// for a reader that handles clicks itself; Alt chords are skipped.
int readKeyOrMouse(Console& console, PastedKeys pasted = PastedKeys::kIgnored);
// One key as a code; mouse events are skipped.
int readKey(Console& console);
// One key as a code; a click on one of the window's places, or a wheel turn
// the window has a key for, comes back as that key, and other mouse events
// are skipped.
int readKey(const TextWindow& window);
// Waits for Esc, Enter, an arrow key, a character among the allowed ones
// (compared upper-cased) or one of the extra key codes (keys such as PgDn
// that a screen also acts on); other keys are read and dropped. The
// window's clicks are keys as readKey gives them.
int readKeyFrom(const TextWindow& window, std::string_view allowed,
                const std::vector<int>& extraKeys = {});

}  // namespace corvane

#endif  // CORVANE_UI_READ_KEY_H

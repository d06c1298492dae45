// Reading one key as the screens want it: scan codes negated, characters
// above ASCII folded into one code, keys typed ahead dropped and Alt chords
// skipped (see platform/key_codes.h for the codes).
#ifndef CORVANE_UI_READ_KEY_H
#define CORVANE_UI_READ_KEY_H

#include <initializer_list>
#include <string_view>

#include "platform/console.h"
#include "platform/key_codes.h"

namespace corvane {

// One key as a code; keys typed ahead of it are dropped, and Alt chords are
// skipped.
int readKey(Console& console);
// Waits for Esc, Enter, an arrow key, a character among the allowed ones
// (compared upper-cased) or one of the extra key codes (keys such as PgDn
// that a screen also acts on); other keys are read and dropped.
int readKeyFrom(Console& console, std::string_view allowed,
                std::initializer_list<int> extraKeys = {});

}  // namespace corvane

#endif  // CORVANE_UI_READ_KEY_H

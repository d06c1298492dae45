#include "ui/keys.h"

#include <cctype>

namespace corvane {

namespace {

int upper(int character) { return std::toupper(static_cast<unsigned char>(character)); }

}  // namespace

int readKey(Console& console) {
  int key = console.getKey();
  if (key == 0) {
    // A key without a character: its scan code follows, and comes back
    // negated so that it cannot be mistaken for a character.
    key = -console.getKey();
  } else if (key > 127) {
    // Characters are signed bytes, so the upper half of the code page is
    // negative too; the screens treat those as "not printable".
    key -= 256;
  }
  // Keys the user typed ahead of this one are thrown away: holding a key down
  // must not queue up a burst of edits that runs on after it is released.
  while (console.typedAheadPending()) console.getKey();
  return key;
}

int readKeyFrom(Console& console, std::string_view allowed) {
  for (;;) {
    const int key = readKey(console);
    if (key == kKeyEsc || key == kKeyEnter || isArrowKey(key)) return key;
    if (key > 0) {
      for (char candidate : allowed)
        if (upper(static_cast<unsigned char>(candidate)) == upper(key)) return key;
    }
  }
}

}  // namespace corvane

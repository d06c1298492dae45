// Key codes: one signed integer per key press.
#ifndef CORVANE_UI_KEYS_H
#define CORVANE_UI_KEYS_H

#include <initializer_list>
#include <string_view>

#include "ui/console.h"

namespace corvane {

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEsc = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyHome = -71;
inline constexpr int kKeyUp = -72;
inline constexpr int kKeyPageUp = -73;
inline constexpr int kKeyLeft = -75;
inline constexpr int kKeyRight = -77;
inline constexpr int kKeyEnd = -79;
inline constexpr int kKeyDown = -80;
inline constexpr int kKeyPageDown = -81;
inline constexpr int kKeyInsert = -82;
inline constexpr int kKeyDelete = -83;
inline constexpr int kKeyF1 = -59;   // F1 to F10 are -59 to -68
inline constexpr int kKeyF11 = -133;
inline constexpr int kKeyF12 = -134;

inline bool isArrowKey(int key) {
  return key == kKeyUp || key == kKeyDown || key == kKeyLeft || key == kKeyRight;
}

// One key as a code; keys typed ahead of it are dropped.
int readKey(Console& console);
// Waits for Esc, Enter, an arrow key, a character among the allowed ones
// (compared upper-cased) or one of the extra key codes (keys such as PgDn
// that a screen also acts on); other keys are read and dropped.
int readKeyFrom(Console& console, std::string_view allowed,
                std::initializer_list<int> extraKeys = {});

}  // namespace corvane

#endif  // CORVANE_UI_KEYS_H

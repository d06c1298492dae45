// Mouse events, as they travel in the key stream: a button pressed or the
// wheel turned, at a screen position. They ride among the keys (getKey hands
// each out as one whole code) so that a click and the keys typed around it
// keep their order, and every queue and test double that carries keys
// carries them too.
//
// Their codes lie far below every other key code (see key_codes.h), so a
// click can never be read as a key, nor a key as a click. Only presses and
// wheel turns are passed on: nothing acts on a release, a drag or a move.
#ifndef CORVANE_CONSOLE_MOUSE_EVENT_H
#define CORVANE_CONSOLE_MOUSE_EVENT_H

namespace corvane {

struct MouseEvent {
  enum class Action { kPress, kWheelUp, kWheelDown };
  enum Button { kLeft = 0, kMiddle = 1, kRight = 2 };

  Action action = Action::kPress;
  int button = kLeft;  // kLeft for the wheel
  // The screen position, 1-based, column first. A terminal larger than the
  // screen reports positions beyond 80 x 25; they are kept (up to
  // kMouseCoordinateLimit) and lie outside every window.
  int column = 1;
  int row = 1;

  friend bool operator==(const MouseEvent& a, const MouseEvent& b) {
    return a.action == b.action && a.button == b.button && a.column == b.column &&
           a.row == b.row;
  }
};

// Positions beyond this are kept as this: still off the screen.
inline constexpr int kMouseCoordinateLimit = 4095;

// The code of a mouse event: kMouseCodeTop minus the action, button, column
// and row packed into 28 bits.
inline constexpr int kMouseCodeTop = -0x10000000;
inline constexpr int kMouseCodeSpan = 0x0FFFFFFF;

inline bool isMouseCode(int key) {
  return key <= kMouseCodeTop && key >= kMouseCodeTop - kMouseCodeSpan;
}

int mouseCode(const MouseEvent& event);
// The event of a code that mouseCode made.
MouseEvent mouseEventOf(int code);

}  // namespace corvane

#endif  // CORVANE_CONSOLE_MOUSE_EVENT_H

#include "platform/win32/console_keys.h"

#include "console/key_codes.h"
#include "console/mouse_event.h"

namespace corvane {

namespace {

bool isModifierOnly(WORD virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN: return true;
    default: return false;
  }
}

// The PC keyboard's scan codes for the keys the screens react to. They are
// taken from the virtual key rather than the event's scan code, because
// the scan code of the arrow keys is the same as that of the keypad's
// digits, and some consoles (and Wine) fill it in unreliably; F11 and F12
// have extended codes of their own.
int scanCodeOf(const KEY_EVENT_RECORD& event) {
  const WORD virtualKey = event.wVirtualKeyCode;
  if (virtualKey >= VK_F1 && virtualKey <= VK_F10) return 59 + (virtualKey - VK_F1);
  switch (virtualKey) {
    case VK_F11: return 133;
    case VK_F12: return 134;
    case VK_HOME: return 71;
    case VK_UP: return 72;
    case VK_PRIOR: return 73;
    case VK_LEFT: return 75;
    case VK_RIGHT: return 77;
    case VK_END: return 79;
    case VK_DOWN: return 80;
    case VK_NEXT: return 81;
    case VK_INSERT: return 82;
    case VK_DELETE: return 83;
    default: return event.wVirtualScanCode;
  }
}

// The character of the key; for the keys that always have one, also when
// the console left it out (Wine's console on a terminal reports Esc so).
int characterOf(const KEY_EVENT_RECORD& event) {
  const int character = static_cast<unsigned char>(event.uChar.AsciiChar);
  if (character != 0) return character;
  switch (event.wVirtualKeyCode) {
    case VK_ESCAPE: return 27;
    case VK_RETURN: return 13;
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    default: return 0;
  }
}

// Alt held with a key that types a character, as the screens ignore it.
// AltGr, which types characters on many keyboards, comes as right Alt with
// left Ctrl, so a chord with Ctrl held is a character.
bool isAltChord(const KEY_EVENT_RECORD& event) {
  const DWORD state = event.dwControlKeyState;
  return (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0 &&
         (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) == 0;
}

}  // namespace

void appendKeyPresses(const KEY_EVENT_RECORD& event, std::vector<int>& presses) {
  if (!event.bKeyDown || isModifierOnly(event.wVirtualKeyCode)) return;
  const int character = characterOf(event);
  const int scanCode = character == 0 ? scanCodeOf(event) : 0;
  // A key without a character and without a scan code cannot be told
  // apart from anything; it is not a press Corvane could act on.
  if (character == 0 && scanCode == 0) return;
  const int repeats = event.wRepeatCount > 0 ? event.wRepeatCount : 1;
  for (int i = 0; i < repeats; ++i) {
    if (character != 0) {
      presses.push_back(isAltChord(event) ? kKeyAltChord : character);
    } else {
      presses.push_back(0);
      presses.push_back(scanCode);
    }
  }
}

void appendMouseEvents(const MOUSE_EVENT_RECORD& event, DWORD& buttonsHeld,
                       std::vector<int>& presses) {
  // The screen buffer is Corvane's own 80 x 25, so its cells are the screen's.
  MouseEvent mouse;
  mouse.column = event.dwMousePosition.X + 1;
  mouse.row = event.dwMousePosition.Y + 1;
  if (event.dwEventFlags & MOUSE_WHEELED) {
    // The high word is the turn: positive away from the user.
    const auto turn = static_cast<SHORT>(HIWORD(event.dwButtonState));
    if (turn == 0) return;
    mouse.action = turn > 0 ? MouseEvent::Action::kWheelUp : MouseEvent::Action::kWheelDown;
    presses.push_back(mouseCode(mouse));
    return;
  }
  if (event.dwEventFlags & MOUSE_HWHEELED) return;
  constexpr struct {
    DWORD flag;
    int button;
  } kButtons[] = {{FROM_LEFT_1ST_BUTTON_PRESSED, MouseEvent::kLeft},
                  {FROM_LEFT_2ND_BUTTON_PRESSED, MouseEvent::kMiddle},
                  {RIGHTMOST_BUTTON_PRESSED, MouseEvent::kRight}};
  const DWORD held = event.dwButtonState;
  // A move only tells which buttons are down; a press (or the second press
  // of a double click) brings a button down.
  if (!(event.dwEventFlags & MOUSE_MOVED)) {
    for (const auto& button : kButtons) {
      if ((held & button.flag) && !(buttonsHeld & button.flag)) {
        mouse.button = button.button;
        presses.push_back(mouseCode(mouse));
      }
    }
  }
  buttonsHeld = held;
}

}  // namespace corvane

#include "platform/win32/console_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/mouse_event.h"
#include "ui/read_key.h"

namespace corvane {
namespace {

KEY_EVENT_RECORD keyDown(WORD virtualKey, char character, WORD scanCode = 0, WORD repeats = 1) {
  KEY_EVENT_RECORD event{};
  event.bKeyDown = TRUE;
  event.wRepeatCount = repeats;
  event.wVirtualKeyCode = virtualKey;
  event.wVirtualScanCode = scanCode;
  event.uChar.AsciiChar = character;
  return event;
}

std::vector<int> pressesOf(const KEY_EVENT_RECORD& event) {
  std::vector<int> presses;
  appendKeyPresses(event, presses);
  return presses;
}

using Presses = std::vector<int>;

TEST(ConsoleKeysTest, KeysWithACharacterGiveItsByte) {
  EXPECT_EQ(pressesOf(keyDown('A', 'a', 0x1E)), (Presses{'a'}));
  EXPECT_EQ(pressesOf(keyDown(VK_RETURN, '\r', 0x1C)), (Presses{13}));
  EXPECT_EQ(pressesOf(keyDown(VK_ESCAPE, 27, 0x01)), (Presses{27}));
  EXPECT_EQ(pressesOf(keyDown(VK_BACK, 8, 0x0E)), (Presses{8}));
  EXPECT_EQ(pressesOf(keyDown(VK_SPACE, ' ', 0x39)), (Presses{32}));
  // Ctrl-C arrives as a key, since the console does not process it.
  EXPECT_EQ(pressesOf(keyDown('C', 3, 0x2E)), (Presses{3}));
  // Some consoles leave out the character of these keys.
  EXPECT_EQ(pressesOf(keyDown(VK_ESCAPE, 0, 0x01)), (Presses{27}));
  EXPECT_EQ(pressesOf(keyDown(VK_RETURN, 0, 0x1C)), (Presses{13}));
  EXPECT_EQ(pressesOf(keyDown(VK_BACK, 0, 0x0E)), (Presses{8}));
  // Bytes above 127 stay positive here; readKey makes them one code.
  EXPECT_EQ(pressesOf(keyDown(0, static_cast<char>(0x82))), (Presses{0x82}));
}

TEST(ConsoleKeysTest, KeysWithoutACharacterGiveZeroThenTheirScanCode) {
  struct Case {
    WORD virtualKey;
    int scanCode;
  };
  const Case cases[] = {
      {VK_HOME, 71}, {VK_UP, 72},   {VK_PRIOR, 73}, {VK_LEFT, 75},   {VK_RIGHT, 77},
      {VK_END, 79},  {VK_DOWN, 80}, {VK_NEXT, 81},  {VK_INSERT, 82}, {VK_DELETE, 83},
      {VK_F1, 59},   {VK_F5, 63},   {VK_F10, 68},   {VK_F11, 133},   {VK_F12, 134},
  };
  for (const Case& c : cases) {
    // The event's own scan code is deliberately wrong: the virtual key
    // decides for these keys.
    EXPECT_EQ(pressesOf(keyDown(c.virtualKey, 0, 0x7F)), (Presses{0, c.scanCode}))
        << "virtual key " << c.virtualKey;
  }
  // Other keys without a character report the scan code of the event.
  EXPECT_EQ(pressesOf(keyDown(VK_PAUSE, 0, 0x45)), (Presses{0, 0x45}));
  EXPECT_TRUE(pressesOf(keyDown(VK_PAUSE, 0, 0)).empty());
}

TEST(ConsoleKeysTest, AltWithACharacterKeyIsAnAltChordButAltGrTypes) {
  KEY_EVENT_RECORD alt = keyDown('X', 'x', 0x2D, 2);
  alt.dwControlKeyState = LEFT_ALT_PRESSED;
  EXPECT_EQ(pressesOf(alt), (Presses{kKeyAltChord, kKeyAltChord}));
  // AltGr, as right Alt with left Ctrl, types "@" on a German keyboard.
  KEY_EVENT_RECORD altGr = keyDown('Q', '@', 0x10);
  altGr.dwControlKeyState = RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED;
  EXPECT_EQ(pressesOf(altGr), (Presses{'@'}));
  // Alt with a key without a character is that key.
  KEY_EVENT_RECORD altLeft = keyDown(VK_LEFT, 0, 0x4B);
  altLeft.dwControlKeyState = LEFT_ALT_PRESSED;
  EXPECT_EQ(pressesOf(altLeft), (Presses{0, 75}));
}

TEST(ConsoleKeysTest, ReleasesAndModifiersAloneAreNoPresses) {
  KEY_EVENT_RECORD release = keyDown('A', 'a', 0x1E);
  release.bKeyDown = FALSE;
  EXPECT_TRUE(pressesOf(release).empty());
  for (WORD modifier : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL, VK_NUMLOCK, VK_LWIN})
    EXPECT_TRUE(pressesOf(keyDown(modifier, 0, 0x2A)).empty()) << "virtual key " << modifier;
}

TEST(ConsoleKeysTest, AHeldKeyRepeatsAsManyTimesAsTheEventCounts) {
  EXPECT_EQ(pressesOf(keyDown('X', 'x', 0x2D, 3)), (Presses{'x', 'x', 'x'}));
  EXPECT_EQ(pressesOf(keyDown(VK_DOWN, 0, 0x50, 2)), (Presses{0, 80, 0, 80}));
  std::vector<int> presses{'a'};
  appendKeyPresses(keyDown('B', 'b', 0x30), presses);
  EXPECT_EQ(presses, (Presses{'a', 'b'}));
}

MOUSE_EVENT_RECORD mouseRecord(SHORT column, SHORT row, DWORD buttons, DWORD flags) {
  MOUSE_EVENT_RECORD event{};
  event.dwMousePosition = COORD{column, row};
  event.dwButtonState = buttons;
  event.dwEventFlags = flags;
  return event;
}

int mouseAt(MouseEvent::Action action, int button, int column, int row) {
  return mouseCode(MouseEvent{action, button, column, row});
}

TEST(ConsoleKeysTest, MouseRecordsGivePressesAndWheelTurnsOnly) {
  constexpr auto kPress = MouseEvent::Action::kPress;
  constexpr DWORD kLeft = FROM_LEFT_1ST_BUTTON_PRESSED;
  constexpr DWORD kRight = RIGHTMOST_BUTTON_PRESSED;
  const struct {
    MOUSE_EVENT_RECORD record;
    Presses presses;
  } steps[] = {
      {mouseRecord(4, 6, kLeft, 0), {mouseAt(kPress, MouseEvent::kLeft, 5, 7)}},
      {mouseRecord(5, 6, kLeft, MOUSE_MOVED), {}},  // a drag
      {mouseRecord(5, 6, kLeft | kRight, 0), {mouseAt(kPress, MouseEvent::kRight, 6, 7)}},
      {mouseRecord(5, 6, 0, 0), {}},  // both released
      {mouseRecord(5, 6, kLeft, DOUBLE_CLICK), {mouseAt(kPress, MouseEvent::kLeft, 6, 7)}},
      {mouseRecord(5, 6, 0, 0), {}},
      {mouseRecord(79, 24, static_cast<DWORD>(120) << 16, MOUSE_WHEELED),
       {mouseAt(MouseEvent::Action::kWheelUp, 0, 80, 25)}},
      {mouseRecord(0, 0, static_cast<DWORD>(0xFF88) << 16, MOUSE_WHEELED),  // -120
       {mouseAt(MouseEvent::Action::kWheelDown, 0, 1, 1)}},
      {mouseRecord(0, 0, static_cast<DWORD>(120) << 16, MOUSE_HWHEELED), {}},
  };
  DWORD held = 0;
  for (const auto& step : steps) {
    Presses presses;
    appendMouseEvents(step.record, held, presses);
    EXPECT_EQ(presses, step.presses);
  }
}

}  // namespace
}  // namespace corvane

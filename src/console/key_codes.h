// Key codes: one signed integer per key press, all of them listed here.
//
//   1 to 127            a character of the console's code page, as its byte
//   -1 to -65535        a key without a character: minus its scan code
//   below -65535        a key that is neither (the named codes at the end)
//   -0x10000000 and below   a mouse event (console/mouse_event.h)
//
// Characters above 127 are not handed out as bytes: readKey turns them into
// kKeyNonAscii, so that no character can pose as a scan code.
#ifndef CORVANE_CONSOLE_KEY_CODES_H
#define CORVANE_CONSOLE_KEY_CODES_H

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
inline constexpr int kKeyF2 = -60;
inline constexpr int kKeyF11 = -133;
inline constexpr int kKeyF12 = -134;

// Scan codes are 16-bit values at most (the Win32 console's), so these codes
// can equal neither a negated scan code nor a character (-128 to 255 in any
// reading of a byte). The screens and the line editor ignore both keys.
//
// A character outside ASCII: a UTF-8 character from a terminal or a script,
// or a byte above 127 from a console that gives code-page characters.
inline constexpr int kKeyNonAscii = -0x10001;
// Alt held with a character key (a terminal sends Esc and the character at
// once); readKey never returns it, so every screen ignores it.
inline constexpr int kKeyAltChord = -0x10002;
// A click on the "[Esc]" of an editing screen's prompt. It is easily hit when
// aiming at "[->]" beside it, so the screens ask before they take it as Esc
// when there are edits to lose. No console hands it out: the screens' click
// maps stand it for the click.
inline constexpr int kKeyEscClicked = -0x10003;

// True for the codes above (and the mouse codes) that getKey hands out
// whole, without the 0 that announces a scan code.
inline bool isWholeKeyCode(int key) { return key < -0xFFFF; }

inline bool isArrowKey(int key) {
  return key == kKeyUp || key == kKeyDown || key == kKeyLeft || key == kKeyRight;
}

}  // namespace corvane

#endif  // CORVANE_CONSOLE_KEY_CODES_H

// The character-cell console that every screen of Corvane draws on: 80
// columns by 25 rows, 1-based coordinates, column first, cells of code page
// 437 in the 16 colours of a text screen. The platform layer supplies the
// implementations (terminal, scripted input, Win32); the tests bring one that
// lives in memory.
#ifndef CORVANE_CONSOLE_CONSOLE_H
#define CORVANE_CONSOLE_CONSOLE_H

#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr int kScreenColumns = 80;
inline constexpr int kScreenRows = 25;

// One cell: a byte of code page 437 and its attribute (foreground 0-15 in the
// low four bits, background 0-7 in bits 4 to 6).
struct Cell {
  std::uint8_t character = ' ';
  std::uint8_t attribute = 0x07;
  friend bool operator==(const Cell& a, const Cell& b) {
    return a.character == b.character && a.attribute == b.attribute;
  }
  friend bool operator!=(const Cell& a, const Cell& b) { return !(a == b); }
};

// Colours of the standard 16-colour text palette that the screens use.
enum Colour : int {
  kBlack = 0,
  kBlue = 1,
  kGreen = 2,
  kRed = 4,
  kBrown = 6,
  kLightGrey = 7,
  kLightCyan = 11,
  kYellow = 14,
  kWhite = 15,
};

inline std::uint8_t makeAttribute(int foreground, int background) {
  return static_cast<std::uint8_t>((foreground & 0x0F) | ((background & 0x07) << 4));
}

// The bytes that Console::writeText obeys instead of showing: CR, LF,
// Backspace and the bell. Every other byte, those below 32 included, is a
// glyph of code page 437.
constexpr bool steersConsole(char byte) {
  return byte == '\r' || byte == '\n' || byte == '\b' || byte == '\a';
}

class Console {
 public:
  virtual ~Console() = default;

  // Positions are relative to the active region (the whole screen until
  // setRegion changes it) unless said otherwise.
  virtual void setRegion(int left, int top, int right, int bottom) = 0;
  virtual void clearRegion() = 0;
  virtual void clearLineEnd() = 0;
  virtual void moveCursor(int column, int row) = 0;
  virtual int cursorColumn() const = 0;
  virtual int cursorRow() const = 0;
  virtual void setForeground(int colour) = 0;
  virtual void setBackground(int colour) = 0;
  virtual void writeText(std::string_view text) = 0;
  // Screen coordinates, inclusive; the buffer holds the cells row by row.
  virtual void readCells(int left, int top, int right, int bottom,
                         std::vector<Cell>& buffer) const = 0;
  virtual void writeCells(int left, int top, int right, int bottom,
                          const std::vector<Cell>& buffer) = 0;
  // One key press without echo: its character, or 0 and then (on the next
  // call) the scan code for a key without a character, or one of the whole
  // key codes of console/key_codes.h (a non-ASCII character, an Alt chord,
  // a mouse event of console/mouse_event.h where the console has a mouse).
  virtual int getKey() = 0;
  // True when a key press is waiting to be read by getKey. Where the system
  // allows, nothing is read: the key stays in the input for whoever reads
  // next (the usage screen leaves it to the shell). A click is no key press.
  virtual bool keyPending() = 0;
  // True when the key getKey returned last came from a paste (a terminal
  // marks one); what a paste means is the screens' business.
  virtual bool keyWasPasted() const { return false; }
  // True when a script sends the keys and nobody sees the screen: a person
  // watches a terminal or a console window, a script is told only what it
  // must know when the run ends.
  virtual bool scripted() const { return false; }
  // False when what the screens tell by colour alone (a name on red) does
  // not show: a terminal of fewer than 8 colours, or a user who asked for
  // none with NO_COLOR. The screens then add a mark that needs no colour.
  virtual bool showsColour() const { return true; }
};

}  // namespace corvane

#endif  // CORVANE_CONSOLE_CONSOLE_H

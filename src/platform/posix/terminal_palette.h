// The 16 foreground and 8 background colours of a cell attribute as curses
// colour pairs. The cell colours are numbered as on the PC (1 blue, 4 red);
// curses numbers them the other way round (1 red, 4 blue). Terminals with
// only 8 colours show the bright foregrounds (8-15) in bold.

#ifndef CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H
#define CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H

#include <cstdint>

namespace corvane {

struct CursesLook {
  short pair = 0;
  bool bold = false;
  bool reverse = false;
};

class TerminalPalette {
 public:
  // Sets up the colour pairs; call once curses runs.
  void setUp();
  CursesLook lookOf(std::uint8_t attribute) const;
  // Whether the terminal shows the background colours apart (8 or more).
  bool hasColours() const { return depth_ != Depth::kNone; }

 private:
  enum class Depth { kNone, kEight, kSixteen };
  short pairOf(int foreground, int background) const;
  Depth depth_ = Depth::kNone;
};

// The curses colour number of a PC colour 0-7.
short cursesColour(int pcColour);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H

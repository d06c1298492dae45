// The 16 foreground and 8 background colours of a cell attribute as curses
// colour pairs. The cell colours are numbered as on the PC (1 blue, 4 red);
// curses numbers them the other way round (1 red, 4 blue). Terminals with
// only 8 colours show the bright foregrounds (8-15) in bold.
//
// Pair 0 is never used: curses shows it in the terminal's own default
// colours, which may be dark on light, while Corvane's screens need the
// colours they ask for.
#ifndef CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H
#define CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H

#include <cstdint>

namespace corvane {

struct CursesLook {
  short pair = 0;
  bool bold = false;
  bool reverse = false;
  // The text cannot be seen (same colour as the background): show a blank.
  bool blank = false;
};

class TerminalPalette {
 public:
  // Sets up the colour pairs; call once curses runs.
  void setUp();
  CursesLook lookOf(std::uint8_t attribute) const;

 private:
  enum class Depth { kNone, kEight, kSixteen };
  Depth depth_ = Depth::kNone;
};

// The curses colour number of a PC colour 0-7.
short cursesColour(int pcColour);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_TERMINAL_PALETTE_H

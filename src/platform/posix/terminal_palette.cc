#include "platform/posix/terminal_palette.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

namespace corvane {

short cursesColour(int pcColour) {
  static constexpr short kCurses[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN, COLOR_CYAN,
                                       COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};
  return kCurses[pcColour & 7];
}

void TerminalPalette::setUp() {
  depth_ = Depth::kNone;
  if (!has_colors() || start_color() == ERR) return;
  if (COLORS >= 16 && COLOR_PAIRS > 16 * 8) {
    depth_ = Depth::kSixteen;
  } else if (COLORS >= 8 && COLOR_PAIRS >= 8 * 8) {
    depth_ = Depth::kEight;
  } else {
    return;
  }
  const int foregrounds = depth_ == Depth::kSixteen ? 16 : 8;
  for (int background = 0; background < 8; ++background) {
    for (int foreground = 0; foreground < foregrounds; ++foreground) {
      const int pair = 1 + background * foregrounds + foreground;
      if (pair >= COLOR_PAIRS) continue;
      // Bright colours are the terminal's colours 8-15.
      const short ink = static_cast<short>(cursesColour(foreground) + (foreground & 8));
      init_pair(static_cast<short>(pair), ink, cursesColour(background));
    }
  }
}

CursesLook TerminalPalette::lookOf(std::uint8_t attribute) const {
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x07;
  CursesLook look;
  switch (depth_) {
    case Depth::kSixteen:
      look.pair = static_cast<short>(1 + background * 16 + foreground);
      break;
    case Depth::kEight:
      look.bold = foreground >= 8;
      if ((foreground & 7) == 7 && background == 7) {
        // 8 x 8 combinations need pairs 1 to 64, one more than such
        // terminals have (64 with pair 0). The one left out, white on light
        // grey, is unreadable anyway: grey on grey is shown as a blank,
        // bright white on grey as bold black.
        look.pair = static_cast<short>(1 + 7 * 8 + 0);
        look.blank = foreground == 7;
      } else {
        look.pair = static_cast<short>(1 + background * 8 + (foreground & 7));
      }
      break;
    case Depth::kNone:
      // Without colour, a coloured background (every box and bar of the
      // screens) stands out in reverse.
      look.bold = foreground >= 8;
      look.reverse = background != 0;
      break;
  }
  return look;
}

}  // namespace corvane

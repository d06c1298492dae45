#include "platform/posix/terminal_palette.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

namespace corvane {

short cursesColour(int pcColour) {
  static constexpr short kCurses[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN, COLOR_CYAN,
                                       COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};
  return kCurses[pcColour & 7];
}

namespace {

// Curses resets the terminal to colour pair 0 after every update, so the
// cells most often typed (white on black, the line editor's colours) take
// pair 0: typing a character then sends that character alone.
constexpr int kTypingForeground = 15;

}  // namespace

void TerminalPalette::setUp() {
  depth_ = Depth::kNone;
  if (!has_colors() || start_color() == ERR) return;
  if (COLORS >= 16 && COLOR_PAIRS >= 16 * 8) {
    depth_ = Depth::kSixteen;
  } else if (COLORS >= 8 && COLOR_PAIRS >= 8 * 8) {
    depth_ = Depth::kEight;
  } else {
    return;
  }
  const int foregrounds = depth_ == Depth::kSixteen ? 16 : 8;
  const int typing = kTypingForeground % foregrounds;
  assume_default_colors(cursesColour(typing) + (typing & 8), COLOR_BLACK);
  for (int background = 0; background < 8; ++background) {
    for (int foreground = 0; foreground < foregrounds; ++foreground) {
      const short pair = pairOf(foreground, background);
      if (pair == 0) continue;
      // Bright colours are the terminal's colours 8-15.
      const short ink = static_cast<short>(cursesColour(foreground) + (foreground & 8));
      init_pair(pair, ink, cursesColour(background));
    }
  }
}

short TerminalPalette::pairOf(int foreground, int background) const {
  const int foregrounds = depth_ == Depth::kSixteen ? 16 : 8;
  const int combination = background * foregrounds + foreground;
  const int typing = kTypingForeground % foregrounds;
  // Pair 0 is the typing colours; the others follow from 1 on.
  if (combination == typing) return 0;
  return static_cast<short>(combination < typing ? combination + 1 : combination);
}

CursesLook TerminalPalette::lookOf(std::uint8_t attribute) const {
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x07;
  CursesLook look;
  switch (depth_) {
    case Depth::kSixteen:
      look.pair = pairOf(foreground, background);
      break;
    case Depth::kEight:
      look.pair = pairOf(foreground & 7, background);
      look.bold = foreground >= 8;
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

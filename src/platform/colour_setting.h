// Whether the user lets Corvane tell things by colour alone: yes unless
// NO_COLOR is set to anything but the empty text, the convention of
// programs that colour their output. Corvane keeps its colours (they are
// the screens' layout as much as decoration) but then marks what only a
// colour would tell. Both consoles ask it as they open.
#ifndef CORVANE_PLATFORM_COLOUR_SETTING_H
#define CORVANE_PLATFORM_COLOUR_SETTING_H

namespace corvane {

bool colourWanted();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_COLOUR_SETTING_H

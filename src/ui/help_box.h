// The help of the editing screens: F1 (or "?") opens a box over the screen
// that lists the keys of that screen; any key closes it and the screen
// underneath comes back exactly as it was.
#ifndef CORVANE_UI_HELP_BOX_H
#define CORVANE_UI_HELP_BOX_H

#include <functional>
#include <string_view>
#include <vector>

#include "console/key_codes.h"
#include "ui/corvane_screen.h"
#include "ui/text_window.h"

namespace corvane {

enum class HelpTopic { kMainScreen, kSourcesScreen, kAdvancedScreen };

// "?" asks for help too: people try it where F1 is not at hand, and no
// editing screen uses it for anything else.
inline constexpr char kHelpCharacter = '?';

inline bool isHelpKey(int key) { return key == kKeyF1 || key == kHelpCharacter; }

// One line of a help box: the keys (marked with braces, as in the prompts)
// and what they do. A line without keys continues the one above; a line
// without a description runs across the whole box.
struct HelpLine {
  std::string_view keys;
  std::string_view description;
};

// The title and the lines of a topic's box.
std::string_view helpTitle(HelpTopic topic);
const std::vector<HelpLine>& helpLines(HelpTopic topic);

// Shows the box over the screen through the window stack and waits for a
// key, which closes it and is used up; the screen is restored from the
// windows' saved cells, cursor included.
void showHelp(CorvaneScreen& screen, HelpTopic topic);

// Inside a box: the title's row, and the column of the keys or labels that
// start its rows.
inline constexpr int kBoxTitleRow = 2;
inline constexpr int kBoxFirstRow = kBoxTitleRow + 2;
inline constexpr int kBoxKeyColumn = 3;

// A box over the middle of the screen, as high as its rows need: the title,
// a blank row, the rows that drawRows draws from kBoxFirstRow on, a blank
// row and the prompt to go back. Any key or a click closes it and is used
// up, and the screen underneath comes back as it was.
void showBox(CorvaneScreen& screen, std::string_view title, int rows,
             const std::function<void(TextWindow& box)>& drawRows);

}  // namespace corvane

#endif  // CORVANE_UI_HELP_BOX_H

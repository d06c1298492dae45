// The help of the editing screens: F1 (or "?") opens a box over the screen
// that lists the keys of that screen; any key closes it and the screen
// underneath comes back exactly as it was.
#ifndef CORVANE_UI_HELP_BOX_H
#define CORVANE_UI_HELP_BOX_H

#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/key_codes.h"
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

// A screen's next key as readKeyFrom gives it, lower-cased, with the help
// answered here: F1 or "?" shows the topic's box, and the key after it is
// read as if the box had never been there.
int readScreenKey(CorvaneScreen& screen, const TextWindow& window, std::string_view allowed,
                  HelpTopic topic, std::initializer_list<int> extraKeys = {});

}  // namespace corvane

#endif  // CORVANE_UI_HELP_BOX_H

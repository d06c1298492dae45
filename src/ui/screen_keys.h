// The one reader of an editing screen's keys: what every screen answers the
// same way is answered here, the rest is handed to the screen.
#ifndef CORVANE_UI_SCREEN_KEYS_H
#define CORVANE_UI_SCREEN_KEYS_H

#include <initializer_list>
#include <string_view>

#include "ui/corvane_screen.h"
#include "ui/help_box.h"
#include "ui/project_editor.h"
#include "ui/text_window.h"

namespace corvane {

// A screen's next key as readKeyFrom gives it, lower-cased. F1 or "?" shows
// the topic's help box and F2 the flags box of the draft; the key after a
// box is read as if it had never been there. A click on "[Esc]" comes back
// as Esc, but when the draft holds edits only after the user has answered
// Y to "End without saving?"; any other answer goes on reading keys.
int readScreenKey(CorvaneScreen& screen, const TextWindow& window, const ProjectDraft& draft,
                  std::string_view allowed, HelpTopic topic,
                  std::initializer_list<int> extraKeys = {});

}  // namespace corvane

#endif  // CORVANE_UI_SCREEN_KEYS_H

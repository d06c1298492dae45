#include "ui/screen_keys.h"

#include <vector>

#include "console/key_codes.h"
#include "text/text_utils.h"
#include "ui/editor_drawing.h"
#include "ui/flags_box.h"
#include "ui/read_key.h"

namespace corvane {

namespace {

// A click on [Esc] may have been meant for [->] beside it.
bool endWithoutSaving(CorvaneScreen& screen, const ProjectDraft& draft) {
  if (!draft.changed()) return true;
  return screen.askYesNo({"End without saving?"}, false) == Answer::kYes;
}

}  // namespace

int readScreenKey(CorvaneScreen& screen, const TextWindow& window, const ProjectDraft& draft,
                  std::string_view allowed, HelpTopic topic,
                  std::initializer_list<int> extraKeys) {
  std::vector<int> keys(extraKeys);
  keys.insert(keys.end(), {kKeyF1, kKeyF2, kKeyEscClicked});
  for (;;) {
    // The screens treat capital letters like small ones.
    const int key = lowerCaseAscii(readKeyFrom(window, allowed, keys));
    if (isHelpKey(key)) {
      showHelp(screen, topic);
    } else if (key == kKeyF2) {
      showToolSettings(screen, draft.settings);
    } else if (key == kKeyEscClicked) {
      if (endWithoutSaving(screen, draft)) return kKeyEsc;
    } else {
      return key;
    }
  }
}

}  // namespace corvane

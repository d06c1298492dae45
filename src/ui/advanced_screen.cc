// The third editing screen: include and library directories, libraries,
// object files and compiled resources, each one text as typed.
#include <array>
#include <string>

#include "platform/file_system_text.h"
#include "ui/editor_drawing.h"
#include "ui/screen_keys.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr int kTitleRow = 1;
constexpr int kTitleColumn = 11;
constexpr int kTextColumn = 2;
constexpr Prompt kPrompt{31, "Press {(selection)}, [{<-}], [{Esc}] or [{Enter}]... "};

constexpr char kAllowedKeys[] = " 12345?";

// One of the five values: its key, the line that explains it, the label in
// front of it on the screen, and the text with the label of its edit box.
struct AdvancedEntry {
  const char* key;
  const char* explanation;
  const char* label;
  EditedText text;
};

class AdvancedScreen {
 public:
  AdvancedScreen(CorvaneScreen& screen, ProjectDraft& draft)
      : screen_(screen),
        window_(screen.advancedWorkspace()),
        draft_(draft),
        entries_{{
            {"(1)", " Additional C/C++ header directories (separated by semi-colons ';')",
             "Include dirs: ", {"Include Paths: ", &draft.settings.includePaths}},
            {"(2)", " Additional library directories (separated by semi-colons ';')",
             "Library dirs: ", {"Library Paths: ", &draft.settings.libraryPaths}},
            {"(3)", " Additional libraries (space-separated)", "Libraries: ",
             {"Extra Libraries: ", &draft.settings.libraries}},
            {"(4)", " Additional object files (space-separated)", "Obj Files: ",
             {"Extra Objects: ", &draft.settings.objects}},
            {"(5)", " Compiled Windows resources (\".res\" files, space-separated)",
             "Resources: ", {"Win Resources: ", &draft.settings.resources}},
        }} {}

  int run() {
    screen_.push(window_);
    window_.show();
    window_.clear();
    drawValues();
    rest_ = writePrompt(window_, kPrompt);
    window_.activate(false);

    const int key = readKeys();
    // Whatever ends the screen, the main workspace comes back as it was.
    screen_.pop();
    screen_.repaint();
    return key;
  }

 private:
  int readKeys() {
    for (;;) {
      const int key = readScreenKey(screen_, window_, draft_, kAllowedKeys,
                                    HelpTopic::kAdvancedScreen);
      if (key >= '1' && key <= '5') {
        const AdvancedEntry& entry = entries_[static_cast<std::size_t>(key - '1')];
        editAndRest(window_, entry.text, rest_, [this](EditResult) { drawValues(); });
        continue;
      }
      if (key == kKeyEnter || key == kKeySpace || key == kKeyEsc || key == kKeyLeft) return key;
      // Up, Down and Right do nothing here.
    }
  }

  // Rows 1 to 16: the title, then per value its explanation and, on the row
  // below, its label and the value, three rows apart. A click on either row
  // edits the value.
  void drawValues() {
    writeAt(window_, kTitleColumn, kTitleRow,
            lineCharacters(14) + " A D V A N C E D   S C R E E N " + lineCharacters(14),
            kLightCyan);
    int row = 3;
    for (const AdvancedEntry& entry : entries_) {
      const int key = entry.key[1];
      clearRowFrom(window_, kTextColumn, row);
      writeAt(window_, kTextColumn, row, entry.key, kYellow);
      window_.writeColoured(entry.explanation, kLightGrey);
      clickableSince(window_, kTextColumn, row, key);
      clearRowFrom(window_, kTextColumn, row + 1);
      writeAt(window_, kTextColumn, row + 1, entry.label, kYellow);
      drawValue(*entry.text.value);
      clickableSince(window_, kTextColumn, row + 1, key);
      row += 3;
    }
  }

  // The value starts right after its label and shows what fits before the
  // last two columns of the window; a longer value gets ".." there and
  // stays whole in the copy.
  void drawValue(const std::string& text) {
    const std::string value = displayText(text);
    const int column = window_.cursorColumn();
    const std::size_t room =
        static_cast<std::size_t>(window_.width() > column ? window_.width() - column : 0);
    window_.writeColoured(value.size() > room ? withDots(value, room) : value, kWhite);
  }


  CorvaneScreen& screen_;
  TextWindow& window_;
  const ProjectDraft& draft_;
  std::array<AdvancedEntry, 5> entries_;
  RestPosition rest_;
};

}  // namespace

int advancedScreen(CorvaneScreen& screen, ProjectDraft& draft) {
  return AdvancedScreen(screen, draft).run();
}

}  // namespace corvane

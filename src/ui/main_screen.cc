// The first editing screen: the three names, the twelve build options and the
// extra compile and link flags.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "platform/file_system_text.h"
#include "text/text_utils.h"
#include "ui/editor_drawing.h"
#include "ui/screen_keys.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"

namespace corvane {

namespace {

constexpr int kHeaderRow = 1;
constexpr int kOptionsRuleRow = 3;
constexpr int kFirstOptionRow = 4;
constexpr int kOptionsColumn = 8;
constexpr int kFlagsRow = 18;
constexpr int kLinkFlagsColumn = 42;
constexpr Prompt kPrompt{32, "Press {(selection)}, [{Esc}], [{->}] or [{Enter}]... "};
// The header's labels. The gaps between its entries are spread over what is
// left of the row after them, the names and eight cells more.
constexpr std::string_view kProjectLabel = "Project: ";
constexpr std::string_view kTargetLabel = "Target: ";
constexpr std::string_view kMakefileLabel = "Makefile: ";
constexpr long long kHeaderSpareCells = 8;
// The flags are shown cut to this many characters (and "..") so that both
// fit on one row.
constexpr std::size_t kShownFlagLength = 16;

constexpr char kAllowedKeys[] = "12345abcdefghijkl ?";

class MainScreen {
  // A text that keys 1 to 5 edit, and what to redraw after the edit.
  struct TextField {
    EditedText text;
    void (MainScreen::*redraw)();
  };

 public:
  MainScreen(CorvaneScreen& screen, ProjectDraft& draft, std::size_t missingSources)
      : screen_(screen),
        window_(screen.mainWorkspace()),
        draft_(draft),
        options_(draft.settings.options),
        projectFileName_(draft.projectFileName),
        makefileName_(draft.settings.makefileName),
        target_(draft.settings.target),
        compileFlags_(draft.settings.compilerFlags),
        linkFlags_(draft.settings.linkerFlags),
        textFields_{{
            {{"Project Name: ", &projectFileName_}, &MainScreen::drawHeader},
            {{"Target Name (no extension): ", &target_}, &MainScreen::drawHeader},
            {{"Makefile Name: ", &makefileName_}, &MainScreen::drawHeader},
            {{"Extra Compile Flags: ", &compileFlags_}, &MainScreen::drawFlagsLine},
            {{"Extra Link Flags: ", &linkFlags_}, &MainScreen::drawFlagsLine},
        }},
        missingSources_(missingSources) {}

  int run() {
    drawAll();
    const int dllIndex = options_.indexOf("DLL");
    const int dllKey = dllIndex >= 0 ? 'a' + dllIndex : 0;
    for (;;) {
      const int key =
          readScreenKey(screen_, window_, draft_, kAllowedKeys, HelpTopic::kMainScreen);
      if (key >= '1' && key <= '5') {
        const TextField& field = textFields_[static_cast<std::size_t>(key - '1')];
        editAndRest(window_, field.text, rest_, [this, &field](EditResult result) {
          // Only an extension the user typed is cut: a kept value stays byte
          // for byte (a loaded target may end in .exe itself).
          if (field.text.value == &target_ && result == EditResult::kAccepted)
            target_ = typedTarget(target_);
          (this->*field.redraw)();
        });
        continue;
      }
      switch (key) {
        case kKeyEnter:
        case kKeySpace:
        case kKeyEsc:
        case kKeyRight:
          return key;
        default:
          if (key >= 'a' && key <= 'l') {
            toggleOption(key - 'a');
            window_.activate(true);
            drawOnOffWords();
            if (key == dllKey) drawHeader();  // the target extension follows DLL
            backToRest(window_, rest_);
          }
          break;  // Up, Down and Left do nothing here
      }
    }
  }

 private:
  void drawAll() {
    window_.show();
    window_.clear();
    drawHeader();
    drawOptionsBlock();
    drawFlagsLine();
    drawMissingLine();
    rest_ = writePrompt(window_, kPrompt);
    window_.show();
  }

  // "(1)Project: name<gap>(2)Target: name.ext<gap>(3)Makefile: name". The gap
  // spreads the three entries over the row; a header too long for the row
  // runs on into row 2 and is cut with ".." at the end of it, so that the
  // options below are never written over. Names show one cell a character.
  // A click on a name or its label edits it.
  void drawHeader() {
    const std::string project = displayText(projectFileName_);
    const std::string target = displayText(target_);
    const std::string makefile = displayText(makefileName_);
    const long long used =
        static_cast<long long>(kProjectLabel.size() + kTargetLabel.size() +
                               kMakefileLabel.size() + project.size() + target.size() +
                               makefile.size()) +
        kHeaderSpareCells;
    const long long gap = std::max(1LL, (window_.width() - used) / 3);
    const std::string spaces(static_cast<std::size_t>(gap), ' ');

    clearRowFrom(window_, 1, kHeaderRow + 1);
    // Row 1 is cleared as well: a shorter header written over a longer one
    // would otherwise leave the old tail standing after the makefile name.
    clearRowFrom(window_, 1, kHeaderRow);
    window_.setCursor(1, kHeaderRow);
    writePieces(window_,
                {
                    {"(1)", kYellow, '1'},
                    {std::string(kProjectLabel), kLightGrey, '1'},
                    {project, kWhite, '1'},
                    {spaces, kWhite, 0},
                    {"(2)", kYellow, '2'},
                    {std::string(kTargetLabel), kLightGrey, '2'},
                    {target + options_.targetExtension(), kWhite, '2'},
                    {spaces, kWhite, 0},
                    {"(3)", kYellow, '3'},
                    {std::string(kMakefileLabel), kLightGrey, '3'},
                    {makefile, kWhite, '3'},
                },
                kHeaderRow + 1);
  }

  void drawOptionsBlock() {
    writeAt(window_, kOptionsColumn, kOptionsRuleRow,
            lineCharacters(25) + " O P T I O N S " + lineCharacters(25), kLightCyan);
    const auto& rows = options_.options();
    const std::size_t nameWidth = static_cast<std::size_t>(options_.maxNameLength());
    int row = kFirstOptionRow;
    for (std::size_t i = 0; i < rows.size(); ++i, ++row) {
      writeAt(window_, kOptionsColumn, row, std::string("(") + static_cast<char>('a' + i) + ")",
              kYellow);
      window_.writeColoured(padRight(rows[i].name, nameWidth) + " [", kWhite);
      onOffColumn_ = window_.cursorColumn();
      writeOnOff(rows[i], row);
      window_.writeColoured("]  " + rows[i].description, kWhite);
      clickableSince(window_, kOptionsColumn, row, 'a' + static_cast<int>(i));
    }
    writeAt(window_, kOptionsColumn, row, lineCharacters(65), kLightCyan);
  }

  void writeOnOff(const MakeOption& option, int row) {
    if (option.status == 1) {
      writeAt(window_, onOffColumn_, row, " ON", kYellow);
    } else {
      writeAt(window_, onOffColumn_, row, "OFF", kWhite);
    }
  }

  // A toggle may switch other members of its groups, so every word is redrawn.
  void drawOnOffWords() {
    const auto& rows = options_.options();
    for (std::size_t i = 0; i < rows.size(); ++i)
      writeOnOff(rows[i], kFirstOptionRow + static_cast<int>(i));
  }

  void drawFlagsLine() {
    clearRowFrom(window_, 1, kFlagsRow);
    drawFlags(1, "(4)", "Add Compile Flags: ", compileFlags_);
    drawFlags(kLinkFlagsColumn, "(5)", "Add Link Flags: ", linkFlags_);
    window_.capture();
  }

  // A click on the label or the flags edits them.
  void drawFlags(int column, const char* key, const char* label, const std::string& value) {
    const std::string flags = displayText(value);
    writeAt(window_, column, kFlagsRow, key, kYellow);
    window_.writeColoured(label, kLightGrey);
    window_.writeColoured(
        flags.size() > kShownFlagLength ? withDots(flags, kShownFlagLength) : flags, kWhite);
    clickableSince(window_, column, kFlagsRow, key[1]);
  }

  // "3 sources of the project are not in this directory: [->] shows them",
  // centred, when there are any: the first screen is where Enter already
  // accepts the project, so it is told here, without a box to dismiss.
  void drawMissingLine() {
    if (missingSources_ == 0) return;
    std::vector<LinePiece> pieces = {
        {missingSourcesText(missingSources_), kMissingForeground, 0, kMissingBackground},
        {": ", kWhite, 0}};
    appendKeyPieces(pieces, "->", kKeyRight);
    pieces.push_back({" shows them", kWhite, 0});
    writePiecesCentred(window_, pieces, kNoticeRow);
  }

  void toggleOption(int index) {
    const auto& rows = options_.options();
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) return;
    const std::string name = rows[static_cast<std::size_t>(index)].name;
    options_.toggle(name);
  }

  CorvaneScreen& screen_;
  TextWindow& window_;
  const ProjectDraft& draft_;
  OptionList& options_;
  std::string& projectFileName_;
  std::string& makefileName_;
  std::string& target_;
  std::string& compileFlags_;
  std::string& linkFlags_;
  std::array<TextField, 5> textFields_;
  std::size_t missingSources_;
  int onOffColumn_ = 1;
  RestPosition rest_;
};

}  // namespace

int mainScreen(CorvaneScreen& screen, ProjectDraft& draft, std::size_t missingSources) {
  return MainScreen(screen, draft, missingSources).run();
}

}  // namespace corvane

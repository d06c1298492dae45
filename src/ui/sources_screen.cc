// The second editing screen: the project's sources beside the other sources
// of the current directory, one key per file to move it across.
#include <algorithm>
#include <string>

#include "platform/display_text.h"
#include "project/source_discovery.h"
#include "text/text_utils.h"
#include "ui/editor_drawing.h"
#include "ui/keys.h"
#include "ui/project_editor.h"
#include "ui/source_columns.h"

namespace corvane {

namespace {

constexpr int kReloadRow = 1;
constexpr int kRuleColumn = 11;
constexpr int kProjectRuleRow = 3;
constexpr int kFirstListRow = 4;
constexpr int kSelectRuleRow = 18;
constexpr int kPromptRow = 20;
constexpr int kPromptColumn = 26;
// Rows 4 to 17 lie between the two rules; lists never draw outside them.
constexpr int kLastListRow = kSelectRuleRow - 1;

class SourcesScreen {
 public:
  SourcesScreen(CorvaneScreen& screen, const FileSystem& fs, List& sources,
                std::string& libraries, std::string& libraryPaths, std::string& includePaths,
                std::string& objects, std::string& resources)
      : screen_(screen),
        window_(screen.mainWorkspace()),
        fs_(fs),
        sources_(sources),
        libraries_(libraries),
        libraryPaths_(libraryPaths),
        includePaths_(includePaths),
        objects_(objects),
        resources_(resources) {}

  int run() {
    window_.activate(false);
    screen_.console().clearRegion();
    const List directory = scanSources(fs_);
    // Only a project with fewer sources than the directory can leave some of
    // the directory's files over.
    if (sources_.size() < directory.size()) others_ = minus(directory, sources_);
    updateAllowedKeys();
    drawReloadLine();
    drawLists();
    drawPrompt();
    restColumn_ = window_.cursorColumn();
    restRow_ = window_.cursorRow();
    window_.show();

    for (;;) {
      const int key = lowerCaseKey(readKeyFrom(screen_.console(), allowedKeys_));
      switch (key) {
        case '1':
          sources_ = scanSources(fs_);
          others_.clear();
          updateAllowedKeys();
          redrawLists();
          break;
        case kKeyRight: {
          window_.activate(false);
          const int result = advancedScreen(screen_, libraries_, libraryPaths_, includePaths_,
                                            objects_, resources_);
          if (result != kKeyLeft) return result;
          window_.activate(true);
          break;
        }
        case kKeyEnter:
        case kKeySpace:
        case kKeyEsc:
        case kKeyLeft:
          return key;
        default:
          if (key >= 'a' && key <= kLastSelectionLetter) {
            moveEntry(static_cast<std::size_t>(key - 'a'));
            redrawLists();
          }
          break;  // Up and Down do nothing here
      }
    }
  }

 private:
  // One letter for each entry shown, as far as the letters go. Moving a file
  // keeps the number of entries, so the letters stay as they are until a
  // reload. Counting the directory's files alone would leave the letters of
  // project files absent from the directory shown but dead.
  void updateAllowedKeys() {
    const std::size_t shown = sources_.size() + others_.size();
    allowedKeys_ = " 1";
    for (std::size_t i = 0; i < shown && i < kSelectableEntries; ++i)
      allowedKeys_ += static_cast<char>('a' + i);
  }

  // "Press (1) to reload all sources from <path>", centred on row 1; a path
  // too long to centre starts the line in column 1 and runs on into row 2.
  void drawReloadLine() {
    const std::string path = displayText(fs_.currentDirectory());
    const long long length = static_cast<long long>(path.size());
    const long long column = std::max(1LL, (window_.width() - length - 36) / 2 + 1);
    writeAt(window_, static_cast<int>(column), kReloadRow, "Press ", kWhite);
    window_.writeColoured("(1)", kYellow);
    window_.writeColoured(" to reload all sources from ", kWhite);
    window_.writeColoured(path, kYellow);
  }

  void drawPrompt() {
    writeAt(window_, kPromptColumn, kPromptRow, "Press ", kWhite);
    window_.writeColoured("(selection)", kYellow);
    window_.writeColoured(", [", kWhite);
    window_.writeColoured("<-", kYellow);
    window_.writeColoured("] [", kWhite);
    window_.writeColoured("->", kYellow);
    window_.writeColoured("]", kWhite);
    window_.writeColoured(", [", kWhite);
    window_.writeColoured("Esc", kYellow);
    window_.writeColoured("] ", kWhite);
    window_.writeColoured("or [", kWhite);
    window_.writeColoured("Enter", kYellow);
    window_.writeColoured("]... ", kWhite);
  }

  void drawLists() {
    writeAt(window_, kRuleColumn, kProjectRuleRow,
            lineCharacters(14) + " P R O J E C T   S O U R C E S " + lineCharacters(14),
            kLightCyan);
    writeAt(window_, kRuleColumn, kSelectRuleRow, lineCharacters(7) + " Select file ",
            kLightCyan);
    window_.writeColoured("(?)", kYellow);
    window_.writeColoured(" to add/remove from project. " + lineCharacters(7), kLightCyan);

    // The names as they show, one cell a character, also for the layout.
    const List shownSources = displayTexts(sources_);
    const List shownOthers = displayTexts(others_);
    const SourceColumns layout(window_.width(), shownSources, shownOthers);
    const long long projectRows = layout.rowsFor(sources_.size());
    const long long otherRows = layout.rowsFor(others_.size());
    const long long otherHeaderRow = layout.otherHeaderRow(others_.size());

    drawEntries(layout, shownSources, 0, kFirstListRow, kWhite);
    clearRows(kFirstListRow + projectRows, otherHeaderRow - 1);
    if (isListRow(otherHeaderRow)) {
      clearRowFrom(window_, 1, static_cast<int>(otherHeaderRow));
      writeAt(window_, kRuleColumn, static_cast<int>(otherHeaderRow),
              lineCharacters(16) + " O T H E R   S O U R C E S " + lineCharacters(16),
              kLightCyan);
    }
    drawEntries(layout, shownOthers, sources_.size(), otherHeaderRow + 1, kLightGrey);
    clearRows(otherHeaderRow + 1 + otherRows, kLastListRow);
    window_.capture();
  }

  // Entries run down the columns: entry i of a list goes to column i / R and
  // row firstRow + i mod R, R being the list's rows per column. Its letter
  // counts on from the entries of the lists drawn before it.
  void drawEntries(const SourceColumns& layout, const List& names, std::size_t firstLetter,
                   long long firstRow, int nameColour) {
    const auto rows = static_cast<std::size_t>(layout.rowsFor(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
      const int column = static_cast<int>(i / rows);
      const long long row = firstRow + static_cast<long long>(i % rows);
      // A list longer than the room between the rules is not paged: rows
      // that fall outside that room are not drawn.
      if (!isListRow(row)) continue;
      if (column == 0) clearRowFrom(window_, 1, static_cast<int>(row));
      writeAt(window_, layout.columnStart(column), static_cast<int>(row),
              selectionLabel(firstLetter + i), kYellow);
      window_.writeColoured(layout.shownName(names[i], column), nameColour);
    }
  }

  void clearRows(long long first, long long last) {
    for (long long row = std::max<long long>(first, kFirstListRow);
         row <= std::min<long long>(last, kLastListRow); ++row)
      clearRowFrom(window_, 1, static_cast<int>(row));
  }

  static bool isListRow(long long row) { return row >= kFirstListRow && row <= kLastListRow; }

  void moveEntry(std::size_t index) {
    if (index < sources_.size()) {
      others_.push_back(sources_[index]);
      removeAt(sources_, index);
      others_ = sortNoCase(others_, true);
      return;
    }
    const std::size_t otherIndex = index - sources_.size();
    if (otherIndex >= others_.size()) return;  // a letter beyond both lists
    sources_.push_back(others_[otherIndex]);
    removeAt(others_, otherIndex);
    sources_ = sortNoCase(sources_, true);
  }

  void redrawLists() {
    window_.activate(false);
    drawLists();
    window_.activate(false);
    window_.setCursor(restColumn_, restRow_);
  }

  CorvaneScreen& screen_;
  TextWindow& window_;
  const FileSystem& fs_;
  List& sources_;
  std::string& libraries_;
  std::string& libraryPaths_;
  std::string& includePaths_;
  std::string& objects_;
  std::string& resources_;
  List others_;
  std::string allowedKeys_;
  int restColumn_ = 1;
  int restRow_ = 1;
};

}  // namespace

int sourcesScreen(CorvaneScreen& screen, const FileSystem& fs, List& sources,
                  std::string& libraries, std::string& libraryPaths, std::string& includePaths,
                  std::string& objects, std::string& resources) {
  return SourcesScreen(screen, fs, sources, libraries, libraryPaths, includePaths, objects,
                       resources)
      .run();
}

}  // namespace corvane

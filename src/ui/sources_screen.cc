#include "ui/sources_screen.h"

#include <algorithm>
#include <string_view>

#include "platform/file_system_text.h"
#include "project/source_discovery.h"
#include "ui/editor_drawing.h"
#include "ui/screen_keys.h"
#include "ui/read_key.h"
#include "ui/source_columns.h"

namespace corvane {

namespace {

constexpr int kReloadRow = 1;
constexpr int kRuleColumn = 11;
constexpr int kProjectRuleRow = 3;
constexpr int kSelectRuleLength = 59;  // from column 11 to column 69
// The row between the select rule and the prompt, blank but for the page
// indicator.
constexpr int kPageRow = kPromptRow - 1;
constexpr Prompt kPrompt{26, "Press {(selection)}, [{<-}] [{->}], [{Esc}] or [{Enter}]... "};
// A name the directory does not hold: white on red stands out from the
// screen's blue with 8 colours, 256 and on the Windows console alike, and
// without colour a coloured background still shows (in reverse).
constexpr int kMissingForeground = kWhite;
constexpr int kMissingBackground = kRed;
// The reload line's text before the path. It is centred as if the blank
// before the path were not there.
constexpr std::string_view kReloadPress = "Press ";
constexpr std::string_view kReloadKey = "(1)";
constexpr std::string_view kReloadFrom = " to reload all sources from ";
constexpr long long kReloadCentredLength =
    static_cast<long long>(kReloadPress.size() + kReloadKey.size() + kReloadFrom.size()) - 1;

}  // namespace

SourcesScreen::SourcesScreen(CorvaneScreen& screen, const FileSystem& fs, ProjectDraft& draft)
    : screen_(screen),
      window_(screen.mainWorkspace()),
      fs_(fs),
      draft_(draft),
      sources_(draft.settings.sources),
      directory_(fs) {}

int SourcesScreen::open() {
  window_.clear();
  page_ = 0;
  // Whatever the project lists (files of another directory, renamed ones),
  // every file of this directory it lacks is offered.
  others_ = minus(listDirectory(), sources_);
  repaginate();
  drawReloadLine();
  drawLists();
  rest_ = writePrompt(window_, kPrompt);
  window_.show();
  return readKeys();
}

// The advanced screen took the main workspace's place and has given it back
// as it was.
int SourcesScreen::resume() {
  window_.activate(true);
  return readKeys();
}

int SourcesScreen::readKeys() {
  for (;;) {
    const int key = readScreenKey(screen_, window_, draft_, allowedKeys_,
                                  HelpTopic::kSourcesScreen,
                                  {kKeyPageUp, kKeyPageDown, kKeyHome, kKeyEnd});
    switch (key) {
      case '1':
        sources_ = listDirectory();
        others_.clear();
        page_ = 0;
        repaginate();
        redrawLists();
        break;
      case kKeyHome:
        showPage(0);
        break;
      case kKeyEnd:
        showPage(pages_.size() - 1);
        break;
      case kKeyPageDown:
      case kKeyDown:
        nextPage();
        break;
      case kKeyPageUp:
      case kKeyUp:
        previousPage();
        break;
      case kKeyRight:
        window_.activate(false);  // the advanced screen opens over it
        return key;
      case kKeyEnter:
      case kKeySpace:
      case kKeyEsc:
      case kKeyLeft:
        return key;
      default:
        if (key >= 'a' && key <= kLastSelectionLetter) {
          moveEntry(static_cast<std::size_t>(key - 'a'));
          repaginate();
          redrawLists();
        }
        break;
    }
  }
}

// The directory's sources as they are now, sorted, and which names it
// holds; sorted once, the listing serves both.
List SourcesScreen::listDirectory() {
  const List& sorted = directory_.refresh();
  if (sorted.empty()) return scanSources(fs_, sorted);  // the name made up
  return sorted;
}

// The first and the last page stop there.
void SourcesScreen::nextPage() {
  if (page_ + 1 < pages_.size()) showPage(page_ + 1);
}
void SourcesScreen::previousPage() {
  if (page_ > 0) showPage(page_ - 1);
}

void SourcesScreen::showPage(std::size_t page) {
  page_ = page;
  updateAllowedKeys();
  redrawLists();
}

// The pages after the lists changed. The user stays on the page they were
// on, or on the last one when there are fewer pages now.
void SourcesScreen::repaginate() {
  // The names as they show, one cell a character, are what takes room.
  shownSources_ = displayTexts(sources_);
  shownOthers_ = displayTexts(others_);
  pages_ = splitIntoPages(window_.width(), shownSources_, shownOthers_);
  page_ = std::min(page_, pages_.size() - 1);
  updateAllowedKeys();
}

// One letter for each entry on the page. Counting the directory's files
// instead would leave the letters of project files absent from the
// directory shown but dead.
void SourcesScreen::updateAllowedKeys() {
  allowedKeys_ = std::string(" 1") + kHelpCharacter;
  for (std::size_t i = 0; i < pages_[page_].count; ++i)
    allowedKeys_ += static_cast<char>('a' + i);
}

// "Press (1) to reload all sources from <path>", centred on row 1; a path
// too long to centre starts the line in column 1 and runs on into row 2,
// and one too long for both rows is cut with ".." at the end of row 2.
// A click from "(1)" to the end of the path reloads.
void SourcesScreen::drawReloadLine() {
  const std::string path = displayText(fs_.currentDirectory());
  const long long length = static_cast<long long>(path.size());
  const long long column =
      std::max(1LL, (window_.width() - length - kReloadCentredLength) / 2 + 1);
  window_.setCursor(static_cast<int>(column), kReloadRow);
  writePieces(window_,
              {{std::string(kReloadPress), kWhite, 0},
               {std::string(kReloadKey), kYellow, '1'},
               {std::string(kReloadFrom), kWhite, '1'},
               {path, kYellow, '1'}},
              kReloadRow + 1);
}

void SourcesScreen::drawLists() {
  writeAt(window_, kRuleColumn, kProjectRuleRow,
          lineCharacters(14) + " P R O J E C T   S O U R C E S " + lineCharacters(14),
          kLightCyan);
  writeAt(window_, kRuleColumn, kSelectRuleRow, lineCharacters(7) + " Select file ",
          kLightCyan);
  window_.writeColoured("(?)", kYellow);
  window_.writeColoured(" to add/remove from project. " + lineCharacters(7), kLightCyan);

  const PageLayout layout =
      layOutPage(window_.width(), shownSources_, shownOthers_, pages_[page_]);
  drawEntries(layout, true);
  clearRows(layout.projectEnd, layout.otherHeaderRow - 1);
  clearRowFrom(window_, 1, layout.otherHeaderRow);
  writeAt(window_, kRuleColumn, layout.otherHeaderRow,
          lineCharacters(16) + " O T H E R   S O U R C E S " + lineCharacters(16), kLightCyan);
  drawEntries(layout, false);
  clearRows(layout.otherEnd, kLastListRow);
  drawPageIndicator();
  window_.capture();
}

void SourcesScreen::drawEntries(const PageLayout& layout, bool projectSources) {
  for (const PlacedEntry& entry : layout.entries) {
    if (entry.inProject != projectSources) continue;
    if (entry.startsRow) clearRowFrom(window_, 1, entry.row);
    writeAt(window_, entry.column, entry.row, selectionLabel(entry.letter), kYellow);
    const std::string& name = projectSources ? sources_[entry.entry]
                                             : others_[entry.entry - sources_.size()];
    if (!directory_.holds(name)) {
      window_.writeColoured(entry.name, kMissingForeground, kMissingBackground);
    } else {
      window_.writeColoured(entry.name, projectSources ? kWhite : kLightGrey);
    }
    clickableSince(window_, entry.column, entry.row, 'a' + static_cast<int>(entry.letter));
  }
}

// "[PgUp] page 2 of 4 [PgDn]" centred under the select rule, only when
// there is more than one page. No rule line has room for it beside its
// fixed text, and the row below the select rule is otherwise blank. The
// wheel turns the pages too, while there are any.
void SourcesScreen::drawPageIndicator() {
  clearRowFrom(window_, 1, kPageRow);
  const bool paged = pages_.size() > 1;
  window_.clicks().setWheel(paged ? kKeyPageUp : 0, paged ? kKeyPageDown : 0);
  if (!paged) return;
  const std::string line = "[{PgUp}] page " + std::to_string(page_ + 1) + " of " +
                           std::to_string(pages_.size()) + " [{PgDn}]";
  const int length = static_cast<int>(line.size()) - 4;  // the braces do not show
  writeKeyLine(window_, kRuleColumn + std::max(0, (kSelectRuleLength - length) / 2), kPageRow,
               line);
}

void SourcesScreen::clearRows(long long first, long long last) {
  for (long long row = std::max<long long>(first, kFirstListRow);
       row <= std::min<long long>(last, kLastListRow); ++row)
    clearRowFrom(window_, 1, static_cast<int>(row));
}

// The entry with that letter on the current page moves to the other list.
void SourcesScreen::moveEntry(std::size_t letter) {
  if (letter >= pages_[page_].count) return;  // no entry has that letter
  const std::size_t index = pages_[page_].first + letter;
  if (index < sources_.size()) {
    std::string moved = std::move(sources_[index]);
    removeAt(sources_, index);
    insertNoCase(others_, std::move(moved));
    return;
  }
  const std::size_t otherIndex = index - sources_.size();
  std::string moved = std::move(others_[otherIndex]);
  removeAt(others_, otherIndex);
  insertNoCase(sources_, std::move(moved));
}

void SourcesScreen::redrawLists() {
  window_.activate(false);
  drawLists();
  window_.activate(false);
  window_.setCursor(rest_.column, rest_.row);
}


}  // namespace corvane

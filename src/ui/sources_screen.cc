#include "ui/sources_screen.h"

#include <algorithm>
#include <string_view>

#include "platform/file_system_text.h"
#include "project/source_discovery.h"
#include "text/name_match.h"
#include "ui/editor_drawing.h"
#include "ui/screen_keys.h"
#include "ui/read_key.h"
#include "ui/source_columns.h"

namespace corvane {

namespace {

constexpr int kReloadRow = 1;
// The row under the reload line: blank unless a filter is on or the project
// lists missing sources, when it says so (a long path gives it up then).
constexpr int kStatusRow = 2;
constexpr int kRuleColumn = 11;
constexpr int kProjectRuleRow = 3;
constexpr int kSelectRuleLength = 59;  // from column 11 to column 69
constexpr Prompt kPrompt{26, "Press {(selection)}, [{<-}] [{->}], [{Esc}] or [{Enter}]... "};
// Where colour does not show, a missing name starts with the mark: ASCII,
// so that every terminal and code page shows it, at the start, where the
// eye runs down a column, and the very key that shows only them.
constexpr char kMissingMark = '!';
constexpr char kFilterKey = '/';
constexpr char kMissingKey = '!';
constexpr char kAddShownKey = '+';
constexpr char kRemoveShownKey = '-';

// "[/]": a key of one character as the status row names it.
void appendKey(std::vector<LinePiece>& pieces, char key) {
  appendKeyPieces(pieces, std::string(1, key), key);
}

// ' "pay_*"', the filter's pattern as the status row shows it.
std::string quoted(std::string_view pattern) { return " \"" + std::string(pattern) + "\""; }
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
      directory_(fs) {
  // A default project, or one in step with its directory, lists just the
  // listing, sorted alike; only another is looked up name by name. The
  // listing is kept for the screen while the directory stays as it is.
  const List& sorted = directory_.refresh();
  listedNone_ = sorted.empty();
  findMissing(sources_ == sorted);
}

std::size_t SourcesScreen::missingSources() const {
  if (missingNames_.empty()) return 0;
  std::size_t count = 0;
  for (const std::string& source : sources_) count += isMissing(source) ? 1 : 0;
  return count;
}

int SourcesScreen::open() {
  window_.clear();
  page_ = 0;
  filter_ = Filter::kAll;
  pattern_.clear();
  // Whatever the project lists (files of another directory, renamed ones),
  // every file of this directory it lacks is offered.
  const List listing = listDirectory();
  others_ = minus(listing, sources_);
  // One listed name is taken out for each project source found as spelled.
  findMissing(listing.size() - others_.size() == sources_.size());
  repaginate();
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
        findMissing(true);
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
      case kFilterKey:
        editFilter();
        break;
      case kMissingKey:
        // A second "!" shows every name again.
        setFilter(filter_ == Filter::kMissing ? Filter::kAll : Filter::kMissing, "");
        redrawLists();
        break;
      case kAddShownKey:
      case kRemoveShownKey:
        moveShown(key == kRemoveShownKey);
        repaginate();
        redrawLists();
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
  listedNone_ = sorted.empty();
  if (listedNone_) return scanSources(fs_, sorted);  // the name made up
  return sorted;
}

// The names of the lists change only by moving between them until the
// directory is listed again, so which are missing is asked once per
// listing, not for 20,000 names at every key. Only project sources can be:
// the other sources come from the listing. When the listing holds every
// project source as spelled (everyListed), none is missing and nothing
// needs looking up, which is the usual case; a directory without sources
// offers a name made up, which is missing.
void SourcesScreen::findMissing(bool everyListed) {
  missingNames_.clear();
  if (everyListed && !listedNone_) return;
  for (const std::string& source : sources_)
    if (directory_.lacks(source)) missingNames_.insert(source);
}

bool SourcesScreen::isMissing(const std::string& name) const {
  return !missingNames_.empty() && missingNames_.count(name) != 0;
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

// The entries shown and their pages after the lists or the filter changed.
// The user stays on the page they were on, or on the last one when there
// are fewer pages now.
void SourcesScreen::repaginate() {
  const bool marked = !window_.console().showsColour();
  shownSources_.clear();
  shownOthers_.clear();
  shownAt_.clear();
  shownMissing_.clear();
  missingCount_ = 0;
  collectShown(sources_, true, marked, shownSources_);
  collectShown(others_, false, marked, shownOthers_);
  pages_ = splitIntoPages(window_.width(), shownSources_, shownOthers_);
  page_ = std::min(page_, pages_.size() - 1);
  updateAllowedKeys();
}

// The names of one list that the filter lets through, as they show: one
// cell a character, which is what takes room.
void SourcesScreen::collectShown(const List& names, bool inProject, bool marked, List& shown) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool missing = isMissing(names[i]);
    if (inProject && missing) ++missingCount_;
    if (!passes(names[i], missing)) continue;
    shownAt_.push_back(i);
    shownMissing_.push_back(missing);
    shown.push_back(marked && missing ? kMissingMark + displayText(names[i])
                                      : displayText(names[i]));
  }
}

bool SourcesScreen::passes(const std::string& name, bool missing) const {
  switch (filter_) {
    case Filter::kAll:
      return true;
    case Filter::kPattern:
      return matchesName(name, pattern_);
    case Filter::kMissing:
      return missing;
  }
  return true;
}

// One letter for each entry on the page. Counting the directory's files
// instead would leave the letters of project files absent from the
// directory shown but dead.
void SourcesScreen::updateAllowedKeys() {
  allowedKeys_ = std::string(" 1") + kHelpCharacter + kFilterKey + kMissingKey + kAddShownKey +
                 kRemoveShownKey;
  for (std::size_t i = 0; i < pages_[page_].count; ++i)
    allowedKeys_ += static_cast<char>('a' + i);
}

// "/": the filter in an edit box over the bottom of the screen, opening
// with the pattern in force. Enter on an empty value shows every name
// again; Esc keeps the filter as it was.
void SourcesScreen::editFilter() {
  std::string value = filter_ == Filter::kPattern ? pattern_ : std::string();
  editAndRest(window_, {"Show names matching: ", &value}, rest_, [&](EditResult result) {
    if (result == EditResult::kAccepted)
      setFilter(value.empty() ? Filter::kAll : Filter::kPattern, value);
    drawLists();
  });
}

// A new filter shows its first page.
void SourcesScreen::setFilter(Filter filter, std::string pattern) {
  filter_ = filter;
  pattern_ = std::move(pattern);
  page_ = 0;
  repaginate();
}

// Rows 1 and 2: the reload line, and under it the status of the filter and
// the missing sources when there is any to tell; the reload line then keeps
// to row 1 (a long path is cut) so that nothing below moves.
void SourcesScreen::drawHeadRows() {
  const std::vector<LinePiece> status = statusPieces();
  clearRowFrom(window_, 1, kReloadRow);
  clearRowFrom(window_, 1, kStatusRow);
  drawReloadLine(status.empty() ? kStatusRow : kReloadRow);
  if (!status.empty()) writePiecesCentred(window_, status, kStatusRow);
}

// With a filter: '[/] "pay_*": 12 of 2117 shown, [+] add [-] remove them',
// then "3 missing [!]" when the project lists missing sources. Without one,
// only how many are missing and that "!" shows them. A pattern too long for
// the row is cut.
std::vector<LinePiece> SourcesScreen::statusPieces() const {
  std::vector<LinePiece> pieces;
  if (filter_ == Filter::kAll) {
    if (missingCount_ == 0) return pieces;
    pieces.push_back({missingSourcesText(missingCount_), kMissingForeground, kMissingKey,
                      kMissingBackground});
    pieces.push_back({": ", kWhite, 0});
    appendKey(pieces, kMissingKey);
    pieces.push_back({" shows only them", kWhite, kMissingKey});
    return pieces;
  }
  const char key = filter_ == Filter::kMissing ? kMissingKey : kFilterKey;
  appendKey(pieces, key);
  const std::size_t describedAt = pieces.size();
  pieces.push_back({filter_ == Filter::kMissing ? " only the missing" : quoted(pattern_), kWhite,
                    key});
  pieces.push_back({": " + std::to_string(shownAt_.size()) + " of " +
                        std::to_string(sources_.size() + others_.size()) + " shown, ",
                    kWhite, 0});
  appendKey(pieces, kAddShownKey);
  pieces.push_back({" add ", kWhite, 0});
  appendKey(pieces, kRemoveShownKey);
  pieces.push_back({" remove them", kWhite, 0});
  if (missingCount_ > 0) {
    pieces.push_back({"   ", kWhite, 0});
    pieces.push_back({std::to_string(missingCount_) + " missing", kMissingForeground, kMissingKey,
                      kMissingBackground});
    if (filter_ == Filter::kPattern) {
      pieces.push_back({" ", kWhite, 0});
      appendKey(pieces, kMissingKey);
    }
  }
  // Only a pattern can be too long for the row; it is cut inside its quotes.
  const std::size_t length = piecesLength(pieces);
  const auto width = static_cast<std::size_t>(window_.width());
  if (length > width) {
    const std::size_t room = pattern_.size() - std::min(pattern_.size(), length - width);
    pieces[describedAt].text = quoted(fitWithDots(pattern_, room));
  }
  return pieces;
}

// "Press (1) to reload all sources from <path>", centred on row 1; a path
// too long to centre starts the line in column 1 and runs on into row 2,
// and one too long for both rows is cut with ".." at the end of row 2.
// A click from "(1)" to the end of the path reloads.
void SourcesScreen::drawReloadLine(int lastRow) {
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
              lastRow);
}

void SourcesScreen::drawLists() {
  drawHeadRows();
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
    if (shownMissing_[entry.entry]) {
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
  clearRowFrom(window_, 1, kNoticeRow);
  const bool paged = pages_.size() > 1;
  window_.clicks().setWheel(paged ? kKeyPageUp : 0, paged ? kKeyPageDown : 0);
  if (!paged) return;
  const std::string line = "[{PgUp}] page " + std::to_string(page_ + 1) + " of " +
                           std::to_string(pages_.size()) + " [{PgDn}]";
  const int length = static_cast<int>(line.size()) - 4;  // the braces do not show
  writeKeyLine(window_, kRuleColumn + std::max(0, (kSelectRuleLength - length) / 2), kNoticeRow,
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
  const std::size_t entry = pages_[page_].first + letter;
  const std::size_t index = shownAt_[entry];
  if (entry < shownSources_.size()) {
    std::string moved = std::move(sources_[index]);
    removeAt(sources_, index);
    insertNoCase(others_, std::move(moved));
    return;
  }
  std::string moved = std::move(others_[index]);
  removeAt(others_, index);
  insertNoCase(sources_, std::move(moved));
}

// "+" and "-": every entry shown of one list, on every page, moves to the
// other, as if each had been moved by its letter in turn: the list that
// loses them keeps its order, the one that gains them is sorted. Done at
// once, so that 20,000 names cost one sort, not 20,000 insertions.
void SourcesScreen::moveShown(bool outOfProject) {
  List& from = outOfProject ? sources_ : others_;
  List& to = outOfProject ? others_ : sources_;
  const std::size_t first = outOfProject ? 0 : shownSources_.size();
  const std::size_t end = outOfProject ? shownSources_.size() : shownAt_.size();
  if (first == end) return;
  std::vector<bool> moving(from.size(), false);
  for (std::size_t entry = first; entry < end; ++entry) moving[shownAt_[entry]] = true;
  List kept;
  kept.reserve(from.size() - (end - first));
  for (std::size_t i = 0; i < from.size(); ++i)
    (moving[i] ? to : kept).push_back(std::move(from[i]));
  from = std::move(kept);
  to = sortNoCase(to, true);
}

void SourcesScreen::redrawLists() {
  window_.activate(false);
  drawLists();
  window_.activate(false);
  window_.setCursor(rest_.column, rest_.row);
}

}  // namespace corvane

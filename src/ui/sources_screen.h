// The second editing screen: the project's sources beside the other sources
// of the current directory, one key per file to move it across. A filter
// narrows both lists to the names that match, or to the missing ones, and
// "+" and "-" move every name shown at once. It keeps its lists, its filter
// and its page while the advanced screen is shown over it.
#ifndef CORVANE_UI_SOURCES_SCREEN_H
#define CORVANE_UI_SOURCES_SCREEN_H

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"
#include "project/source_discovery.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/editor_drawing.h"
#include "ui/project_editor.h"
#include "ui/source_pages.h"
#include "ui/text_window.h"

namespace corvane {

class SourcesScreen {
 public:
  // The directory is listed here already, so that the main screen can tell
  // how many of the project's sources it lacks before this screen is seen.
  SourcesScreen(CorvaneScreen& screen, const FileSystem& fs, ProjectDraft& draft);

  // Shows the screen afresh, from the main screen: the directory is listed
  // again, the filter is off and the first page shown. Returns Enter,
  // Space, Esc, Left or Right.
  int open();
  // Takes the keys again as the screen was left, back from the advanced
  // screen. Returns as open does.
  int resume();

  // How many of the draft's sources are missing, as last listed.
  std::size_t missingSources() const;

 private:
  // What the lists show: every name, the names matching the pattern, or
  // the missing names only.
  enum class Filter { kAll, kPattern, kMissing };

  int readKeys();
  List listDirectory();
  void findMissing(bool everyListed);
  bool isMissing(const std::string& name) const;
  void nextPage();
  void previousPage();
  void showPage(std::size_t page);
  void repaginate();
  void collectShown(const List& names, bool inProject, bool marked, List& shown);
  bool passes(const std::string& name, bool missing) const;
  void updateAllowedKeys();
  void editFilter();
  void setFilter(Filter filter, std::string pattern);
  void drawHeadRows();
  std::vector<LinePiece> statusPieces() const;
  void drawReloadLine(int lastRow);
  void drawLists();
  void drawEntries(const PageLayout& layout, bool projectSources);
  void drawPageIndicator();
  void clearRows(long long first, long long last);
  void moveEntry(std::size_t letter);
  void moveShown(bool outOfProject);
  void redrawLists();

  CorvaneScreen& screen_;
  TextWindow& window_;
  const FileSystem& fs_;
  const ProjectDraft& draft_;
  List& sources_;
  List others_;
  // The directory's sources when last listed, sorted, and which names are
  // there; whether it held none; and the names of the lists that are
  // missing.
  SourceListing directory_;
  bool listedNone_ = false;
  std::unordered_set<std::string> missingNames_;
  Filter filter_ = Filter::kAll;
  std::string pattern_;
  // The entries shown, project sources first, as they show (names in cells,
  // marked where colour cannot tell the missing), where each stands in its
  // list, and whether it is missing.
  List shownSources_;
  List shownOthers_;
  std::vector<std::size_t> shownAt_;
  std::vector<bool> shownMissing_;
  // The project sources the directory lacks, shown or not.
  std::size_t missingCount_ = 0;
  std::vector<SourcePage> pages_;
  std::size_t page_ = 0;
  std::string allowedKeys_;
  RestPosition rest_;
};

}  // namespace corvane

#endif  // CORVANE_UI_SOURCES_SCREEN_H

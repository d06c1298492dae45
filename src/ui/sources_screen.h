// The second editing screen: the project's sources beside the other sources
// of the current directory, one key per file to move it across. It keeps its
// lists and its page while the advanced screen is shown over it.
#ifndef CORVANE_UI_SOURCES_SCREEN_H
#define CORVANE_UI_SOURCES_SCREEN_H

#include <cstddef>
#include <string>
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
  SourcesScreen(CorvaneScreen& screen, const FileSystem& fs, ProjectDraft& draft);

  // Shows the screen afresh, from the main screen: the directory is listed
  // again and the first page shown. Returns Enter, Space, Esc, Left or Right.
  int open();
  // Takes the keys again as the screen was left, back from the advanced
  // screen. Returns as open does.
  int resume();

 private:
  int readKeys();
  List listDirectory();
  void nextPage();
  void previousPage();
  void showPage(std::size_t page);
  void repaginate();
  void updateAllowedKeys();
  void drawReloadLine();
  void drawLists();
  void drawEntries(const PageLayout& layout, bool projectSources);
  void drawPageIndicator();
  void clearRows(long long first, long long last);
  void moveEntry(std::size_t letter);
  void redrawLists();

  CorvaneScreen& screen_;
  TextWindow& window_;
  const FileSystem& fs_;
  const ProjectDraft& draft_;
  List& sources_;
  List others_;
  // The files the directory held when last listed; names it lacks are marked.
  SourceListing directory_;
  List shownSources_;
  List shownOthers_;
  std::vector<SourcePage> pages_;
  std::size_t page_ = 0;
  std::string allowedKeys_;
  RestPosition rest_;
};

}  // namespace corvane

#endif  // CORVANE_UI_SOURCES_SCREEN_H

// The interactive editing of a project on the main, sources and advanced
// screens. The screens edit one draft of the project: copied in when
// editing starts, copied back when the user accepts, dropped on Esc.
#ifndef CORVANE_UI_PROJECT_EDITOR_H
#define CORVANE_UI_PROJECT_EDITOR_H

#include <cstddef>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "project/make_project.h"
#include "ui/corvane_screen.h"
#include "ui/line_editor.h"

namespace corvane {

// What the screens edit: the project's settings and the name of its file,
// beside the two as editing found them.
class ProjectDraft {
 public:
  ProjectDraft() = default;
  ProjectDraft(std::string fileName, ProjectSettings startSettings)
      : projectFileName(std::move(fileName)),
        settings(std::move(startSettings)),
        startFileName_(projectFileName),
        startSettings_(settings) {}

  // True when ending without saving would lose an edit: the draft differs
  // from the project as it was loaded or created.
  bool changed() const {
    return projectFileName != startFileName_ || settings != startSettings_;
  }

  std::string projectFileName;
  ProjectSettings settings;

 private:
  std::string startFileName_;
  ProjectSettings startSettings_;
};

// Runs the screens on a draft, going from one to the next with the arrow
// keys. Enter or Space accept: the draft goes back into the project and the
// project-file name. Esc leaves both exactly as they were.
EditResult editProject(MakeProject& project, std::string& projectFileName, CorvaneScreen& screen,
                       const FileSystem& fs);

// Each screen returns the key that leaves it: Enter, Space, Esc, or the
// arrow to the screen beside it.

// Returns Enter, Space, Esc or Right. When the project lists sources that
// are missing (missingSources of them), a line above the prompt says so, so
// that the user learns it before accepting the project here.
int mainScreen(CorvaneScreen& screen, ProjectDraft& draft, std::size_t missingSources = 0);

// Returns Enter, Space, Esc or Left.
int advancedScreen(CorvaneScreen& screen, ProjectDraft& draft);

}  // namespace corvane

#endif  // CORVANE_UI_PROJECT_EDITOR_H

// The project editor: the three screens run on a draft of the project, which
// goes back into the project only when the user accepts.
#include "ui/project_editor.h"

#include "ui/read_key.h"
#include "ui/sources_screen.h"

namespace corvane {

EditResult editProject(MakeProject& project, std::string& projectFileName, CorvaneScreen& screen,
                       const FileSystem& fs) {
  // The screens never touch the project itself, so Esc leaves it exactly as
  // it was.
  ProjectDraft draft{projectFileName, project.settings()};
  SourcesScreen sources(screen, fs, draft);

  // The screens stand side by side, main, sources, advanced, and each
  // leaves with an arrow to its neighbour or a key that ends the editing.
  enum class Shown { kMain, kSources, kAdvanced };
  Shown shown = Shown::kMain;
  int key = mainScreen(screen, draft, sources.missingSources());
  while (key == kKeyLeft || key == kKeyRight) {
    if (shown == Shown::kMain) {
      shown = Shown::kSources;
      key = sources.open();
    } else if (shown == Shown::kAdvanced) {
      shown = Shown::kSources;
      key = sources.resume();
    } else if (key == kKeyRight) {
      shown = Shown::kAdvanced;
      key = advancedScreen(screen, draft);
    } else {
      shown = Shown::kMain;
      key = mainScreen(screen, draft, sources.missingSources());
    }
  }
  if (key == kKeyEsc) return EditResult::kEscaped;

  // Enter or Space accept the edits.
  project.setSettings(draft.settings);
  projectFileName = draft.projectFileName;
  return EditResult::kAccepted;
}

}  // namespace corvane

// The interactive editing of a project on the main, sources and advanced
// screens.
#ifndef CORVANE_UI_PROJECT_EDITOR_H
#define CORVANE_UI_PROJECT_EDITOR_H

#include <string>

#include "options/option_list.h"
#include "platform/file_system.h"
#include "project/make_project.h"
#include "ui/corvane_screen.h"

namespace corvane {

// Runs the screens on working copies. Returns true when the user ended with
// Enter or Space: the edits are then written back into the project and the
// project-file name. Returns false on Esc: the screen has been destroyed,
// nothing was written back, and the run ends with exit status 1.
bool editProject(MakeProject& project, std::string& projectFileName, CorvaneScreen& screen,
                 const FileSystem& fs);

// Returns Enter, Space, Esc or Right.
int mainScreen(CorvaneScreen& screen, OptionList& options, std::string& projectFileName,
               std::string& makefileName, std::string& target, std::string& compileFlags,
               std::string& linkFlags);

// Returns Enter, Space, Esc or Left.
int sourcesScreen(CorvaneScreen& screen, const FileSystem& fs, List& sources,
                  std::string& libraries, std::string& libraryPaths,
                  std::string& includePaths, std::string& objects, std::string& resources);

// Returns Enter, Space, Esc or Left.
int advancedScreen(CorvaneScreen& screen, std::string& libraries, std::string& libraryPaths,
                   std::string& includePaths, std::string& objects, std::string& resources);

}  // namespace corvane

#endif  // CORVANE_UI_PROJECT_EDITOR_H

// The project editor: the three screens run on working copies of the
// project, which go back into the project only when the user accepts.
#include "ui/project_editor.h"

#include "ui/read_key.h"

namespace corvane {

bool editProject(MakeProject& project, std::string& projectFileName, CorvaneScreen& screen,
                 const FileSystem& fs) {
  // The screens never touch the project itself, so Esc leaves it exactly as
  // it was.
  OptionList options = project.optionList();
  std::string fileName = projectFileName;
  std::string target = project.target();
  std::string makefileName = project.makefileName();
  std::string compileFlags = project.compilerFlags();
  std::string linkFlags = project.linkerFlags();
  List sources = project.sources();
  std::string includePaths = project.includePaths();
  std::string libraryPaths = project.libraryPaths();
  std::string libraries = project.libraries();
  std::string objects = project.objects();
  std::string resources = project.resources();

  for (;;) {
    int key = mainScreen(screen, options, fileName, makefileName, target, compileFlags, linkFlags);
    if (key == kKeyRight)
      key = sourcesScreen(screen, fs, sources, libraries, libraryPaths, includePaths, objects,
                          resources);
    if (key == kKeyEsc) {
      screen.destroy();
      return false;
    }
    if (key != kKeyLeft) break;  // Enter or Space accept the edits
  }

  project.setOptionList(options);
  project.setCompilerFlags(compileFlags);
  project.setLinkerFlags(linkFlags);
  project.setLibraries(libraries);
  project.setObjects(objects);
  project.setResources(resources);
  project.setLibraryPaths(libraryPaths);
  project.setIncludePaths(includePaths);
  project.setTarget(target);
  project.setMakefileName(makefileName);
  project.setSources(sources);
  projectFileName = fileName;
  return true;
}

}  // namespace corvane

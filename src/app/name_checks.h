// Whether the names a run would read and write may be used: a project file
// that may be loaded, names that would replace no file that is not the
// project's own, and the words that say why not.
#ifndef CORVANE_APP_NAME_CHECKS_H
#define CORVANE_APP_NAME_CHECKS_H

#include <string>

#include "app/run_outcome.h"
#include "platform/file_system.h"
#include "project/make_project.h"
#include "text/text_utils.h"

namespace corvane {

// Why a name may not be saved under: the name as typed, or the file a link
// makes of it, has the extension of a source or build file.
struct NameRefusal {
  std::string leadsTo;  // the file the name leads to, when that is what is refused
  std::string why;      // empty when the name may be used

  bool refused() const { return !why.empty(); }
  // The lines of a box, after the one that names the file.
  List lines() const {
    if (leadsTo.empty()) return {"It " + why + "."};
    return {"It leads to " + quoted(leadsTo) + ",", "which " + why + "."};
  }
  // The same in one run of words that follows the name.
  std::string words() const {
    return leadsTo.empty() ? why : "leads to " + quoted(leadsTo) + ", which " + why;
  }
};

// Why a name may not be saved under or loaded from; nothing refused when
// it may.
NameRefusal nameRefusal(const FileSystem& fs, const std::string& name);

// The first line of a question about a file that is there: its name, and
// where it leads when it is a link to another.
std::string existingFileLine(const FileSystem& fs, const std::string& name);

// The project file as read (absent, a device, or its bytes), or why it may
// be neither loaded nor replaced: its name, or what it holds.
struct ProjectFileRead {
  FileContent file;
  NameRefusal refusal;
};
ProjectFileRead readProjectFile(const FileSystem& fs, const std::string& name);

// The error box's lines when saving under the names the user accepted would
// replace a file that is not the project's own to write, or would give the
// project file or the makefile the name of a source or build file; nothing
// when the names are safe. The directory's sources count as well as the
// project's. Each name is checked as typed and as the file it finally leads
// to (FileSystem::finalName): a link to util.h is refused as util.h is.
List nameClash(const FileSystem& fs, const MakeProject& project, const std::string& projectFile);

// The error box's lines when the project may not be saved as it stands:
// names that would replace another file (see nameClash), or a target
// without a name; nothing when it may.
List refusedOnAccepting(const FileSystem& fs, const MakeProject& project,
                        const std::string& projectFile);

}  // namespace corvane

#endif  // CORVANE_APP_NAME_CHECKS_H

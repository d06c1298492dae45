// Finds the C and C++ sources of the current directory and the one that
// defines the program's entry point.
#ifndef CORVANE_PROJECT_SOURCE_DISCOVERY_H
#define CORVANE_PROJECT_SOURCE_DISCOVERY_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"
#include "text/text_utils.h"

namespace corvane {

enum class EntryFlavour { kConsole, kWindows };

// How much of a source is searched for an entry point: its first 16 MiB. A
// definition further down is not found; reading stops there, so that a
// huge or endless file (a link to a device, a sparse file) costs no more.
inline constexpr std::size_t kEntrySearchBytes = std::size_t{16} << 20;

// The entry point a source defines, which tells the kind of program.
enum class EntryPoint { kNone, kMain, kWinMain, kDllEntryPoint };

// Appends the names of the current directory's entries that match "*." +
// extension (a name with a control character in it is no source); returns
// how many it appended.
int collectFiles(const FileSystem& fs, List& list, const std::string& extension);
// The same for several extensions, the names of each after those of the one
// before, the directory read once.
int collectFiles(const FileSystem& fs, List& list, const std::vector<std::string>& extensions);
// The ".cpp" and then the ".c" files the current directory holds, as the
// listing gives them; empty when it holds none.
List directorySources(const FileSystem& fs);
// The directory's sources sorted, or the one name made up from the
// directory's own when the listing is empty.
List scanSources(const FileSystem& fs);
List scanSources(const FileSystem& fs, const List& listing);
bool definesEntryPoint(const FileSystem& fs, const std::string& fileName);
// The same, telling which entry point the file defines (kNone when none): a
// file that defines more than one counts as a DLL before a Windows program
// before a console program.
bool definesEntryPoint(const FileSystem& fs, const std::string& fileName, EntryPoint& found);
bool isEntryDefinition(std::string_view line, EntryFlavour flavour);

// The target a default project is named after, and the entry point found
// there (kNone when the name is the directory's).
struct DefaultTarget {
  std::string name;
  EntryPoint entryPoint = EntryPoint::kNone;
  // Every source that defines an entry point, in the order given; the
  // target is named after the first. More than one make one program that
  // Borland Make cannot build as meant.
  List entrySources;
};
DefaultTarget findDefaultTarget(const FileSystem& fs, const List& sources);
std::string defaultTargetName(const FileSystem& fs, const List& sources);

// Which sources are there: a name is held when a file of that name exists
// from the current directory. The listing is the directory's sources (see
// directorySources); a .c or .cpp name without a directory part is looked
// up there as the Borland tools look files up on Windows and under Wine,
// without regard to case, so that a project naming Util.c is not told that
// util.c is missing. Any other name (src/util.c, a .h) is asked of the file
// system, once.
class SourceDirectory {
 public:
  SourceDirectory(const List& listing, const FileSystem& fs);
  bool holds(std::string_view name) const;
  // Whether a source the project lists is missing: it names a file (a
  // blank entry names none) that is not there. The one answer to that
  // question for the screens and the report at the end.
  bool lacks(std::string_view source) const;
  // The sources that are missing, each once, in project order.
  List missingFrom(const List& sources) const;
  // Asks the file system again about the names outside the listing: a file
  // may come or go in another directory while this one stays as it was.
  void forgetLookups() { lookedUp_.clear(); }

 private:
  std::unordered_set<std::string> upperCaseNames_;
  const FileSystem* fs_;
  // The names outside the listing asked of the file system so far: the
  // sources screen asks again at every page it draws.
  mutable std::unordered_map<std::string, bool> lookedUp_;
};

// The directory's sources sorted as the screens show them, and which of
// them are there. Sorting 20,000 names and looking them up again takes
// longer than a key may, so what was worked out is kept while the file
// system tells that its listing stands (FileSystem::listingVersion).
class SourceListing {
 public:
  explicit SourceListing(const FileSystem& fs) : fs_(&fs), directory_(List(), fs) {}
  // The sources as the directory holds them now, sorted; empty when it
  // holds none.
  const List& refresh();
  // Whether a file of that name is there, as found since the last refresh
  // (see SourceDirectory).
  bool holds(std::string_view name) const { return directory_.holds(name); }
  // Whether a source is missing (see SourceDirectory::lacks).
  bool lacks(std::string_view source) const { return directory_.lacks(source); }

 private:
  const FileSystem* fs_;
  std::uint64_t version_ = 0;
  List sorted_;
  SourceDirectory directory_;
};

}  // namespace corvane

#endif  // CORVANE_PROJECT_SOURCE_DISCOVERY_H

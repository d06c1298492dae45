#include "project/source_discovery.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "text/path_names.h"

namespace corvane {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// The extensions of the sources a directory is listed for, in that order.
const std::vector<std::string> kSourceExtensions = {"cpp", "c"};
// In the order a file that defines several counts as one of them.
constexpr struct {
  std::string_view name;
  EntryPoint entryPoint;
} kEntryNames[] = {{"DllEntryPoint", EntryPoint::kDllEntryPoint},
                   {"WinMain", EntryPoint::kWinMain},
                   {"main", EntryPoint::kMain}};
constexpr std::string_view kCallingConventions[] = {"WINAPI", "PASCAL", "APIENTRY", "CDECL",
                                                    "CALLBACK"};

bool isWhiteSpace(char c) { return kWhiteSpace.find(c) != std::string_view::npos; }

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The windows flavour looks at WinMain when the line names it, else at
// DllEntryPoint.
EntryPoint entryPointOfLine(std::string_view line) {
  if (isEntryDefinition(line, EntryFlavour::kConsole)) return EntryPoint::kMain;
  if (!isEntryDefinition(line, EntryFlavour::kWindows)) return EntryPoint::kNone;
  return line.find("WinMain") != std::string_view::npos ? EntryPoint::kWinMain
                                                         : EntryPoint::kDllEntryPoint;
}

// A name with a control character in it cannot stand in the line-based
// project file and makefile (a line feed would start a line of its own), so
// such a file is no source.
int appendSources(List names, List& list) {
  int appended = 0;
  for (std::string& name : names) {
    if (hasControlCharacter(name)) continue;
    list.push_back(std::move(name));
    ++appended;
  }
  return appended;
}

}  // namespace

int collectFiles(const FileSystem& fs, List& list, const std::string& extension) {
  return appendSources(fs.listMatching(extension), list);
}

// The directory is read once for both extensions.
List directorySources(const FileSystem& fs) {
  List sources;
  for (List& names : fs.listMatchingEach(kSourceExtensions))
    appendSources(std::move(names), sources);
  return sources;
}

List scanSources(const FileSystem& fs) { return scanSources(fs, directorySources(fs)); }

List scanSources(const FileSystem& fs, const List& listing) {
  if (listing.empty()) {
    // Nothing to build yet: propose a source named after the directory.
    return {singleLine(fs.splitPath(fs.currentDirectory()).name) + ".cpp"};
  }
  return sortNoCase(listing, true);
}

bool definesEntryPoint(const FileSystem& fs, const std::string& fileName) {
  return entryPointOf(fs, fileName) != EntryPoint::kNone;
}

// Only lines holding one of the entry-point names can be definitions, so
// the file is searched for those names and just the lines around the hits
// are examined; a file without an entry point costs a few linear searches.
// A line counts for the name searched only when it defines that entry point;
// every definition still counts under its own name, searched later.
EntryPoint entryPointOf(const FileSystem& fs, const std::string& fileName) {
  FileContent content = fs.readFile(fileName, kEntrySearchBytes);
  if (content.status != ReadStatus::kRead) return EntryPoint::kNone;
  std::string& bytes = content.bytes;
  // Lines are the runs between LFs, exactly as splitTextLines makes them,
  // found here without building them.
  toTextModeBytes(bytes);
  const std::string_view text = bytes;
  for (const auto& [name, entryPoint] : kEntryNames) {
    std::size_t hit = text.find(name);
    while (hit != std::string_view::npos) {
      std::size_t lineStart = text.rfind('\n', hit);
      lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
      std::size_t lineEnd = text.find('\n', hit);
      if (lineEnd == std::string_view::npos) lineEnd = text.size();
      if (entryPointOfLine(text.substr(lineStart, lineEnd - lineStart)) == entryPoint)
        return entryPoint;
      hit = lineEnd == text.size() ? std::string_view::npos : text.find(name, lineEnd + 1);
    }
  }
  return EntryPoint::kNone;
}

bool isEntryDefinition(std::string_view line, EntryFlavour flavour) {
  std::size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  const std::string_view text = line.substr(start);

  std::size_t at = std::string_view::npos;
  std::size_t length = 0;
  if (flavour == EntryFlavour::kConsole) {
    at = text.find("main");
    length = 4;
  } else {
    at = text.find("WinMain");
    length = 7;
    if (at == std::string_view::npos) {
      at = text.find("DllEntryPoint");
      length = 13;
    }
  }
  if (at == std::string_view::npos) return false;

  std::size_t next = at + length;
  while (next < text.size() && isWhiteSpace(text[next])) ++next;
  if (next == text.size() || text[next] != '(') return false;
  // The return type may stand on the line above.
  if (at == 0) return true;
  // "domain(" and "myWinMain(" are other functions.
  if (!isWhiteSpace(text[at - 1])) return false;

  if (flavour == EntryFlavour::kConsole) {
    return startsWith(text, "int") || startsWith(text, "void");
  }
  return std::any_of(std::begin(kCallingConventions), std::end(kCallingConventions),
                     [&](std::string_view word) {
                       return text.find(word) != std::string_view::npos;
                     });
}

// Every source is searched, past the first that defines an entry point,
// so that the others can be pointed out.
DefaultTarget findDefaultTarget(const FileSystem& fs, const List& sources) {
  DefaultTarget target;
  for (const std::string& source : sources) {
    const EntryPoint found = entryPointOf(fs, source);
    if (found == EntryPoint::kNone) continue;
    if (target.entrySources.empty()) {
      target.name = beforeLast(source, ".");
      target.entryPoint = found;
    }
    target.entrySources.push_back(source);
  }
  if (target.entrySources.empty()) {
    const PathParts here = fs.splitPath(fs.currentDirectory());
    target.name = singleLine(here.name + here.extension);
  }
  return target;
}

std::string defaultTargetName(const FileSystem& fs, const List& sources) {
  return findDefaultTarget(fs, sources).name;
}

// The listing usually comes sorted as the screens show it, and then its
// upper-cased names are in order already: a directory of 20,000 sources is
// ready in one pass, without a sort or a hash set of copies.
SourceDirectory::SourceDirectory(const List& listing, const FileSystem& fs) : fs_(&fs) {
  upperCaseNames_.reserve(listing.size());
  for (const std::string& name : listing) upperCaseNames_.push_back(upperCase(name));
  if (!std::is_sorted(upperCaseNames_.begin(), upperCaseNames_.end()))
    std::sort(upperCaseNames_.begin(), upperCaseNames_.end());
}

bool SourceDirectory::holds(std::string_view name) const {
  if (std::binary_search(upperCaseNames_.begin(), upperCaseNames_.end(), upperCase(name)))
    return true;
  if (isBlankText(name)) return false;
  // The listing holds every source of the directory: a .c or .cpp name it
  // lacks is not there, and looking it up again without regard to case
  // would read the whole directory.
  const bool listedKind =
      name.find_first_of(kPathSeparators) == std::string_view::npos &&
      std::any_of(kSourceExtensions.begin(), kSourceExtensions.end(),
                  [name](const std::string& extension) {
                    return endsWithNoCase(name, "." + extension);
                  });
  if (listedKind) return false;
  const auto [found, added] = lookedUp_.try_emplace(std::string(name), false);
  if (added) found->second = fs_->exists(found->first);
  return found->second;
}

bool SourceDirectory::lacks(std::string_view source) const {
  return !isBlankText(source) && !holds(source);
}

List SourceDirectory::missingFrom(const List& sources) const {
  List missing;
  std::unordered_set<std::string> named;
  for (const std::string& source : sources) {
    if (!lacks(source) || !named.insert(source).second) continue;
    missing.push_back(source);
  }
  return missing;
}

}  // namespace corvane

#include "project/source_discovery.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <unordered_set>
#include <utility>

#include "text/path_names.h"

namespace corvane {

namespace {

// What the C library counts as white space: what may stand between an
// entry point's name and its parenthesis.
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// The extensions of the sources a directory is listed for, in that order.
const std::vector<std::string> kSourceExtensions = {"cpp", "c"};

struct EntryName {
  std::string_view name;
  EntryPoint entryPoint;
  EntryFlavour flavour;
};
// In the order a line is searched for them: a windows line is judged by
// WinMain when it names it, else by DllEntryPoint. A file that defines
// several counts as the one furthest down (a DLL before a Windows program
// before a console program).
constexpr EntryName kEntryNames[] = {
    {"main", EntryPoint::kMain, EntryFlavour::kConsole},
    {"WinMain", EntryPoint::kWinMain, EntryFlavour::kWindows},
    {"DllEntryPoint", EntryPoint::kDllEntryPoint, EntryFlavour::kWindows}};
constexpr std::string_view kConsoleReturnTypes[] = {"int", "void"};
constexpr std::string_view kCallingConventions[] = {"WINAPI", "PASCAL", "APIENTRY", "CDECL",
                                                    "CALLBACK"};

bool isWhiteSpace(char c) { return kWhiteSpace.find(c) != std::string_view::npos; }

// The entry point a line defines in that flavour, or kNone.
EntryPoint definedOnLine(std::string_view line, EntryFlavour flavour) {
  const std::string trimmed = trimLeft(line);
  const std::string_view text = trimmed;
  const EntryName* found = nullptr;
  std::size_t at = std::string_view::npos;
  for (const EntryName& entry : kEntryNames) {
    if (entry.flavour != flavour || (at = text.find(entry.name)) == std::string_view::npos)
      continue;
    found = &entry;
    break;
  }
  if (found == nullptr) return EntryPoint::kNone;

  const std::size_t next = text.find_first_not_of(kWhiteSpace, at + found->name.size());
  if (next == std::string_view::npos || text[next] != '(') return EntryPoint::kNone;
  // The return type may stand on the line above.
  if (at == 0) return found->entryPoint;
  // "domain(" and "myWinMain(" are other functions.
  if (!isWhiteSpace(text[at - 1])) return EntryPoint::kNone;
  const auto begins = [text](std::string_view word) { return startsWith(text, word); };
  const auto holds = [text](std::string_view word) {
    return text.find(word) != std::string_view::npos;
  };
  const bool defines =
      flavour == EntryFlavour::kConsole
          ? std::any_of(std::begin(kConsoleReturnTypes), std::end(kConsoleReturnTypes), begins)
          : std::any_of(std::begin(kCallingConventions), std::end(kCallingConventions), holds);
  return defines ? found->entryPoint : EntryPoint::kNone;
}

EntryPoint entryPointOfLine(std::string_view line) {
  const EntryPoint console = definedOnLine(line, EntryFlavour::kConsole);
  return console != EntryPoint::kNone ? console : definedOnLine(line, EntryFlavour::kWindows);
}

// A source's bytes as a reader of text files sees them: its text ends at the
// first Ctrl-Z, every CR is dropped and an LF ends a line. The bytes are
// searched as they were read, without a copy: a CR may even stand inside a
// name ("ma\rin" reads as main), so a name is matched skipping CRs, and only
// the lines that hold a name are copied without their CRs to be judged.
class SourceText {
 public:
  explicit SourceText(std::string_view bytes) : bytes_(bytes), end_(bytes.size()) {}

  // Where the first occurrence of the name at or after `from` begins, or npos.
  std::size_t find(std::string_view name, std::size_t from) {
    while (from < end_) {
      const void* first = std::memchr(bytes_.data() + from, name[0], end_ - from);
      if (first == nullptr) return std::string_view::npos;
      const auto at = static_cast<std::size_t>(static_cast<const char*>(first) - bytes_.data());
      if (matchesAt(name, at)) return endsTextBefore(at) ? std::string_view::npos : at;
      from = at + 1;
    }
    return std::string_view::npos;
  }

  // The line around a position, without its CRs, and where it ends.
  std::string_view lineAround(std::size_t at, std::size_t& lineEnd) {
    const std::size_t newline = bytes_.rfind('\n', at);
    const std::size_t lineStart = newline == std::string_view::npos ? 0 : newline + 1;
    lineEnd = std::min(bytes_.find('\n', at), end_);
    const std::string_view line = bytes_.substr(lineStart, lineEnd - lineStart);
    if (line.find('\r') == std::string_view::npos) return line;
    withoutCarriageReturns_.clear();
    for (char c : line)
      if (c != '\r') withoutCarriageReturns_ += c;
    return withoutCarriageReturns_;
  }

 private:
  bool matchesAt(std::string_view name, std::size_t at) const {
    std::size_t next = at + 1;
    for (char wanted : name.substr(1)) {
      while (next < end_ && bytes_[next] == '\r') ++next;
      if (next == end_ || bytes_[next] != wanted) return false;
      ++next;
    }
    return true;
  }

  // Most sources hold no name at all: where the text ends is only looked
  // for once one is found, and bounds every search after it.
  bool endsTextBefore(std::size_t at) {
    if (!endFound_) {
      end_ = std::min(bytes_.find('\x1a'), bytes_.size());
      endFound_ = true;
    }
    return at >= end_;
  }

  std::string_view bytes_;
  std::size_t end_;
  bool endFound_ = false;
  std::string withoutCarriageReturns_;
};

// A name's line counts for that name only when it defines that entry point;
// a definition of another still counts under its own name, searched for in
// turn. A line that names no entry point is never looked at.
EntryPoint entryPointIn(std::string_view bytes) {
  SourceText text(bytes);
  for (auto entry = std::rbegin(kEntryNames); entry != std::rend(kEntryNames); ++entry) {
    std::size_t lineEnd = 0;
    for (std::size_t at = text.find(entry->name, 0); at != std::string_view::npos;
         at = text.find(entry->name, lineEnd + 1)) {
      if (entryPointOfLine(text.lineAround(at, lineEnd)) == entry->entryPoint)
        return entry->entryPoint;
    }
  }
  return EntryPoint::kNone;
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
  return collectFiles(fs, list, std::vector<std::string>{extension});
}

int collectFiles(const FileSystem& fs, List& list, const std::vector<std::string>& extensions) {
  std::vector<List> lists = fs.listMatchingEach(extensions);
  std::size_t room = list.size();
  for (const List& names : lists) room += names.size();
  list.reserve(room);
  int appended = 0;
  for (List& names : lists) appended += appendSources(std::move(names), list);
  return appended;
}

List directorySources(const FileSystem& fs) {
  List sources;
  collectFiles(fs, sources, kSourceExtensions);
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
  EntryPoint found = EntryPoint::kNone;
  return definesEntryPoint(fs, fileName, found);
}

bool definesEntryPoint(const FileSystem& fs, const std::string& fileName, EntryPoint& found) {
  const FileContent content = fs.readFile(fileName, kEntrySearchBytes);
  found = content.status == ReadStatus::kRead ? entryPointIn(content.bytes) : EntryPoint::kNone;
  return found != EntryPoint::kNone;
}

bool isEntryDefinition(std::string_view line, EntryFlavour flavour) {
  return definedOnLine(line, flavour) != EntryPoint::kNone;
}

// Every source is searched, past the first that defines an entry point,
// so that the others can be pointed out.
DefaultTarget findDefaultTarget(const FileSystem& fs, const List& sources) {
  DefaultTarget target;
  for (const std::string& source : sources) {
    EntryPoint found = EntryPoint::kNone;
    if (!definesEntryPoint(fs, source, found)) continue;
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

// Hashed rather than sorted: a run checks 20,000 sources against a listing
// in the order the directory gives it and the other way round, and a lookup
// costs one hash instead of a dozen comparisons.
SourceDirectory::SourceDirectory(const List& listing, const FileSystem& fs) : fs_(&fs) {
  upperCaseNames_.reserve(listing.size());
  for (const std::string& name : listing) upperCaseNames_.insert(upperCase(name));
}

bool SourceDirectory::holds(std::string_view name) const {
  if (upperCaseNames_.count(upperCase(name)) != 0) return true;
  if (isBlankText(name)) return false;
  // The listing holds every source of the directory: a .c or .cpp name it
  // lacks is not there, and looking it up again without regard to case
  // would read the whole directory.
  const bool listedKind =
      name.find_first_of(kPathSeparators) == std::string_view::npos &&
      std::any_of(kSourceExtensions.begin(), kSourceExtensions.end(),
                  [name](const std::string& extension) {
                    return matchesExtension(name, extension);
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

const List& SourceListing::refresh() {
  const std::uint64_t version = fs_->listingVersion();
  if (version != 0 && version == version_) {
    directory_.forgetLookups();
    return sorted_;
  }
  sorted_ = sortNoCase(directorySources(*fs_), true);
  directory_ = SourceDirectory(sorted_, *fs_);
  // The version of the names just listed, 0 when the directory changed
  // since: then the next call works everything out again.
  version_ = fs_->listingVersion();
  return sorted_;
}

}  // namespace corvane

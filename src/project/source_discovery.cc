#include "project/source_discovery.h"

#include <algorithm>
#include <utility>

namespace corvane {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr std::string_view kEntryNames[] = {"DllEntryPoint", "WinMain", "main"};
constexpr std::string_view kCallingConventions[] = {"WINAPI", "PASCAL", "APIENTRY", "CDECL",
                                                    "CALLBACK"};

bool isWhiteSpace(char c) { return kWhiteSpace.find(c) != std::string_view::npos; }

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The file's bytes as the text-mode reader sees them: everything from the
// first Ctrl-Z on is gone and so is every CR. Lines are then the runs
// between LFs, exactly as splitTextLines makes them, without building them.
void toTextModeBytes(std::string& bytes) {
  std::size_t end = bytes.find('\x1a');
  if (end != std::string::npos) bytes.resize(end);
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
}

bool isEntryLine(std::string_view line) {
  return isEntryDefinition(line, EntryFlavour::kConsole) ||
         isEntryDefinition(line, EntryFlavour::kWindows);
}

}  // namespace

// A name with a control character in it cannot stand in the line-based
// project file and makefile (a line feed would start a line of its own), so
// such a file is no source.
int collectFiles(const FileSystem& fs, List& list, const std::string& extension) {
  int appended = 0;
  for (std::string& name : fs.listMatching(extension)) {
    if (hasControlCharacter(name)) continue;
    list.push_back(std::move(name));
    ++appended;
  }
  return appended;
}

List scanSources(const FileSystem& fs) {
  List sources;
  int found = collectFiles(fs, sources, "cpp");
  found += collectFiles(fs, sources, "c");
  if (found == 0) {
    // Nothing to build yet: propose a source named after the directory.
    sources.push_back(singleLine(fs.splitPath(fs.currentDirectory()).name) + ".cpp");
  }
  return sortNoCase(sources, true);
}

// Only lines holding one of the entry-point names can be definitions, so
// the file is searched for those names and just the lines around the hits
// are examined; a file without an entry point costs a few linear searches.
bool definesEntryPoint(const FileSystem& fs, const std::string& fileName) {
  FileContent content = fs.readFile(fileName, kEntrySearchBytes);
  if (content.status != ReadStatus::kRead) return false;
  std::string& bytes = content.bytes;
  toTextModeBytes(bytes);
  const std::string_view text = bytes;
  for (std::string_view name : kEntryNames) {
    std::size_t hit = text.find(name);
    while (hit != std::string_view::npos) {
      std::size_t lineStart = text.rfind('\n', hit);
      lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
      std::size_t lineEnd = text.find('\n', hit);
      if (lineEnd == std::string_view::npos) lineEnd = text.size();
      if (isEntryLine(text.substr(lineStart, lineEnd - lineStart))) return true;
      hit = lineEnd == text.size() ? std::string_view::npos : text.find(name, lineEnd + 1);
    }
  }
  return false;
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

std::string defaultTargetName(const FileSystem& fs, const List& sources) {
  std::string entrySource;
  auto definesEntry = [&fs](const std::string& name) { return definesEntryPoint(fs, name); };
  if (findIf(sources, definesEntry, 0, entrySource) >= 0) return beforeLast(entrySource, ".");
  const PathParts here = fs.splitPath(fs.currentDirectory());
  return singleLine(here.name + here.extension);
}

}  // namespace corvane

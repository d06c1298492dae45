#include "project/make_project.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>
#include <utility>

#include "project/source_discovery.h"

namespace corvane {

namespace {

const char kDefaultMakefileName[] = "Makefile.b";

// The keys of the project file, each with the one space that follows it.
const char kTargetKey[] = "target ";
const char kSourceKey[] = "source ";
const char kCompilerFlagsKey[] = "compilerFlags ";
const char kLinkerFlagsKey[] = "linkerFlags ";
const char kObjectsKey[] = "objects ";
const char kLibrariesKey[] = "libraries ";
const char kLibraryPathsKey[] = "libraryPaths ";
const char kIncludePathsKey[] = "includePaths ";
const char kResourcesKey[] = "resources ";
const char kMakefileNameKey[] = "makefilename ";
const char* const kKeys[] = {kTargetKey,       kSourceKey,       kCompilerFlagsKey, kLinkerFlagsKey,
                             kObjectsKey,      kLibrariesKey,    kLibraryPathsKey,  kIncludePathsKey,
                             kResourcesKey,    kMakefileNameKey};

// Comment lines and empty lines carry nothing. Only the very first byte
// decides: a "#" after blanks leaves the line in (it simply matches no key).
List keptLines(const List& lines) {
  List kept;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '#') continue;
    kept.push_back(line);
  }
  return kept;
}

// A target line may carry the extension of the file ("app.exe", "app.dll");
// the project keeps the name without it, since the options decide it.
std::string cutTargetExtensions(const std::string& value) {
  return beforeLast(beforeLast(value, ".dll"), ".exe");
}

// The file stores the target with its extension appended, and the next load
// cuts at the last ".dll" and ".exe" again. A name that itself holds one of
// them (from "a.dll.dll", say) would come back shorter after every save, so
// the loader settles on the name that survives a save unchanged: it is the
// name the file would shrink to anyway, reached at once.
std::string targetThatSurvivesSaving(std::string name, const std::string& extension) {
  for (;;) {
    std::string reloaded = cutTargetExtensions(name + extension);
    if (reloaded == name) return name;
    name = reloaded;  // strictly shorter, so the loop ends
  }
}

// The comments of the project file: above the target, above the sources and
// above the options. The first kIntroductionBlock lines are the block that
// opens every project file Corvane writes.
constexpr std::size_t kIntroductionBlock = 7;
const Paragraph kIntroduction = {
    "#============================================================",
    "#  Project.gen:",
    "#  File used by the program \"corvane.exe\" to generate a",
    "#  basic Borland makefile.",
    "#",
    "#  You may edit this project, then load it back into Corvane.",
    "#============================================================",
    "",
    "# Edit name of executable to be produced (only one)",
};
const Paragraph kSourcesHeading = {
    "",
    "# Edit/add/remove names of source files (.c or .cpp) in project,",
    "# e.g. add line: source myOtherFile.cpp",
    "# ----------------------------------------------------------------",
};
const Paragraph kOptionsHeading = {
    "",
    "# ==========================================================",
    "# === Changing entries below should rarely be necessary ====",
    "# ==========================================================",
    "",
    "# Turning individual options status below ON or OFF should",
    "# preferably be done using the Corvane \"options\" screen.",
    "#      Option     Status      Description",
    "# ----------------------------------------------------------------",
};

// The texts after the options, each under its comment.
Paragraph valueLines(const ProjectSettings& settings) {
  return {
      "",
      "# Add/remove extra Compiler flags if necessary",
      kCompilerFlagsKey + settings.compilerFlags,
      "",
      "# Add/remove extra Linker flags if necessary",
      kLinkerFlagsKey + settings.linkerFlags,
      "",
      "# Add/remove extra Object Files if necessary",
      kObjectsKey + settings.objects,
      "",
      "# Add/remove extra Libraries if necessary",
      kLibrariesKey + settings.libraries,
      "",
      "# Add/remove Library Paths (semi-colon ';' separated) if necessary",
      kLibraryPathsKey + settings.libraryPaths,
      "",
      "# Add/remove Include Paths (semi-colon ';' separated) if necessary",
      kIncludePathsKey + settings.includePaths,
      "",
      "# Add/remove windows resource files (*.res) if necessary",
      kResourcesKey + settings.resources,
      "",
      "# Edit name of makefile if necessary",
      kMakefileNameKey + settings.makefileName,
  };
}

void switchOption(OptionList& options, const std::string& name, bool on) {
  const MakeOption* option = options.find(name);
  if (option != nullptr && (option->status != 0) != on) options.toggle(name);
}

// What follows a key on a line of a makefile ("objects = main.o",
// "source := x.c", "target: deps") rather than on a project line.
bool startsLikeMakeSyntax(std::string_view value) {
  const std::size_t start = value.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  const std::string_view rest = value.substr(start);
  if (rest[0] == '=' || rest[0] == ':') return true;
  return rest.size() > 1 && rest[1] == '=' && (rest[0] == '+' || rest[0] == '?' || rest[0] == '!');
}

// A line as Corvane writes them: the key at its very start, in Corvane's
// case. A line led by blanks or a tab (a makefile's recipe running
// "source ...") or starting a sentence ("Target ...") is none.
bool isProjectLine(std::string_view line, const OptionList& options) {
  for (std::string_view key : kKeys) {
    if (line.substr(0, key.size()) == key) return !startsLikeMakeSyntax(line.substr(key.size()));
  }
  if (line.substr(0, kOptionPrefix.size()) != kOptionPrefix) return false;
  const List words = splitWords(line.substr(kOptionPrefix.size()), " \t");
  return !words.empty() && options.indexOf(words[0]) >= 0;
}

}  // namespace

bool holdsProjectLine(std::string_view text) {
  const List lines = splitTextLines(text);
  const auto blockEnd = kIntroduction.begin() + static_cast<std::ptrdiff_t>(kIntroductionBlock);
  if (std::search(lines.begin(), lines.end(), kIntroduction.begin(), blockEnd) != lines.end())
    return true;
  const OptionList options;
  return std::any_of(lines.begin(), lines.end(),
                     [&options](const std::string& line) { return isProjectLine(line, options); });
}

std::string typedTarget(std::string_view name) {
  for (std::string_view extension : {std::string_view(".exe"), std::string_view(".dll")}) {
    if (endsWithNoCase(name, extension))
      return std::string(name.substr(0, name.size() - extension.size()));
  }
  return std::string(name);
}

MakeProject::MakeProject(const FileSystem& fs) {
  settings_.makefileName = kDefaultMakefileName;
  settings_.sources = scanSources(fs);
  const DefaultTarget target = findDefaultTarget(fs, settings_.sources);
  settings_.target = target.name;
  entrySources_ = target.entrySources;
  // The default options make a console program; a target named after a
  // DllEntryPoint or a WinMain would be built as the wrong kind of program
  // (a DLL named .exe, a console window behind a Windows program). DLL is
  // in no group, and Console switched OFF leaves MultiThread alone.
  if (target.entryPoint == EntryPoint::kDllEntryPoint) switchOption(settings_.options, "DLL", true);
  if (target.entryPoint == EntryPoint::kDllEntryPoint || target.entryPoint == EntryPoint::kWinMain)
    switchOption(settings_.options, "Console", false);
  optionLines_ = settings_.options.optionLines();
}

MakeProject::MakeProject(std::istream& in, const FileSystem& fs) {
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const List kept = keptLines(splitTextLines(bytes));

  settings_.makefileName = findByPrefix(kept, kMakefileNameKey, true);
  if (settings_.makefileName.empty()) settings_.makefileName = kDefaultMakefileName;

  settings_.sources = selectByPrefix(kept, kSourceKey);
  if (settings_.sources.empty()) {
    settings_.sources = scanSources(fs);
  } else {
    stripPrefix(settings_.sources, kSourceKey);
  }

  settings_.options.applyOptionLines(settings_.options.selectOptionLines(kept));
  optionLines_ = settings_.options.optionLines();

  const std::string extension = targetExtension();
  const std::string targetLine = findByPrefix(kept, kTargetKey, true);
  settings_.target = targetThatSurvivesSaving(cutTargetExtensions(targetLine), extension);
  if (settings_.target.empty()) {
    DefaultTarget named = findDefaultTarget(fs, settings_.sources);
    settings_.target = targetThatSurvivesSaving(named.name, extension);
    entrySources_ = std::move(named.entrySources);
  }

  settings_.compilerFlags = findByPrefix(kept, kCompilerFlagsKey, true);
  settings_.linkerFlags = findByPrefix(kept, kLinkerFlagsKey, true);
  settings_.libraries = findByPrefix(kept, kLibrariesKey, true);
  settings_.objects = findByPrefix(kept, kObjectsKey, true);
  settings_.resources = findByPrefix(kept, kResourcesKey, true);
  settings_.libraryPaths = findByPrefix(kept, kLibraryPathsKey, true);
  settings_.includePaths = findByPrefix(kept, kIncludePathsKey, true);
}

void MakeProject::write(std::ostream& out) const {
  Paragraph lines = kIntroduction;
  lines.push_back(kTargetKey + settings_.target + targetExtension());
  lines = concat(lines, kSourcesHeading);
  for (const std::string& source : settings_.sources) {
    // A blank entry names no file; it goes out as it is, without the key, so
    // that the next load drops it.
    lines.push_back(isBlankText(source) ? source : kSourceKey + source);
  }
  lines = concat(lines, kOptionsHeading);
  lines = concat(lines, optionLines_);
  writeLines(out, concat(lines, valueLines(settings_)));
}

void MakeProject::setTarget(const std::string& text) {
  const std::string target = singleLine(text);
  if (target != settings_.target) entrySources_.clear();
  settings_.target = target;
}

void MakeProject::setSettings(const ProjectSettings& settings) {
  setTarget(settings.target);
  setMakefileName(settings.makefileName);
  setSources(settings.sources);
  setOptionList(settings.options);
  setCompilerFlags(settings.compilerFlags);
  setLinkerFlags(settings.linkerFlags);
  setObjects(settings.objects);
  setLibraries(settings.libraries);
  setLibraryPaths(settings.libraryPaths);
  setIncludePaths(settings.includePaths);
  setResources(settings.resources);
}

void MakeProject::setSources(const List& sources) {
  settings_.sources.clear();
  settings_.sources.reserve(sources.size());
  for (const std::string& source : sources) settings_.sources.push_back(singleLine(source));
}

void MakeProject::setOptionList(const OptionList& options) {
  settings_.options = options;
  optionLines_ = settings_.options.optionLines();
}

bool operator==(const ProjectSettings& a, const ProjectSettings& b) {
  const auto& rowsA = a.options.options();
  const auto& rowsB = b.options.options();
  const bool sameOptions =
      std::equal(rowsA.begin(), rowsA.end(), rowsB.begin(), rowsB.end(),
                 [](const MakeOption& x, const MakeOption& y) { return x.status == y.status; });
  return sameOptions && a.target == b.target && a.makefileName == b.makefileName &&
         a.sources == b.sources && a.compilerFlags == b.compilerFlags &&
         a.linkerFlags == b.linkerFlags && a.objects == b.objects &&
         a.libraries == b.libraries && a.libraryPaths == b.libraryPaths &&
         a.includePaths == b.includePaths && a.resources == b.resources;
}

std::string allCompilerFlags(const ProjectSettings& settings) {
  return "-q -P- -K $(NOT2000DEF)" + settings.options.compileFlags() + settings.compilerFlags;
}

std::string allLinkerFlags(const ProjectSettings& settings) {
  return "-x -c" + settings.options.linkFlags() + settings.linkerFlags;
}

std::string MakeProject::allCompilerFlags() const { return corvane::allCompilerFlags(settings_); }

std::string MakeProject::allLinkerFlags() const { return corvane::allLinkerFlags(settings_); }

std::string MakeProject::targetExtension() const { return settings_.options.targetExtension(); }

}  // namespace corvane

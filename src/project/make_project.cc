#include "project/make_project.h"

#include <istream>
#include <iterator>
#include <ostream>

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

bool isBlank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

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

}  // namespace

MakeProject::MakeProject(const FileSystem& fs)
    : makefileName_(kDefaultMakefileName), sources_(scanSources(fs)) {
  target_ = defaultTargetName(fs, sources_);
  optionLines_ = optionList_.optionLines();
}

MakeProject::MakeProject(std::istream& in, const FileSystem& fs) {
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const List kept = keptLines(splitTextLines(bytes));

  makefileName_ = findByPrefix(kept, kMakefileNameKey, true);
  if (makefileName_.empty()) makefileName_ = kDefaultMakefileName;

  sources_ = selectByPrefix(kept, kSourceKey);
  if (sources_.empty()) {
    sources_ = scanSources(fs);
  } else {
    stripPrefix(sources_, kSourceKey);
  }

  optionList_.applyOptionLines(optionList_.selectOptionLines(kept));
  optionLines_ = optionList_.optionLines();

  const std::string extension = targetExtension();
  target_ = targetThatSurvivesSaving(
      cutTargetExtensions(findByPrefix(kept, kTargetKey, true)), extension);
  if (target_.empty()) {
    target_ = targetThatSurvivesSaving(defaultTargetName(fs, sources_), extension);
  }

  compilerFlags_ = findByPrefix(kept, kCompilerFlagsKey, true);
  linkerFlags_ = findByPrefix(kept, kLinkerFlagsKey, true);
  libraries_ = findByPrefix(kept, kLibrariesKey, true);
  objects_ = findByPrefix(kept, kObjectsKey, true);
  resources_ = findByPrefix(kept, kResourcesKey, true);
  libraryPaths_ = findByPrefix(kept, kLibraryPathsKey, true);
  includePaths_ = findByPrefix(kept, kIncludePathsKey, true);
}

void MakeProject::write(std::ostream& out) const {
  Paragraph lines = {
      "#============================================================",
      "#  Project.gen:",
      "#  File used by the program \"corvane.exe\" to generate a",
      "#  basic Borland makefile.",
      "#",
      "#  You may edit this project, then load it back into Corvane.",
      "#============================================================",
      "",
      "# Edit name of executable to be produced (only one)",
      kTargetKey + target_ + targetExtension(),
      "",
      "# Edit/add/remove names of source files (.c or .cpp) in project,",
      "# e.g. add line: source myOtherFile.cpp",
      "# ----------------------------------------------------------------",
  };
  for (const std::string& source : sources_) {
    // A blank entry names no file; it goes out as it is, without the key, so
    // that the next load drops it.
    lines.push_back(isBlank(source) ? source : kSourceKey + source);
  }
  const Paragraph middle = {
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
  lines = concat(lines, middle);
  lines = concat(lines, optionLines_);
  const Paragraph tail = {
      "",
      "# Add/remove extra Compiler flags if necessary",
      kCompilerFlagsKey + compilerFlags_,
      "",
      "# Add/remove extra Linker flags if necessary",
      kLinkerFlagsKey + linkerFlags_,
      "",
      "# Add/remove extra Object Files if necessary",
      kObjectsKey + objects_,
      "",
      "# Add/remove extra Libraries if necessary",
      kLibrariesKey + libraries_,
      "",
      "# Add/remove Library Paths (semi-colon ';' separated) if necessary",
      kLibraryPathsKey + libraryPaths_,
      "",
      "# Add/remove Include Paths (semi-colon ';' separated) if necessary",
      kIncludePathsKey + includePaths_,
      "",
      "# Add/remove windows resource files (*.res) if necessary",
      kResourcesKey + resources_,
      "",
      "# Edit name of makefile if necessary",
      kMakefileNameKey + makefileName_,
  };
  writeLines(out, concat(lines, tail));
}

void MakeProject::setSources(const List& sources) {
  sources_.clear();
  sources_.reserve(sources.size());
  for (const std::string& source : sources) sources_.push_back(singleLine(source));
}

void MakeProject::setOptionList(const OptionList& options) {
  optionList_ = options;
  optionLines_ = optionList_.optionLines();
}

std::string MakeProject::allCompilerFlags() const {
  return "-q -P- -K $(NOT2000DEF)" + optionList_.compileFlags() + compilerFlags_;
}

std::string MakeProject::allLinkerFlags() const {
  return "-x -c" + optionList_.linkFlags() + linkerFlags_;
}

std::string MakeProject::targetExtension() const { return optionList_.targetExtension(); }

}  // namespace corvane

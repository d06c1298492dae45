#include "app/name_checks.h"

#include <string_view>
#include <utility>
#include <vector>

#include "app/run_outcome.h"
#include "project/source_discovery.h"

namespace corvane {

namespace {

// The box for a target without a name: the makefile would build ".exe".
const List kNamelessTarget = {"The target has no name.",
                              "Borland Make would build a file named only by its extension.",
                              "Nothing was written. Give the target a name."};

// The extensions of the files a program is built from and into. A project
// file never takes such a name: saving it would replace a source, a header
// or the program, and the directory's next scan would take it for a source.
constexpr std::string_view kBuildFileExtensions[] = {".c",   ".cpp", ".h",   ".hpp", ".rc",
                                                     ".res", ".obj", ".lib", ".exe", ".dll"};

// Why no project file or makefile may have this name, worded to follow it
// (as RunOutcome::refusal is); empty when it may.
std::string extensionRefusal(std::string_view name) {
  for (std::string_view extension : kBuildFileExtensions) {
    if (endsWithNoCase(name, extension)) {
      const std::string_view end = name.substr(name.size() - extension.size());
      return "has the extension " + quoted(std::string(end)) + " of a source or build file";
    }
  }
  return "";
}

// Why the file found under the project file's name is no project file; empty
// when it may be loaded.
std::string contentRefusal(const FileContent& file) {
  if (file.status == ReadStatus::kFailed) return "cannot be read: " + file.reason;
  if (file.bytes.size() > MakeProject::kLargestFile)
    return "is larger than " + std::to_string(MakeProject::kLargestFile >> 20) +
           " MiB, too large for a project file";
  // Text never holds one; a program or an object file does.
  if (file.bytes.find('\0') != std::string::npos)
    return "holds NUL bytes, which no project file does";
  return "";
}

}  // namespace

NameRefusal nameRefusal(const FileSystem& fs, const std::string& name) {
  if (std::string why = extensionRefusal(name); !why.empty()) return {"", why};
  const std::string final = fs.finalName(name);
  if (final == name) return {};
  return {final, extensionRefusal(final)};
}

// The first line of a question about a file that is there: its name, and
// where it leads when it is a link to another.
std::string existingFileLine(const FileSystem& fs, const std::string& name) {
  const std::string final = fs.finalName(name);
  if (final == name) return name + " already exists.";
  return name + " leads to " + final + ".";
}

ProjectFileRead readProjectFile(const FileSystem& fs, const std::string& name) {
  ProjectFileRead read;
  read.refusal = nameRefusal(fs, name);
  if (!read.refusal.refused()) {
    read.file = fs.readFile(name, MakeProject::kLargestFile + 1);
    read.refusal.why = contentRefusal(read.file);
  }
  return read;
}

List refusedOnAccepting(const FileSystem& fs, const MakeProject& project,
                        const std::string& projectFile) {
  const List clash = nameClash(fs, project, projectFile);
  if (clash.empty() && isBlankText(project.target())) return kNamelessTarget;
  return clash;
}

List nameClash(const FileSystem& fs, const MakeProject& project, const std::string& projectFile) {
  const auto box = [](const std::string& first, const List& why) {
    return concat(concat({first}, why), {"Nothing was written. Choose another name."});
  };
  const std::string& makefile = project.makefileName();
  const std::string projectLine = "Cannot save project file " + quoted(projectFile);
  const std::string makefileLine = "Cannot write Makefile " + quoted(makefile);
  for (const auto& [name, first] :
       {std::pair(projectFile, projectLine), std::pair(makefile, makefileLine)}) {
    const NameRefusal refusal = nameRefusal(fs, name);
    if (refusal.refused()) return box(first, refusal.lines());
  }
  // What the saves would write, links followed: a dangling link stands for
  // the file it would create, which the other name may also be about to.
  const std::string projectTarget = fs.finalName(projectFile);
  const std::string makefileTarget = fs.finalName(makefile);
  // The directory's sources beside the project's, each name asked about once,
  // and each looked up once for both names.
  const List sources =
      concat(project.sources(), minus(directorySources(fs), project.sources()));
  const std::vector<std::size_t> replaced =
      fs.firstSameFiles({projectTarget, makefileTarget}, sources);
  const auto replacing = [](const std::string& what) {
    return List{"It would replace " + what + "."};
  };
  if (replaced[0] < sources.size())
    return box(projectLine, replacing("the source " + quoted(sources[replaced[0]])));
  if (fs.sameFile(makefileTarget, projectTarget))
    return box(makefileLine, replacing("the project file " + quoted(projectFile)));
  if (replaced[1] < sources.size())
    return box(makefileLine, replacing("the source " + quoted(sources[replaced[1]])));
  return {};
}

}  // namespace corvane

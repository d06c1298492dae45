// The project: everything Corvane knows about the program being built.
#ifndef CORVANE_PROJECT_MAKE_PROJECT_H
#define CORVANE_PROJECT_MAKE_PROJECT_H

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

#include "options/option_list.h"
#include "platform/file_system.h"
#include "text/text_utils.h"

namespace corvane {

// Everything of a project that the user sets: the values of the project
// file. The option lines follow from the options.
struct ProjectSettings {
  std::string target;  // without its extension, which the options decide
  std::string makefileName;
  List sources;
  OptionList options;
  std::string compilerFlags;
  std::string linkerFlags;
  std::string objects;
  std::string libraries;
  std::string libraryPaths;
  std::string includePaths;
  std::string resources;
};

// Two projects are the same when every value the user sets is: the texts,
// the sources in their order and the status of every option (the table of
// options itself is fixed).
bool operator==(const ProjectSettings& a, const ProjectSettings& b);
inline bool operator!=(const ProjectSettings& a, const ProjectSettings& b) { return !(a == b); }

// The compiler and the linker flags of a project: a fixed prefix, the flags
// of the options and the extra flags typed for the project, joined with
// nothing between them (the options' part begins and ends with a space).
std::string allCompilerFlags(const ProjectSettings& settings);
std::string allLinkerFlags(const ProjectSettings& settings);

// The target a user typed: the field asks for the name without extension,
// but people type "app.exe" all the same, and the project file would store
// "app.exe.exe". A final ".exe" or ".dll", in any case, is cut off; one
// inside the name is part of it ("my.exec", "a.exe.b" stay as typed).
std::string typedTarget(std::string_view name);

// Whether the text holds a project line: a line that begins with one of the
// keys as Corvane writes them ("target ", "source ", "makefilename ", ...)
// and goes on with a value, not with a makefile's "=" or ":"; an option line
// naming one of the build options; or the comment block Corvane writes at
// the top of every project file. Loading takes any text; this tells a file
// Corvane may replace from one it did not write (a makefile, notes).
bool holdsProjectLine(std::string_view text);

class MakeProject {
 public:
  // The default project of the current directory.
  explicit MakeProject(const FileSystem& fs);
  // The project a project file describes; reading never fails. The file
  // system is used for the defaults of what the file lacks.
  MakeProject(std::istream& in, const FileSystem& fs);

  // The largest project file that is loaded: 16 MiB, room for some hundred
  // thousand sources. Anything larger is no project file of ours (a link to
  // a device, say) and would only fill the memory.
  static constexpr std::size_t kLargestFile = std::size_t{16} << 20;

  // Writes the whole project file, CR LF after every line.
  void write(std::ostream& out) const;

  const ProjectSettings& settings() const { return settings_; }
  const std::string& makefileName() const { return settings_.makefileName; }
  const std::string& target() const { return settings_.target; }
  const std::string& linkerFlags() const { return settings_.linkerFlags; }
  const std::string& compilerFlags() const { return settings_.compilerFlags; }
  const std::string& objects() const { return settings_.objects; }
  const std::string& libraries() const { return settings_.libraries; }
  const std::string& libraryPaths() const { return settings_.libraryPaths; }
  const std::string& includePaths() const { return settings_.includePaths; }
  const std::string& resources() const { return settings_.resources; }
  const Paragraph& sources() const { return settings_.sources; }
  const Paragraph& optionLines() const { return optionLines_; }
  const OptionList& optionList() const { return settings_.options; }
  // While the target is as the project named it itself (a default project,
  // or a project file without a target), the sources that define an entry
  // point, the one the target is named after first; else empty.
  const List& entrySources() const { return entrySources_; }

  // Every text of a project ends up on a line of its own in the project
  // file or the makefile, so the setters drop the bytes that would break
  // that line apart (CR, LF, Ctrl-Z); everything else is taken as given.
  void setSettings(const ProjectSettings& settings);
  void setMakefileName(const std::string& text) { settings_.makefileName = singleLine(text); }
  // A target named otherwise than the project named it is named after no
  // source: entrySources is emptied.
  void setTarget(const std::string& text);
  void setLinkerFlags(const std::string& text) { settings_.linkerFlags = singleLine(text); }
  void setCompilerFlags(const std::string& text) { settings_.compilerFlags = singleLine(text); }
  void setObjects(const std::string& text) { settings_.objects = singleLine(text); }
  void setLibraries(const std::string& text) { settings_.libraries = singleLine(text); }
  void setLibraryPaths(const std::string& text) { settings_.libraryPaths = singleLine(text); }
  void setIncludePaths(const std::string& text) { settings_.includePaths = singleLine(text); }
  void setResources(const std::string& text) { settings_.resources = singleLine(text); }
  void setSources(const List& sources);
  void setOptionList(const OptionList& options);

  std::string allCompilerFlags() const;
  std::string allLinkerFlags() const;
  std::string targetExtension() const;

 private:
  ProjectSettings settings_;
  Paragraph optionLines_;
  List entrySources_;
};

}  // namespace corvane

#endif  // CORVANE_PROJECT_MAKE_PROJECT_H

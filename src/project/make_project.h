// The project: everything Corvane knows about the program being built.
#ifndef CORVANE_PROJECT_MAKE_PROJECT_H
#define CORVANE_PROJECT_MAKE_PROJECT_H

#include <cstddef>
#include <iosfwd>
#include <string>

#include "options/option_list.h"
#include "platform/file_system.h"
#include "text/text_utils.h"

namespace corvane {

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

  const std::string& makefileName() const { return makefileName_; }
  const std::string& target() const { return target_; }
  const std::string& linkerFlags() const { return linkerFlags_; }
  const std::string& compilerFlags() const { return compilerFlags_; }
  const std::string& objects() const { return objects_; }
  const std::string& libraries() const { return libraries_; }
  const std::string& libraryPaths() const { return libraryPaths_; }
  const std::string& includePaths() const { return includePaths_; }
  const std::string& resources() const { return resources_; }
  const Paragraph& sources() const { return sources_; }
  const Paragraph& optionLines() const { return optionLines_; }
  const OptionList& optionList() const { return optionList_; }

  // Every text of a project ends up on a line of its own in the project
  // file or the makefile, so the setters drop the bytes that would break
  // that line apart (CR, LF, Ctrl-Z); everything else is taken as given.
  void setMakefileName(const std::string& text) { makefileName_ = singleLine(text); }
  void setTarget(const std::string& text) { target_ = singleLine(text); }
  void setLinkerFlags(const std::string& text) { linkerFlags_ = singleLine(text); }
  void setCompilerFlags(const std::string& text) { compilerFlags_ = singleLine(text); }
  void setObjects(const std::string& text) { objects_ = singleLine(text); }
  void setLibraries(const std::string& text) { libraries_ = singleLine(text); }
  void setLibraryPaths(const std::string& text) { libraryPaths_ = singleLine(text); }
  void setIncludePaths(const std::string& text) { includePaths_ = singleLine(text); }
  void setResources(const std::string& text) { resources_ = singleLine(text); }
  void setSources(const List& sources);
  void setOptionList(const OptionList& options);

  std::string allCompilerFlags() const;
  std::string allLinkerFlags() const;
  std::string targetExtension() const;

 private:
  std::string makefileName_;
  std::string target_;
  std::string linkerFlags_;
  std::string compilerFlags_;
  std::string objects_;
  std::string libraries_;
  std::string libraryPaths_;
  std::string includePaths_;
  std::string resources_;
  Paragraph sources_;
  Paragraph optionLines_;
  OptionList optionList_;
};

}  // namespace corvane

#endif  // CORVANE_PROJECT_MAKE_PROJECT_H

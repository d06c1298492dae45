// Turns a project and the compiler directory into a makefile for Borland
// Make and the Borland C++ 5.5 command-line tools.
#ifndef CORVANE_MAKEFILE_MAKEFILE_H
#define CORVANE_MAKEFILE_MAKEFILE_H

#include <iosfwd>
#include <string>
#include <string_view>

#include "project/make_project.h"
#include "text/text_utils.h"

namespace corvane {

// What the makefile hands the compiler and the linker for a project, as the
// makefile writes it (with its macros): the values of C_FLAGS, L_FLAGS,
// STARTUP and RTLIB, and the libraries of the link in their order. The
// makefile is written from these, and the flags box of the screens shows
// them, so the two cannot disagree.
struct ToolSettings {
  std::string compilerFlags;
  std::string linkerFlags;
  std::string startupObject;
  std::string runtimeLibrary;
  // The project's own libraries (when it names any), the import library,
  // then the runtime library as "$(RTLIB)".
  List libraries;
};

ToolSettings toolSettings(const ProjectSettings& settings);

// The same with the macros that the makefile defines spelled out, as the
// tools get them: "$(DOS_STARTUP)" is "c0x32.obj". Macros the makefile
// does not define (one in the extra flags, say) stay as they are.
ToolSettings spelledOut(const ToolSettings& settings);

// The compiler directory a makefile names: the value of its first line
// "BCDIR = ..." (blanks around the "=" and the value do not matter); empty
// when no line defines BCDIR.
std::string compilerDirectoryNamedIn(std::string_view makefileText);

// Whether the makefile text opens with the comment block that opens every
// makefile Corvane writes (its line ends CR LF or LF alone): a makefile that
// Corvane may replace without more ado than the usual question.
bool writtenByCorvane(std::string_view text);

// Whether Borland Make misreads a file name written into a makefile: it
// splits a dependency line at blanks, a "#" starts a comment and a "$" a
// macro, so it cannot build the file as it is named.
bool makeCannotName(std::string_view name);

// The sources, in project order, whose names Make misreads (blanks at their
// end are cut from the makefile's names). Their rules are written all the
// same.
List sourcesMakeCannotName(const Paragraph& sources);

class Makefile {
 public:
  // Builds every line; the project is read only here, and not kept.
  Makefile(const MakeProject& project, const std::string& compilerDirectory);

  // Writes the whole makefile, CR LF after every line (also for the line
  // feeds inside the compile commands). Neither opens nor closes the stream.
  std::ostream& write(std::ostream& out) const;

  const Paragraph& header() const { return header_; }
  const Paragraph& fixedBlock() const { return fixedBlock_; }
  const Paragraph& startupBlock() const { return startupBlock_; }
  const Paragraph& runtimeBlock() const { return runtimeBlock_; }
  const Paragraph& directoryBlock() const { return directoryBlock_; }
  const Paragraph& targetsBlock() const { return targetsBlock_; }
  const std::string& targetFile() const { return targetFile_; }
  const std::string& compilerDirLine() const { return compilerDirLine_; }
  const Paragraph& flagsBlock() const { return flagsBlock_; }
  const Paragraph& fileLists() const { return fileLists_; }
  const Paragraph& linkRule() const { return linkRule_; }
  const Paragraph& compileRules() const { return compileRules_; }

 private:
  Paragraph header_;
  Paragraph fixedBlock_;
  Paragraph startupBlock_;
  Paragraph runtimeBlock_;
  Paragraph directoryBlock_;
  Paragraph targetsBlock_;
  std::string targetFile_;
  std::string compilerDirLine_;
  Paragraph flagsBlock_;
  Paragraph fileLists_;
  Paragraph linkRule_;
  Paragraph compileRules_;
};

}  // namespace corvane

#endif  // CORVANE_MAKEFILE_MAKEFILE_H

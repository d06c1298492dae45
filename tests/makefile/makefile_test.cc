#include "makefile/makefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "makefile/object_names.h"
#include "support/documented_files.h"
#include "support/fake_file_system.h"

namespace corvane {
namespace {

using Rows = std::vector<std::string>;

using documented::crLfJoined;

std::string written(const Makefile& makefile) {
  std::ostringstream out;
  makefile.write(out);
  return out.str();
}

// A project as a project file describes it; the file system only supplies
// defaults, which these project texts never need.
MakeProject projectFrom(const std::string& projectText) {
  FakeFileSystem fs;
  std::istringstream in(projectText);
  return MakeProject(in, fs);
}

TEST(MakefileTest, ConsoleProjectWithDefaultOptionsIsWrittenByteForByte) {
  const MakeProject project = projectFrom("target hello\nsource hello.cpp\nsource util.c\n");
  const Rows expected = documented::workedConsoleMakefile("C:\\BCC55");
  ASSERT_EQ(expected.size(), 101u);
  EXPECT_EQ(written(Makefile(project, "C:\\BCC55")), crLfJoined(expected));
}

TEST(MakefileTest, DllProjectWithEveryExtraIsWrittenByteForByte) {
  const MakeProject project = projectFrom(
      "target hello\nsource hello.cpp\nsource util.c\n"
      "option DLL ON\noption MultiThread ON\noption Dynamic ON\noption Console OFF\n"
      "libraryPaths ..\\lib\nincludePaths ..\\include\nobjects extra.obj\n"
      "libraries mylib.lib\nresources res1.res\n");
  const Rows expected = documented::workedDllMakefile("C:\\BCC55");
  ASSERT_EQ(expected.size(), 104u);
  const Makefile makefile(project, "C:\\BCC55");
  EXPECT_EQ(written(makefile), crLfJoined(expected));
  // Nothing is consumed by writing: a second write gives the same bytes.
  EXPECT_EQ(written(makefile), crLfJoined(expected));
}

TEST(MakefileTest, EveryLineEndIsCrLfIncludingThoseInsideCompileCommands) {
  const std::string text =
      written(Makefile(projectFrom("source a.cpp\nsource b.c\nsource c.cpp\n"), "C:\\BCC55"));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    }
  }
  EXPECT_NE(text.find("$(Src)\\a.cpp\r\n\r\n$(oDir)\\b.obj"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(MakefileTest, OneSourceHasNoContinuationsAndNoEmptyLineInsideItsRule) {
  const Makefile makefile(projectFrom("target only\nsource only.cpp\n"), "C:\\BCC55");
  EXPECT_EQ(makefile.fileLists(),
            (Paragraph{"SRCS =\\", "\t$(src)\\only.cpp", "", "OBJS =\\", "\t$(oDir)\\only.obj"}));
  EXPECT_EQ(makefile.compileRules(),
            (Paragraph{"# Compiling Dependencies-------------------------------", "",
                       "$(oDir)\\only.obj : $(Src)\\only.cpp",
                       "\t$(CC) -c $(C_FLAGS) $(incDirs) -o$@ $(Src)\\only.cpp"}));
  EXPECT_EQ(makefile.linkRule()[6], "\t$(oDir)\\only.obj +");
}

// Without sources the file lists are empty macros and the link rule has no
// object lines: no backslash may continue a macro into the next line.
TEST(MakefileTest, ProjectWithoutSourcesIsStillWellFormed) {
  MakeProject project = projectFrom("target empty\nsource x.cpp\nobjects extra.obj\n");
  project.setSources({});
  const Makefile makefile(project, "C:\\BCC55");
  EXPECT_EQ(makefile.fileLists(), (Paragraph{"SRCS =", "", "OBJS ="}));
  EXPECT_EQ(makefile.compileRules(),
            (Paragraph{"# Compiling Dependencies-------------------------------", ""}));
  EXPECT_EQ(makefile.linkRule(),
            (Paragraph{"# Linking Dependencies-------------------------------", "",
                       "$(Bin)\\empty.exe : $(OBJS)", "\t$(ILINK32) @&&|",
                       "\t$(L_FLAGS) $(libDirs) +", "\t$(STARTUP) +", "\textra.obj +",
                       "\t,$<,, +", "\t$(WINIMPORTLIB).lib +", "\t$(RTLIB) +", "|"}));
  const std::string text = written(makefile);
  EXPECT_NE(text.find("SRCS =\r\n\r\nOBJS =\r\n\r\nTARGET = $(Bin)\\empty.exe\r\n"),
            std::string::npos);
  const std::string end = "# Compiling Dependencies-------------------------------\r\n\r\n\r\n";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

// Entries of blanks name no file; they are left out as if absent.
TEST(MakefileTest, BlankSourceEntriesAreLeftOut) {
  MakeProject project = projectFrom("target t\nsource a.cpp\n");
  project.setSources({"", "a.cpp", " \t", "b.c", "  "});
  const Makefile makefile(project, "C:\\BCC55");
  EXPECT_EQ(makefile.fileLists(),
            (Paragraph{"SRCS =\\", "\t$(src)\\a.cpp\\", "\t$(src)\\b.c", "", "OBJS =\\",
                       "\t$(oDir)\\a.obj\\", "\t$(oDir)\\b.obj"}));
  EXPECT_EQ(makefile.compileRules().size(), 6u);
  EXPECT_EQ(makefile.compileRules()[4], "$(oDir)\\b.obj : $(Src)\\b.c");
}

TEST(MakefileTest, ObjectNamesComeFromTheSourceNameWithoutItsLastExtension) {
  MakeProject project = projectFrom("target t\nsource a.cpp\n");
  project.setSources({"Main.CPP", "util.c", "my.calc.cpp", "README", "sub.d\\x.cc", "pad.c  "});
  const Makefile makefile(project, "C:\\BCC55");
  EXPECT_EQ(makefile.fileLists(),
            (Paragraph{"SRCS =\\", "\t$(src)\\Main.CPP\\", "\t$(src)\\util.c\\",
                       "\t$(src)\\my.calc.cpp\\", "\t$(src)\\README\\", "\t$(src)\\sub.d\\x.cc\\",
                       "\t$(src)\\pad.c", "", "OBJS =\\", "\t$(oDir)\\Main.obj\\",
                       "\t$(oDir)\\util.obj\\", "\t$(oDir)\\my.calc.obj\\", "\t$(oDir)\\README.obj\\",
                       "\t$(oDir)\\sub.d\\x.obj\\", "\t$(oDir)\\pad.obj"}));
  const Paragraph& rules = makefile.compileRules();
  EXPECT_EQ(rules[2], "$(oDir)\\Main.obj : $(Src)\\Main.CPP");
  EXPECT_EQ(rules[4], "$(oDir)\\util.obj : $(Src)\\util.c");
  EXPECT_EQ(rules[6], "$(oDir)\\my.calc.obj : $(Src)\\my.calc.cpp");
  EXPECT_EQ(rules[8], "$(oDir)\\README.obj : $(Src)\\README");
  EXPECT_EQ(rules[10], "$(oDir)\\sub.d\\x.obj : $(Src)\\sub.d\\x.cc");
  // The dependency names the source as the project holds it, blanks included.
  EXPECT_EQ(rules[12], "$(oDir)\\pad.obj : $(Src)\\pad.c  ");
  EXPECT_EQ(makefile.linkRule()[8], "\t$(oDir)\\my.calc.obj +");
}

TEST(MakefileTest, ObjectNameEdgeCases) {
  EXPECT_EQ(objectName("hello.cpp"), "hello.obj");
  EXPECT_EQ(objectName("a/b.dir/noext"), "a/b.dir/noext.obj");
  EXPECT_EQ(objectName(".cpp"), ".obj");
  EXPECT_EQ(objectName("x."), "x.obj");
  EXPECT_EQ(objectName("a.cpp \t"), "a.obj");
}

TEST(MakefileTest, StartupRuntimeAndTargetFollowTheOptions) {
  // DLL wins over Console for the start-up object.
  const Makefile dll(projectFrom("target x\nsource x.c\noption DLL ON\n"), "C:\\BCC55");
  EXPECT_EQ(dll.startupBlock(), (Paragraph{"# Startup Object File", "STARTUP = $(DLL_STARTUP)", ""}));
  EXPECT_EQ(dll.targetFile(), "x.dll");
  const Makefile windows(projectFrom("target x\nsource x.c\noption Console OFF\n"), "C:\\BCC55");
  EXPECT_EQ(windows.startupBlock()[1], "STARTUP = $(WIN_STARTUP)");
  // Both ON is possible only through a project file; both stay in force.
  const Makefile both(projectFrom("target x\nsource x.c\noption MultiThread ON\n"), "C:\\BCC55");
  EXPECT_EQ(both.startupBlock()[1], "STARTUP = $(DOS_STARTUP)");
  EXPECT_EQ(both.runtimeBlock(), (Paragraph{"# Runtime Library", "RTLIB = $(BCC32RTLIB)$(MULTITHREAD).lib", ""}));
  const Makefile dynamic(projectFrom("target x\nsource x.c\noption Dynamic ON\n"), "C:\\BCC55");
  EXPECT_EQ(dynamic.runtimeBlock()[1], "RTLIB = $(BCC32RTLIB)$(DYN).lib");
}

TEST(MakefileTest, UserTextsAreCopiedAsTheProjectHoldsThem) {
  MakeProject project = projectFrom("source x.cpp\n");
  project.setTarget("");
  project.setLibraryPaths("c:\\a;");
  project.setIncludePaths("  ");
  project.setObjects(" ");
  project.setLibraries("\t");
  project.setResources("  ");
  project.setCompilerFlags("-DX");
  project.setLinkerFlags("-L");
  const Makefile makefile(project, "D:\\tools\\bcc\\");
  EXPECT_EQ(makefile.compilerDirLine(), "BCDIR = D:\\tools\\bcc\\");
  // A list that already ends in ";" gets a second one; blanks are not empty.
  EXPECT_EQ(makefile.directoryBlock()[0], "EXTRALIBDIRS = c:\\a;;");
  EXPECT_EQ(makefile.directoryBlock()[1], "EXTRAINCDIRS =   ;");
  EXPECT_EQ(makefile.flagsBlock()[1], "C_FLAGS = -q -P- -K $(NOT2000DEF) -v -k -y -Od -tC -4 -DX");
  EXPECT_EQ(makefile.flagsBlock()[3], "L_FLAGS = -x -c -v -ap -Tpe -L");
  EXPECT_EQ(makefile.targetFile(), ".exe");
  EXPECT_EQ(makefile.linkRule(),
            (Paragraph{"# Linking Dependencies-------------------------------", "",
                       "$(Bin)\\.exe : $(OBJS)", "\t$(ILINK32) @&&|", "\t$(L_FLAGS) $(libDirs) +",
                       "\t$(STARTUP) +", "\t  +", "\t$(oDir)\\x.obj +", "\t,$<,, +", "\t\t +",
                       "\t$(WINIMPORTLIB).lib +", "\t$(RTLIB) +", "\t,,   ", "|"}));
}

// What the flags box shows: the values the makefile writes, with the macros
// of its fixed part spelled out; others stay as typed.
TEST(MakefileTest, ToolSettingsAreSpelledOutWithTheMakefilesOwnMacros) {
  const struct {
    const char* project;
    const char* compiler;
    const char* linker;
    const char* startup;
    List libraries;
  } cases[] = {
      {"source a.c\n",
       "-q -P- -K -D_WINVER=0x0400 -D_WIN32_WINNT=0x0400 -v -k -y -Od -tC -4 ",
       "-x -c -v -ap -Tpe ", "c0x32.obj", {"import32.lib", "cw32.lib"}},
      {"source a.c\noption DLL ON\noption MultiThread ON\noption Dynamic ON\n"
       "option Console OFF\nlibraries my.lib x.lib\ncompilerFlags -DV=$(DYN) $(OWN) $(\n"
       "linkerFlags -m\n",
       "-q -P- -K -D_WINVER=0x0400 -D_WIN32_WINNT=0x0400 -v -k -y -Od -tW -tWR -tWM -tWD -4 "
       "-DV=i $(OWN) $(",
       "-x -c -v -aa -Tpd -Gi -m", "c0d32.obj", {"my.lib x.lib", "import32.lib", "cw32mti.lib"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.project);
    const MakeProject project = projectFrom(c.project);
    const ToolSettings written = toolSettings(project.settings());
    EXPECT_EQ(written.compilerFlags, project.allCompilerFlags());
    const ToolSettings spelled = spelledOut(written);
    EXPECT_EQ(spelled.compilerFlags, c.compiler);
    EXPECT_EQ(spelled.linkerFlags, c.linker);
    EXPECT_EQ(spelled.startupObject, c.startup);
    EXPECT_EQ(spelled.libraries, c.libraries);
  }
}

TEST(MakefileTest, OnlyAMakefileOpeningWithCorvanesCommentsIsCorvanes) {
  const std::string whole = written(Makefile(projectFrom("source a.c\n"), "C:\\BCC55"));
  std::string withLineFeeds = whole;
  withLineFeeds.erase(std::remove(withLineFeeds.begin(), withLineFeeds.end(), '\r'),
                      withLineFeeds.end());
  const std::string header = whole.substr(0, whole.find("\r\n\r\n") + 2);
  const std::pair<std::string, bool> cases[] = {
      {whole, true},
      {withLineFeeds, true},
      {header, true},
      {header.substr(0, header.size() - 2), true},  // no line end after the last
      {"", false},
      {"old makefile\r\n", false},
      {"\r\n" + whole, false},
      {whole.substr(whole.find("\r\n") + 2), false},
      {header.substr(0, header.size() - 3), false},
      {"all:\n\t" + whole, false},
  };
  for (const auto& [text, ours] : cases) EXPECT_EQ(writtenByCorvane(text), ours) << text;
}

TEST(MakefileTest, LaterChangesToTheProjectDoNotReachABuiltMakefile) {
  MakeProject project = projectFrom("target a\nsource a.cpp\n");
  const Makefile makefile(project, "C:\\BCC55");
  const std::string before = written(makefile);
  project.setTarget("b");
  project.setSources({"b.cpp"});
  EXPECT_EQ(written(makefile), before);
}

TEST(MakefileTest, TheFirstBcdirLineIsReadBackAndNamesMakeMisreadsAreFound) {
  EXPECT_EQ(compilerDirectoryNamedIn("BCDIRS = C:\\x\nbcdir = C:\\y\n  BCDIR=  C:\\My bcc \r\n"
                                     "BCDIR = C:\\z\n"),
            "C:\\My bcc");
  EXPECT_EQ(sourcesMakeCannotName({"a.c", "my file.c", " lead.c", "trail.c  ", "  ", "t\tab.c",
                                   "a#b.c", "cost$1.c", "a-b_c.d~e.c"}),
            (List{"my file.c", " lead.c", "t\tab.c", "a#b.c", "cost$1.c"}));
}

}  // namespace
}  // namespace corvane

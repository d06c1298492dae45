// The project model: the default project and the operations the editor and
// the makefile writer use.
#include "project/make_project.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/documented_files.h"
#include "support/fake_file_system.h"

namespace corvane {
namespace {

TEST(MakeProjectTest, DefaultProjectOfAnEmptyDirectoryIsNamedAfterIt) {
  FakeFileSystem fs("/home/user/work");
  const MakeProject project(fs);
  EXPECT_EQ(project.sources(), (Paragraph{"work.cpp"}));
  EXPECT_EQ(project.target(), "work");
  EXPECT_EQ(project.makefileName(), "Makefile.b");
  for (const std::string* text :
       {&project.linkerFlags(), &project.compilerFlags(), &project.objects(), &project.libraries(),
        &project.libraryPaths(), &project.includePaths(), &project.resources()}) {
    EXPECT_EQ(*text, "");
  }
  EXPECT_EQ(project.optionLines(), OptionList().optionLines());
  EXPECT_EQ(project.targetExtension(), ".exe");
}

TEST(MakeProjectTest, DefaultProjectListsSourcesSortedAndNamesTheTargetAfterTheEntryPoint) {
  FakeFileSystem fs("/home/user/work");
  fs.addFile("b.c", "int helper(void) { return 0; }\n");
  fs.addFile("c.cpp", "int main(void)\n{\n}\n");
  fs.addFile("A.cpp", "void other() {}\n");
  fs.addFile("notes.txt", "int main()\n");
  const MakeProject project(fs);
  EXPECT_EQ(project.sources(), (Paragraph{"A.cpp", "b.c", "c.cpp"}));
  EXPECT_EQ(project.target(), "c");
}

// The sources defining an entry point are kept while the target is named
// after the first: by a default project, or a loaded one without a target.
TEST(MakeProjectTest, EntrySourcesAreKeptWhileTheTargetIsNamedAfterTheFirst) {
  FakeFileSystem fs("/home/user/work");
  fs.addFile("b.c", "int main(void)\n");
  fs.addFile("a.cpp", "int PASCAL WinMain(HINSTANCE h)\n");
  MakeProject project(fs);
  EXPECT_EQ(project.entrySources(), (List{"a.cpp", "b.c"}));
  project.setTarget("a");
  EXPECT_EQ(project.entrySources(), (List{"a.cpp", "b.c"}));
  project.setTarget("prog");
  EXPECT_EQ(project.entrySources(), List{});

  std::istringstream file("source b.c\nsource a.cpp\n");
  EXPECT_EQ(MakeProject(file, fs).entrySources(), (List{"b.c", "a.cpp"}));
  std::istringstream named("target prog\nsource b.c\nsource a.cpp\n");
  EXPECT_EQ(MakeProject(named, fs).entrySources(), List{});
}

// Whatever the texts hold, each key line of the written file stays one line;
// names taken from the directory's own name lose their line breaks too.
TEST(MakeProjectTest, NoTextCanBreakALineOfTheProjectFile) {
  FakeFileSystem fs("/home/user/we\nird\r");
  MakeProject project(fs);
  EXPECT_EQ(project.sources(), (Paragraph{"weird.cpp"}));
  EXPECT_EQ(project.target(), "weird");
  project.setTarget("app\r\n!target");
  project.setSources({"a.c\n!source", "b\x1a.c"});
  for (auto set : {&MakeProject::setMakefileName, &MakeProject::setLinkerFlags,
                   &MakeProject::setCompilerFlags, &MakeProject::setObjects,
                   &MakeProject::setLibraries, &MakeProject::setLibraryPaths,
                   &MakeProject::setIncludePaths, &MakeProject::setResources}) {
    (project.*set)("x\n!text\r\x1a");
  }
  EXPECT_EQ(project.target(), "app!target");
  EXPECT_EQ(project.sources(), (Paragraph{"a.c!source", "b.c"}));
  EXPECT_EQ(project.resources(), "x!text");
  std::ostringstream out;
  project.write(out);
  for (const std::string& line : splitTextLines(out.str())) EXPECT_NE(line[0], '!') << line;
  EXPECT_EQ(out.str().find('\x1a'), std::string::npos);
}

TEST(MakeProjectTest, ComposedFlagsPutTheUsersFlagsAfterTheOptions) {
  FakeFileSystem fs;
  MakeProject project(fs);
  EXPECT_EQ(project.allCompilerFlags(), "-q -P- -K $(NOT2000DEF) -v -k -y -Od -tC -4 ");
  EXPECT_EQ(project.allLinkerFlags(), "-x -c -v -ap -Tpe ");
  project.setCompilerFlags("-DNDEBUG");
  project.setLinkerFlags("-m");
  EXPECT_EQ(project.allCompilerFlags(), "-q -P- -K $(NOT2000DEF) -v -k -y -Od -tC -4 -DNDEBUG");
  EXPECT_EQ(project.allLinkerFlags(), "-x -c -v -ap -Tpe -m");
}

// Whether anything would be lost by ending without saving: every value the
// user sets counts, the order of the sources too.
TEST(MakeProjectTest, SettingsDifferWhenAnyValueTheUserSetsDiffers) {
  FakeFileSystem fs;
  fs.addFile("a.c", "");
  fs.addFile("b.c", "");
  const ProjectSettings loaded = MakeProject(fs).settings();
  const std::function<void(ProjectSettings&)> edits[] = {
      [](ProjectSettings& s) { s.target += "x"; },
      [](ProjectSettings& s) { s.makefileName = "mk"; },
      [](ProjectSettings& s) { std::swap(s.sources[0], s.sources[1]); },
      [](ProjectSettings& s) { s.options.toggle("Pentium"); },
      [](ProjectSettings& s) { s.compilerFlags = "-DX"; },
      [](ProjectSettings& s) { s.linkerFlags = "-m"; },
      [](ProjectSettings& s) { s.objects = "x.obj"; },
      [](ProjectSettings& s) { s.libraries = "x.lib"; },
      [](ProjectSettings& s) { s.libraryPaths = "lib"; },
      [](ProjectSettings& s) { s.includePaths = "inc"; },
      [](ProjectSettings& s) { s.resources = "x.res"; },
  };
  for (const auto& edit : edits) {
    ProjectSettings edited = loaded;
    edit(edited);
    EXPECT_NE(edited, loaded);
  }
  ProjectSettings toggledTwice = loaded;
  toggledTwice.options.toggle("Pentium");
  toggledTwice.options.toggle("Pentium");
  EXPECT_EQ(toggledTwice, loaded);
}

TEST(MakeProjectTest, SetOptionListRefreshesTheOptionLinesAndTheExtension) {
  FakeFileSystem fs;
  MakeProject project(fs);
  OptionList options = project.optionList();
  options.toggle("DLL");
  options.toggle("MultiThread");
  project.setOptionList(options);
  EXPECT_EQ(project.targetExtension(), ".dll");
  EXPECT_EQ(project.optionLines(), options.optionLines());
  EXPECT_EQ(project.optionLines()[10],
            "option DLL         ON   -Generate Dynamic Library -DLL (EXE when off)");
  EXPECT_EQ(project.optionLines()[4],
            "option Console     OFF  -Make Console program (Windows prog when OFF)");
  EXPECT_EQ(project.allLinkerFlags(), "-x -c -v -aa -Tpd -Gi ");
  // The project keeps its own copy of the table.
  options.toggle("DLL");
  EXPECT_EQ(project.targetExtension(), ".dll");
}

// The project file: the written layout, the reading rules and input that no
// editor would write.
using Rows = std::vector<std::string>;

using documented::crLfJoined;
using documented::kDefaultOptionLines;
using documented::kEmptyKeyLines;
using documented::projectFileRows;

std::string written(const MakeProject& project) {
  std::ostringstream out;
  project.write(out);
  return out.str();
}

MakeProject loaded(const std::string& bytes, const FileSystem& fs) {
  std::istringstream in(bytes);
  return MakeProject(in, fs);
}

// A directory called work holding hello.cpp, which defines main, and
// other.c, which does not.
FakeFileSystem helloDirectory() {
  FakeFileSystem fs("/home/user/work");
  fs.addFile("hello.cpp", "#include <stdio.h>\nint main()\n{\n  return 0;\n}\n");
  fs.addFile("other.c", "int helper(void) { return 1; }\n");
  return fs;
}

TEST(ProjectFileTest, DefaultProjectOfHelloIsWrittenByteForByte) {
  FakeFileSystem fs("/home/user/work");
  fs.addFile("hello.cpp", "int main()\n{\n}\n");
  const Rows expected =
      projectFileRows("target hello.exe", {"source hello.cpp"}, kDefaultOptionLines, kEmptyKeyLines);
  ASSERT_EQ(expected.size(), 60u);  // 48 fixed and key lines, one source, 12 options
  EXPECT_EQ(written(MakeProject(fs)), crLfJoined(expected));
}

TEST(ProjectFileTest, EveryFieldIsWrittenOnItsKeyLine) {
  FakeFileSystem fs = helloDirectory();
  MakeProject project(fs);
  OptionList options = project.optionList();
  options.toggle("DLL");
  project.setOptionList(options);
  project.setTarget("lib");
  project.setSources({"b.cpp", "", " \t", "a.c"});
  project.setCompilerFlags("-DX");
  project.setLinkerFlags("-m");
  project.setObjects("x.obj");
  project.setLibraries("y.lib");
  project.setLibraryPaths("..\\lib");
  project.setIncludePaths("..\\inc");
  project.setResources("r.res");
  project.setMakefileName("lib.mak");
  Rows optionLines = kDefaultOptionLines;
  optionLines[10] = "option DLL         ON   -Generate Dynamic Library -DLL (EXE when off)";
  // Blank entries go out as they are, without the key.
  const Rows expected = projectFileRows(
      "target lib.dll", {"source b.cpp", "", " \t", "source a.c"}, optionLines,
      {"compilerFlags -DX", "linkerFlags -m", "objects x.obj", "libraries y.lib",
       "libraryPaths ..\\lib", "includePaths ..\\inc", "resources r.res", "makefilename lib.mak"});
  EXPECT_EQ(written(project), crLfJoined(expected));
}

TEST(ProjectFileTest, WrittenDefaultProjectLoadsBackToTheSameProject) {
  FakeFileSystem fs = helloDirectory();
  const MakeProject original(fs);
  const std::string first = written(original);
  // Another directory: whatever the file names must win over a scan.
  FakeFileSystem elsewhere("/tmp/elsewhere");
  const MakeProject again = loaded(first, elsewhere);
  EXPECT_EQ(again.sources(), (Paragraph{"hello.cpp", "other.c"}));
  EXPECT_EQ(again.target(), "hello");
  EXPECT_EQ(again.makefileName(), "Makefile.b");
  EXPECT_EQ(again.optionLines(), original.optionLines());
  EXPECT_EQ(written(again), first);
}

// What Corvane takes for a project file of its own before it replaces one:
// a line as it writes them, or its opening comments; never a makefile's
// assignments and recipes, nor prose.
TEST(ProjectFileTest, ProjectLinesAreTheKeysAsCorvaneWritesThemOrItsOpeningComments) {
  FakeFileSystem fs = helloDirectory();
  const std::string whole = written(MakeProject(fs));
  // The opening comments alone, without a line after them.
  Rows comments = projectFileRows("", {}, {}, kEmptyKeyLines);
  comments.resize(7);
  const std::pair<std::string, bool> cases[] = {
      {whole, true},
      {crLfJoined(comments), true},
      {"all: hello\n\n" + crLfJoined(comments), true},
      {"target app\r\n", true},
      {"# mine\nsource a.c", true},
      {"objects \r\n", true},  // as written for a project with none
      {"makefilename x.mak\n", true},
      {"option Debug ON\n", true},
      {"", false},
      {"shopping list\r\nmilk\r\n", false},
      {"objects = main.o kbd.o\nall: edit\n", false},
      {"source := x.c\nsource += y.c\ntarget : deps\nsource ?= z\n", false},
      {"run:\n\tsource venv/bin/activate\n", false},
      {" target app\n", false},
      {"Target audience: everyone\n", false},
      {"target:\n", false},
      {"option to buy\n", false},
      {std::string(comments[0]) + "\n" + comments[2] + "\n", false},
  };
  for (const auto& [text, holds] : cases) EXPECT_EQ(holdsProjectLine(text), holds) << text;
}

TEST(ProjectFileTest, KeysMatchWithoutRegardToCaseButExtensionsAreCutCaseSensitively) {
  FakeFileSystem fs = helloDirectory();
  EXPECT_EQ(loaded("TARGET app.DLL\n", fs).target(), "app.DLL");
  EXPECT_EQ(loaded("target app.dll\n", fs).target(), "app");
  EXPECT_EQ(loaded("target app.exe\n", fs).target(), "app");
  EXPECT_EQ(loaded("target app\n", fs).target(), "app");
  EXPECT_EQ(loaded("target lib.dll2\n", fs).target(), "lib");
  EXPECT_EQ(loaded("target my.exe.dll\n", fs).target(), "my");
  // An empty value, or no target line, falls back to the sources' entry point.
  EXPECT_EQ(loaded("target \nsource hello.cpp\n", fs).target(), "hello");
  EXPECT_EQ(loaded("source other.c\n", fs).target(), "work");
  EXPECT_EQ(loaded("", fs).target(), "hello");
}

// The next load cuts at the last ".dll" and ".exe" of the written name, so a
// name holding one of them would shrink with every save; it settles at once.
TEST(ProjectFileTest, LoadedTargetSurvivesTheNextSave) {
  FakeFileSystem fs = helloDirectory();
  const MakeProject twice = loaded("target a.dll.dll\n", fs);
  EXPECT_EQ(twice.target(), "a");
  const MakeProject dll = loaded("target a.exe.exe.dll\noption DLL ON\n", fs);
  EXPECT_EQ(dll.target(), "a");
  // A name whose inner extension the written one does not disturb stays.
  const MakeProject inner = loaded("target my.dll.tool.dll\noption DLL ON\n", fs);
  EXPECT_EQ(inner.target(), "my.dll.tool");
  for (const MakeProject* project : {&twice, &dll, &inner}) {
    EXPECT_EQ(loaded(written(*project), fs).target(), project->target());
  }
}

// A new project's kind follows its entry point; a loaded one keeps its options.
TEST(ProjectFileTest, NewProjectOptionsFollowTheEntryPointAndLoadedOnesAreKept) {
  for (const auto& [source, dll, console] : std::vector<std::tuple<std::string, bool, bool>>{
           {"BOOL WINAPI DllEntryPoint(HINSTANCE h)", true, false},
           {"int PASCAL WinMain(int s)", false, false}, {"int main(void)", false, true}}) {
    FakeFileSystem fs;
    fs.addFile("mylib.c", source);
    const MakeProject fresh(fs);
    EXPECT_EQ(std::make_pair(fresh.optionList().isDll(), fresh.optionList().isConsole()),
              std::make_pair(dll, console));
    EXPECT_EQ(fresh.optionLines(), fresh.optionList().optionLines());
    EXPECT_EQ(loaded("source mylib.c\n", fs).optionLines(), OptionList().optionLines());
  }
}

TEST(ProjectFileTest, ATypedTargetLosesOnlyAFinalExtension) {
  for (const char* kept : {"my.exec", "a.exe.b", "tool.dllx"}) EXPECT_EQ(typedTarget(kept), kept);
  EXPECT_EQ(typedTarget("app.exe") + typedTarget("lib.DLL"), "applib");
}

TEST(ProjectFileTest, SingleValuedKeysKeepEverythingAfterTheKeyAndItsSpace) {
  FakeFileSystem fs = helloDirectory();
  EXPECT_EQ(loaded("target = app\n", fs).target(), "= app");
  EXPECT_EQ(loaded("makefilename  x.mak\n", fs).makefileName(), " x.mak");
  EXPECT_EQ(loaded("makefilename one.mak\nmakefilename two.mak\n", fs).makefileName(), "one.mak");
  EXPECT_EQ(loaded("makefilename \n", fs).makefileName(), "Makefile.b");
  const MakeProject project = loaded(
      "\t compilerflags -DA \nLINKERFLAGS := -m\nobjects a.obj b.obj\nlibraries x.lib\n"
      "libraryPaths c:\\l\nincludePaths c:\\i\nresources r.res\ncompilerFlags -DB\n",
      fs);
  EXPECT_EQ(project.compilerFlags(), "-DA ");
  EXPECT_EQ(project.linkerFlags(), ":= -m");
  EXPECT_EQ(project.objects(), "a.obj b.obj");
  EXPECT_EQ(project.libraries(), "x.lib");
  EXPECT_EQ(project.libraryPaths(), "c:\\l");
  EXPECT_EQ(project.includePaths(), "c:\\i");
  EXPECT_EQ(project.resources(), "r.res");
}

TEST(ProjectFileTest, SourceLinesSkipSeparatorsAndKeepFileOrder) {
  FakeFileSystem fs = helloDirectory();
  EXPECT_EQ(loaded("   source   a.cpp\n", fs).sources(), (Paragraph{"a.cpp"}));
  EXPECT_EQ(loaded("source = a.cpp\n", fs).sources(), (Paragraph{"a.cpp"}));
  EXPECT_EQ(loaded("Source z.c\nsource a.c\nSOURCE z.c\n", fs).sources(),
            (Paragraph{"z.c", "a.c", "z.c"}));
  // Only separators after the key: the value is what follows the key as is.
  EXPECT_EQ(loaded("source :=\n", fs).sources(), (Paragraph{":="}));
  // No space after the key, or a longer word: not a source line, so the
  // directory is scanned.
  const Paragraph scanned = {"hello.cpp", "other.c"};
  EXPECT_EQ(loaded("source:a.cpp\n", fs).sources(), scanned);
  EXPECT_EQ(loaded("sourcefile x.c\n", fs).sources(), scanned);
  EXPECT_EQ(loaded("source\ta.c\n", fs).sources(), scanned);
}

TEST(ProjectFileTest, OnlyTheFirstByteMakesACommentAndBlankLinesAreHarmless) {
  FakeFileSystem fs = helloDirectory();
  EXPECT_EQ(loaded("# target x\nsource hello.cpp\n", fs).target(), "hello");
  EXPECT_EQ(loaded("  # target x\nsource hello.cpp\n", fs).target(), "hello");
  EXPECT_EQ(loaded("   \n\t\n\ntarget y\n", fs).target(), "y");
}

TEST(ProjectFileTest, OptionLinesSetStatusesAndALaterLineWins) {
  FakeFileSystem fs = helloDirectory();
  std::string file = written(MakeProject(fs));
  file += "option Debug OFF\r\noption Nonsense ON\r\n  OPTION = Pentium yes\r\noption debug OFF\r\n";
  const MakeProject project = loaded(file, fs);
  EXPECT_EQ(project.optionLines()[1], "option Debug       OFF  -Enable source debugging");
  EXPECT_EQ(project.optionLines()[11],
            "option Pentium     ON   -Use Pentium instructions (486 when off)");
  EXPECT_EQ(project.optionLines(), project.optionList().optionLines());
  EXPECT_EQ(project.optionLines().size(), 12u);
  // Loading applies no groups: Console and MultiThread may both stay ON.
  const MakeProject both = loaded("option MultiThread ON\n", fs);
  EXPECT_TRUE(both.optionList().isConsole());
  EXPECT_TRUE(both.optionList().isMultiThread());
}

TEST(ProjectFileTest, BlankSourceEntryIsWrittenBlankAndGoneAfterTheNextLoad) {
  FakeFileSystem fs = helloDirectory();
  const MakeProject first = loaded("target t\nsource \nsource a.c\nsource \t\n", fs);
  EXPECT_EQ(first.sources(), (Paragraph{"", "a.c", "\t"}));
  const std::string firstWrite = written(first);
  EXPECT_NE(firstWrite.find("---\r\n\r\nsource a.c\r\n\t\r\n\r\n# ==="), std::string::npos)
      << firstWrite;
  const MakeProject second = loaded(firstWrite, fs);
  EXPECT_EQ(second.sources(), (Paragraph{"a.c"}));
  EXPECT_EQ(written(loaded(written(second), fs)), written(second));
}

TEST(ProjectFileTest, LinesEndAtLineFeedsCarriageReturnsVanishAndCtrlZEndsTheFile) {
  FakeFileSystem fs = helloDirectory();
  const MakeProject project =
      loaded("tar\rget a\r\r\nsource x.c\rsource y.c\nsource z.c\x1a\nsource w.c\n", fs);
  EXPECT_EQ(project.target(), "a");
  // A CR alone ends no line: "x.csource y.c" is one value.
  EXPECT_EQ(project.sources(), (Paragraph{"x.csource y.c", "z.c"}));
  // The last line needs no line end.
  EXPECT_EQ(loaded("makefilename m.mak", fs).makefileName(), "m.mak");
}

TEST(ProjectFileTest, AnyBytesGiveACompleteProject) {
  FakeFileSystem fs = helloDirectory();
  const std::string nul("target a\0b\nsource \0.c\n", 22);
  const MakeProject withNul = loaded(nul, fs);
  EXPECT_EQ(withNul.target(), std::string("a\0b", 3));
  EXPECT_EQ(withNul.sources(), (Paragraph{std::string("\0.c", 3)}));

  for (const std::string& bytes : {std::string(), std::string("#only\n# comments\n"),
                                   std::string("\x1a" "target x\n"), std::string("\r\r\r"),
                                   std::string("\n\n\n"), std::string("source")}) {
    const MakeProject project = loaded(bytes, fs);
    EXPECT_EQ(project.makefileName(), "Makefile.b");
    EXPECT_EQ(project.sources(), (Paragraph{"hello.cpp", "other.c"}));
    EXPECT_EQ(project.target(), "hello");
    EXPECT_EQ(project.optionLines(), kDefaultOptionLines);
    EXPECT_EQ(project.compilerFlags(), "");
  }
}

TEST(ProjectFileTest, HugeLinesAndManySourcesAreReadWhole) {
  FakeFileSystem fs = helloDirectory();
  const std::string longValue(16 * 1024 * 1024, 'x');
  const MakeProject huge = loaded("compilerFlags " + longValue + "\ntarget t\n", fs);
  EXPECT_EQ(huge.compilerFlags(), longValue);
  EXPECT_EQ(huge.target(), "t");

  std::string many;
  for (int i = 0; i < 5000; ++i) many += "source f" + std::to_string(i) + ".c\n";
  const MakeProject project = loaded(many, fs);
  ASSERT_EQ(project.sources().size(), 5000u);
  EXPECT_EQ(project.sources()[4999], "f4999.c");
  EXPECT_EQ(loaded(written(project), fs).sources(), project.sources());
}

}  // namespace
}  // namespace corvane

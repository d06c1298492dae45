// The project model: the default project and the operations the editor and
// the makefile writer use.
#include "project/make_project.h"

#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
}  // namespace corvane

#include "ui/project_editor.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/memory_console.h"
#include "project/make_project.h"
#include "support/fake_file_system.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "support/workspace_rows.h"

namespace corvane {
namespace {

class ProjectEditorTest : public ::testing::Test {
 protected:
  ProjectEditorTest() : screen(console) {
    fs.addFile("hello.cpp", "int main()\n{\n  return 0;\n}\n");
    fs.addFile("util.cpp", "int helper() { return 1; }\n");
    fs.addFile("extra.c", "");
    screen.openWorkspace();
  }

  static std::string projectFileText(const MakeProject& project) { return project.text(); }

  void press(std::initializer_list<int> keys) {
    for (int key : keys) console.pushKey(key);
  }

  bool run(MakeProject& project) {
    return editProject(project, projectFile, screen, fs) == EditResult::kAccepted;
  }

  MemoryConsole console;
  CorvaneScreen screen;
  FakeFileSystem fs{"/home/user/work"};
  std::string projectFile = "Project.gen";
};

TEST_F(ProjectEditorTest, EscOnEachScreenLeavesTheProjectUntouched) {
  struct Case {
    const char* name;
    std::vector<int> keys;
  };
  const Case cases[] = {
      {"main screen", {'k', '4', '-', 'x', kKeyEnter, '1', kKeyBackspace, 'n', kKeyEnter, kKeyEsc}},
      {"sources screen", {'k', kKeyRight, 'a', '1', 'b', kKeyEsc}},
      {"advanced screen", {kKeyRight, 'a', kKeyRight, '3', 'x', kKeyEnter, kKeyEsc}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryConsole caseConsole;
    CorvaneScreen caseScreen(caseConsole);
    caseScreen.openWorkspace();
    MakeProject project(fs);
    const std::string before = projectFileText(project);
    for (int key : c.keys) caseConsole.pushKey(key);
    std::string name = "Project.gen";

    EXPECT_EQ(editProject(project, name, caseScreen, fs), EditResult::kEscaped);
    EXPECT_EQ(projectFileText(project), before);
    EXPECT_EQ(project.targetExtension(), ".exe");
    EXPECT_EQ(name, "Project.gen");
    // The screen stays for its owner to tear down (see the run's tests).
    EXPECT_FALSE(caseScreen.destroyed());
    EXPECT_FALSE(caseConsole.ranDry());
  }
}

TEST_F(ProjectEditorTest, EnterWritesEveryWorkingCopyBack) {
  MakeProject project(fs);
  ASSERT_EQ(project.sources(), (List{"extra.c", "hello.cpp", "util.cpp"}));
  press({'k', '1', kKeyBackspace, 'n', 'e', 'w', '.', 'g', 'e', 'n', kKeyEnter,
                  '4', '-', 'D', 'X', kKeyEnter, '5', '-', 'L', kKeyEnter,
                  '2', kKeyBackspace, 'h', 'i', kKeyEnter, '3', kKeyBackspace, 'm', 'k',
                  kKeyEnter, kKeyRight, 'a', kKeyRight, '1', 'i', 'n', 'c', kKeyEnter,
                  '2', 'l', 'i', 'b', kKeyEnter, '3', 'g', 'd', 'i', kKeyEnter,
                  '4', 'o', 'b', 'j', kKeyEnter, '5', 'r', 'e', 's', kKeyEnter, kKeyLeft,
                  kKeyLeft, kKeyEnter});

  EXPECT_TRUE(run(project));
  EXPECT_FALSE(console.ranDry());
  EXPECT_FALSE(screen.destroyed());
  EXPECT_EQ(projectFile, "new.gen");
  EXPECT_EQ(project.target(), "hi");
  EXPECT_EQ(project.makefileName(), "mk");
  EXPECT_EQ(project.compilerFlags(), "-DX");
  EXPECT_EQ(project.linkerFlags(), "-L");
  EXPECT_EQ(project.includePaths(), "inc");
  EXPECT_EQ(project.libraryPaths(), "lib");
  EXPECT_EQ(project.libraries(), "gdi");
  EXPECT_EQ(project.objects(), "obj");
  EXPECT_EQ(project.resources(), "res");
  EXPECT_EQ(project.sources(), (List{"hello.cpp", "util.cpp"}));  // extra.c moved out
  EXPECT_EQ(project.targetExtension(), ".dll");
  EXPECT_EQ(project.optionLines(), project.optionList().optionLines());
  EXPECT_NE(projectFileText(project).find("option DLL         ON"), std::string::npos);

  // The main screen seen last was drawn anew from the working copies.
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: new.gen" + blanks(10) +
                                          "(2)Target: hi.dll" + blanks(10) +
                                          "(3)Makefile: mk");
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -DX" + blanks(16) + "(5)Add Link Flags: -L");
}

TEST_F(ProjectEditorTest, SpaceEndsEditingLikeEnter) {
  MakeProject project(fs);
  console.pushKeys("k ");
  EXPECT_TRUE(run(project));
  EXPECT_EQ(project.targetExtension(), ".dll");

  MakeProject fromSources(fs);
  console.pushKey(kKeyRight);
  console.pushKeys("a ");  // extra.c, the project's first source, moves out
  EXPECT_TRUE(run(fromSources));
  EXPECT_EQ(fromSources.sources(), (List{"hello.cpp", "util.cpp"}));

  MakeProject fromAdvanced(fs);
  console.pushKey(kKeyRight);
  console.pushKey(kKeyRight);
  console.pushKeys("4x y");  // inside the edit box a space is typed text
  console.pushKey(kKeyEnter);
  console.pushKeys(" ");
  EXPECT_TRUE(run(fromAdvanced));
  EXPECT_EQ(fromAdvanced.objects(), "x y");
  EXPECT_FALSE(console.ranDry());
}

TEST_F(ProjectEditorTest, AcceptingWithoutChangesKeepsTheProjectAsItWas) {
  MakeProject project(fs);
  const std::string before = projectFileText(project);
  console.pushKey(kKeyRight);
  console.pushKey(kKeyRight);
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyEnter);
  EXPECT_TRUE(run(project));
  EXPECT_EQ(projectFileText(project), before);
  EXPECT_EQ(projectFile, "Project.gen");
}

// A loaded project that lists files the directory lacks says so on the
// main screen, where Enter would accept it; once they are out, it does not.
TEST_F(ProjectEditorTest, TheMainScreenTellsOfMissingSourcesUntilTheyAreRemoved) {
  std::istringstream file("source hello.cpp\r\nsource gone.cpp\r\nsource old.c\r\n");
  MakeProject project(file, fs);
  const std::string told = "2 sources of the project are not in this directory: [->] shows them";
  // Row 19 of the main screen, and the background of the count, each time
  // the main screen waits for a key.
  std::vector<std::string> shown;
  console.setKeyObserver([&shown](const MemoryConsole& c) {
    if (workspaceRow(c, 20).find("[->] or [Enter]") != std::string::npos)
      shown.push_back(workspaceRow(c, 19) + "|" + std::to_string(backgroundIn(c, 6, 19)));
  });
  clickWorkspace(console, columnOf(blanks(5) + told, 1, "->"), 19);
  console.pushKeys("!-");
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyEnter);
  EXPECT_TRUE(run(project));
  EXPECT_EQ(shown, (std::vector<std::string>{blanks(5) + told + "|" + std::to_string(kRed),
                                             "|" + std::to_string(kBlue)}));
  EXPECT_EQ(project.sources(), (List{"hello.cpp"}));
}

}  // namespace
}  // namespace corvane

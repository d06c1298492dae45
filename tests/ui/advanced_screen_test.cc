#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/option_list.h"
#include "support/memory_console.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"
#include "support/workspace_rows.h"

namespace corvane {
namespace {

const std::string kPrompt = blanks(30) + "Press (selection), [<-], [Esc] or [Enter]...";

class AdvancedScreenTest : public ::testing::Test {
 protected:
  AdvancedScreenTest() : screen(console) { screen.openWorkspace(); }

  int run() { return advancedScreen(screen, draft); }

  static ProjectDraft someValues() {
    ProjectDraft values;
    values.settings.libraries = "gdi32.lib";
    values.settings.libraryPaths = "..\\lib;C:\\sdk\\lib";
    values.settings.includePaths = "..\\include";
    values.settings.resources = "app.res";
    return values;
  }

  MemoryConsole console;
  CorvaneScreen screen;
  ProjectDraft draft = someValues();
  std::string& libraries = draft.settings.libraries;
  std::string& libraryPaths = draft.settings.libraryPaths;
  std::string& includePaths = draft.settings.includePaths;
  std::string& objects = draft.settings.objects;
  std::string& resources = draft.settings.resources;
};

TEST_F(AdvancedScreenTest, DrawsTheFiveValuesUnderTheirExplanations) {
  EXPECT_EQ(run(), kKeyEsc);
  EXPECT_EQ(screen.stack().back(), &screen.mainWorkspace());

  // The advanced workspace keeps its last picture in its saved cells; bring
  // it back to read it.
  screen.advancedWorkspace().show();
  expectWorkspace(console, {
      blanks(10) + dashes(14) + " A D V A N C E D   S C R E E N " + dashes(14),
      "",
      " (1) Additional C/C++ header directories (separated by semi-colons ';')",
      " Include dirs: ..\\include",
      "",
      " (2) Additional library directories (separated by semi-colons ';')",
      " Library dirs: ..\\lib;C:\\sdk\\lib",
      "",
      " (3) Additional libraries (space-separated)",
      " Libraries: gdi32.lib",
      "",
      " (4) Additional object files (space-separated)",
      " Obj Files:",
      "",
      " (5) Compiled Windows resources (\".res\" files, space-separated)",
      " Resources: app.res",
      "", "", "",
      kPrompt,
  });
  EXPECT_EQ(foregroundIn(console, 11, 1), kLightCyan);
  EXPECT_EQ(foregroundIn(console, 2, 3), kYellow);      // "(1)"
  EXPECT_EQ(foregroundIn(console, 6, 3), kLightGrey);   // its explanation
  EXPECT_EQ(foregroundIn(console, 2, 4), kYellow);      // "Include dirs: "
  EXPECT_EQ(foregroundIn(console, 16, 4), kWhite);      // the value
  EXPECT_EQ(foregroundIn(console, 13, 10), kWhite);     // "gdi32.lib"
  EXPECT_EQ(foregroundIn(console, 31, 20), kWhite);     // "Press "
  EXPECT_EQ(foregroundIn(console, 37, 20), kYellow);    // "(selection)"
  EXPECT_EQ(foregroundIn(console, 51, 20), kYellow);    // "<-"
  EXPECT_EQ(foregroundIn(console, 57, 20), kYellow);    // "Esc"
  EXPECT_EQ(foregroundIn(console, 66, 20), kYellow);    // "Enter"
  EXPECT_EQ(backgroundIn(console, 16, 4), kBlue);
}

TEST_F(AdvancedScreenTest, ALongValueIsCutWithDotsAndEditedWhole) {
  includePaths = std::string(30, 'i') + ";" + std::string(40, 'j');  // 71 characters
  console.pushKeys("1");
  console.pushKey(kKeyEnd);
  console.pushKeys(";k");
  console.pushKey(kKeyEnter);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(includePaths, std::string(30, 'i') + ";" + std::string(40, 'j') + ";k");

  screen.advancedWorkspace().show();
  // The value starts in column 16 and shows 77 - 16 = 61 characters.
  EXPECT_EQ(workspaceRow(console, 4),
            " Include dirs: " + std::string(30, 'i') + ";" + std::string(30, 'j') + "..");
  EXPECT_EQ(foregroundIn(console, 77, 4), kWhite);
}

TEST_F(AdvancedScreenTest, EachKeyEditsItsOwnValue) {
  const struct {
    const char* key;
    std::string* value;
  } cases[] = {{"1", &includePaths}, {"2", &libraryPaths}, {"3", &libraries},
               {"4", &objects},      {"5", &resources}};
  for (const auto& entry : cases) {
    console.pushKeys(entry.key);
    console.pushKey(kKeyBackspace);
    console.pushKeys(std::string("new") + entry.key);
    console.pushKey(kKeyEnter);
  }
  console.pushKey(kKeyEnter);
  run();
  for (const auto& entry : cases) EXPECT_EQ(*entry.value, std::string("new") + entry.key);

  screen.advancedWorkspace().show();
  EXPECT_EQ(workspaceRow(console, 4), " Include dirs: new1");
  EXPECT_EQ(workspaceRow(console, 7), " Library dirs: new2");
  EXPECT_EQ(workspaceRow(console, 10), " Libraries: new3");
  EXPECT_EQ(workspaceRow(console, 13), " Obj Files: new4");
  EXPECT_EQ(workspaceRow(console, 16), " Resources: new5");
  // The edit box has gone and the prompt is back.
  EXPECT_EQ(workspaceRow(console, 18), "");
  EXPECT_EQ(workspaceRow(console, 20), kPrompt);
}

TEST_F(AdvancedScreenTest, EscInAnEditBoxKeepsTheOldValue) {
  console.pushKeys("3");
  console.pushKey(kKeyBackspace);
  console.pushKeys("user32.lib");
  console.pushKey(kKeyEsc);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(libraries, "gdi32.lib");
  screen.advancedWorkspace().show();
  EXPECT_EQ(workspaceRow(console, 10), " Libraries: gdi32.lib");
}

TEST_F(AdvancedScreenTest, LeavingBringsBackTheMainWorkspace) {
  ProjectDraft mainValues{"Project.gen", {}};
  mainValues.settings.makefileName = "Makefile.b";
  mainValues.settings.target = "hello";
  console.pushKey(kKeyEsc);
  mainScreen(screen, mainValues);
  const std::vector<std::string> mainRows = workspaceRows(console);
  const std::vector<TextWindow*> stack = screen.stack();

  for (int key : {kKeyEnter, kKeySpace, kKeyEsc, kKeyLeft}) {
    console.pushKey(kKeyUp);
    console.pushKey(kKeyDown);
    console.pushKey(kKeyRight);
    console.pushKey(key == kKeySpace ? ' ' : key);
    EXPECT_EQ(run(), key);
    EXPECT_EQ(workspaceRows(console), mainRows);
    EXPECT_EQ(screen.stack(), stack);
  }
  EXPECT_FALSE(console.ranDry());
}

}  // namespace
}  // namespace corvane

#include "ui/corvane_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_line.h"
#include "support/memory_console.h"
#include "support/screen_recorder.h"
#include "support/screen_text.h"
#include "ui/read_key.h"

namespace corvane {
namespace {

// Every cell of the screen, to compare a whole picture before and after.
std::vector<Cell> screenCells(const Console& console) {
  std::vector<Cell> cells;
  console.readCells(1, 1, kScreenColumns, kScreenRows, cells);
  return cells;
}

class CorvaneScreenTest : public ::testing::Test {
 protected:
  CorvaneScreenTest() : screen(console) {}
  MemoryConsole console;
  ScreenRecorder recorder{console};
  CorvaneScreen screen;
};

TEST_F(CorvaneScreenTest, Title) {
  screen.showTitle();
  EXPECT_EQ(console.rowText(1), at(31, "_____________________"));
  EXPECT_EQ(console.rowText(2), at(31, "\t-  C O R V A N E  -\t"));
  EXPECT_EQ(console.rowText(3), at(31, "~~~~~~~~~~~~~~~~~~~~~"));
  EXPECT_EQ(console.rowText(4), at(27, "Simple Makefile Generator (v. 1.02)"));
  EXPECT_EQ(console.rowText(5), row(""));
  EXPECT_EQ(console.rowText(6), at(17, "Writes a makefile from a plain-text project file"));
  for (int r = 7; r <= kScreenRows; ++r) EXPECT_EQ(console.rowText(r), row(""));

  EXPECT_EQ(console.foregroundAt(31, 2), kYellow);
  EXPECT_EQ(console.backgroundAt(31, 2), kGreen);
  EXPECT_EQ(console.foregroundAt(27, 4), kWhite);
  EXPECT_EQ(console.foregroundAt(17, 6), kWhite);
  EXPECT_EQ(console.backgroundAt(15, 1), kGreen);
  EXPECT_EQ(console.backgroundAt(66, 7), kGreen);
  EXPECT_EQ(console.backgroundAt(14, 1), kBlue);
  EXPECT_EQ(console.backgroundAt(67, 7), kBlue);
  EXPECT_EQ(console.backgroundAt(15, 8), kBlue);
  EXPECT_EQ(console.backgroundAt(80, 25), kBlue);
  EXPECT_EQ(console.foregroundAt(80, 25), kWhite);
}

TEST_F(CorvaneScreenTest, UsageScreenRowsAndColoursAndTheKeyIsLeftUnread) {
  screen.showTitle();
  console.pushKeys("x");
  screen.showUsage();
  EXPECT_EQ(console.keysLeft(), 1u);

  // The main workspace starts on screen row 5, so its rows 5 to 20 are
  // screen rows 9 to 24; its column 1 is screen column 2.
  std::vector<std::string> expected = {
      "   USAGE:",
      "",
      "   C:\\Borland\\Bcc55\\Bin\\Corvane [project_filename] [/?]",
      "   Corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]",
      "   -------------------------------------------------------------",
      "   Corvane generates a plain text project file and a basic Borland C/C++",
      "   makefile based on the project file.",
      "   The project automatically uses source files in the current directory.",
      "",
      "   -When a project filename is not given, Corvane will use \"Project.gen\".",
      "   /? option prints this screen.",
      "   --batch: no screen, no question. --compiler=DIR: the Borland directory;",
      "   --add-sources: add new sources; --force: replace a makefile not Corvane's.",
      "",
      "   Corvane should preferably be located in the compiler \"bin\" directory.",
      "                             Press any key to exit..",
  };
  if (kPosixOptions) {
    // On POSIX systems: the program as it is called there, and its options.
    expected[2] = "   corvane [project_filename] [/?]";
    expected[3] = "   corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]";
    expected.insert(expected.begin() + 4, "   corvane --help | -h | --version");
    expected[11] = "   /?, --help and -h print this screen; --version prints the version.";
    expected.erase(expected.begin() + 14);
  }
  EXPECT_EQ(console.rowText(8), row(""));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const int screenRow = 9 + static_cast<int>(i);
    EXPECT_EQ(console.rowText(screenRow), at(2, expected[i])) << "row " << screenRow;
  }
  EXPECT_EQ(console.rowText(25), row(""));
  EXPECT_EQ(console.foregroundAt(5, 9), kYellow);
  EXPECT_EQ(console.foregroundAt(31, 24), kYellow);
  EXPECT_EQ(console.foregroundAt(5, 11), kWhite);
  EXPECT_EQ(console.foregroundAt(5, 21), kWhite);
  EXPECT_EQ(console.backgroundAt(5, 9), kBlue);
  EXPECT_EQ(console.backgroundAt(31, 24), kBlue);
  // The title is still above: the usage screen does not clear the workspace.
  EXPECT_EQ(console.backgroundAt(15, 7), kGreen);
}

TEST_F(CorvaneScreenTest, OpenWorkspaceSwapsTheTitleForTheBanner) {
  screen.showTitle();
  screen.openWorkspace();
  EXPECT_EQ(screen.stack(), (std::vector<TextWindow*>{&screen.background(), &screen.banner(),
                                                      &screen.mainWorkspace()}));
  EXPECT_EQ(console.rowText(1), at(31, "_____________________"));
  EXPECT_EQ(console.rowText(2), at(31, "\t-  C O R V A N E  -\t"));
  EXPECT_EQ(console.rowText(3), at(31, "~~~~~~~~~~~~~~~~~~~~~"));
  for (int r = 4; r <= kScreenRows; ++r) EXPECT_EQ(console.rowText(r), row(""));
  EXPECT_EQ(console.backgroundAt(23, 1), kGreen);
  EXPECT_EQ(console.backgroundAt(59, 3), kGreen);
  EXPECT_EQ(console.backgroundAt(60, 3), kBlue);
  EXPECT_EQ(console.backgroundAt(27, 4), kBlue);  // the title is gone
  EXPECT_EQ(console.foregroundAt(31, 1), kYellow);
  // What the editing screens draw in the workspace survives a repaint.
  screen.mainWorkspace().setCursor(1, 1);
  screen.mainWorkspace().write("drawn");
  screen.repaint();
  EXPECT_EQ(console.rowText(5), at(2, "drawn"));
}

TEST_F(CorvaneScreenTest, ErrorBoxWithOneLine) {
  screen.showTitle();
  const std::vector<Cell> under = screenCells(console);
  console.pushKeys("x");
  EXPECT_EQ(screen.showError({"Cannot open Makefile.b"}, "Press a key"), 'x');

  const std::vector<std::string> shown = recorder.first().rows();
  EXPECT_EQ(shown[9], at(33, "_________________"));
  EXPECT_EQ(shown[10], at(33, "\t-  E R R O R  \t"));
  EXPECT_EQ(shown[11], at(33, "~~~~~~~~~~~~~~~~~"));
  // 22 characters wide: first column (64 - 22 + 1) / 2 + 1 = 22 of the box.
  EXPECT_EQ(shown[15], at(30, "Cannot open Makefile.b"));
  EXPECT_EQ(shown[19], at(30, "Press a key"));
  for (int r : {13, 14, 15, 17, 18, 19, 21, 22, 23})
    EXPECT_EQ(shown[static_cast<std::size_t>(r - 1)], row("")) << "row " << r;
  EXPECT_EQ(recorder.first().foregroundAt(33, 10), kYellow);
  EXPECT_EQ(recorder.first().backgroundAt(33, 10), kRed);
  EXPECT_EQ(recorder.first().foregroundAt(30, 16), kWhite);
  EXPECT_EQ(recorder.first().foregroundAt(30, 20), kYellow);
  EXPECT_EQ(recorder.first().backgroundAt(9, 23), kRed);
  EXPECT_EQ(recorder.first().backgroundAt(73, 10), kRed);
  EXPECT_EQ(recorder.first().backgroundAt(74, 10), kBlue);

  EXPECT_EQ(screenCells(console), under);
  EXPECT_EQ(screen.stack().size(), 2u);
}

TEST_F(CorvaneScreenTest, ErrorBoxWithTwoLinesAndAWidePrompt) {
  screen.showTitle();
  const std::vector<Cell> under = screenCells(console);
  console.pushKey(kKeyDown);
  // The prompt plus two is the widest text: 26 columns, so the first column
  // is (64 - 26 + 1) / 2 + 1 = 20 of the box.
  EXPECT_EQ(screen.showError({"first", "second line"}, "Press Enter to try again"),
            kKeyDown);
  const std::vector<std::string> shown = recorder.first().rows();
  EXPECT_EQ(shown[14], at(28, "first"));
  EXPECT_EQ(shown[17], at(28, "second line"));
  EXPECT_EQ(shown[20], at(28, "Press Enter to try again"));
  EXPECT_EQ(shown[15], row(""));
  EXPECT_EQ(shown[16], row(""));
  EXPECT_EQ(screenCells(console), under);
}

TEST_F(CorvaneScreenTest, ErrorLineWiderThanTheBoxStartsInColumnTwoAndIsCutAtItsEdge) {
  const std::string wide(3000, 'w');
  console.pushKeys(" ");
  screen.showError({wide}, "key");
  // From box column 2 (screen column 10) to the box's right edge; the
  // header and the prompt stand where they belong.
  const std::vector<std::string>& rows = recorder.first().rows();
  EXPECT_EQ(rows[15], at(10, wide.substr(0, 64)));
  EXPECT_EQ(rows[16], at(9, ""));
  EXPECT_EQ(rows[9], at(33, "_________________"));
  EXPECT_EQ(rows[19], at(10, "key"));
}

TEST_F(CorvaneScreenTest, FatalErrorWaitsForAKeyAndTheScreenIsThenTornDown) {
  screen.showTitle();
  console.pushKeys("q");
  screen.fatalError({"Cannot write Project.gen"});
  // The prompt (35 characters and two more) sets the first column: 15 of the box.
  EXPECT_EQ(recorder.first().rows()[15], at(23, "Cannot write Project.gen"));
  EXPECT_EQ(recorder.first().rows()[19], at(23 + 18, "Press any key.."));
  EXPECT_EQ(console.keysLeft(), 0u);
  // The box stays until the owner of the screen tears it down.
  EXPECT_EQ(console.rowText(16), at(23, "Cannot write Project.gen"));
  EXPECT_FALSE(screen.destroyed());
  screen.destroy();
  EXPECT_TRUE(screen.destroyed());
  EXPECT_TRUE(screen.stack().empty());
  for (int r = 1; r <= kScreenRows; ++r) {
    EXPECT_EQ(console.rowText(r), row(""));
    for (int c = 1; c <= kScreenColumns; ++c)
      ASSERT_EQ(console.cellAt(c, r).attribute, makeAttribute(kWhite, kBlack));
  }
}

TEST_F(CorvaneScreenTest, YesNoBoxLayout) {
  screen.showTitle();
  const std::vector<Cell> under = screenCells(console);
  console.pushKeys("y");
  EXPECT_EQ(screen.askYesNo({"Load the project file", "Project.gen?"}, true), Answer::kYes);

  const std::vector<std::string> shown = recorder.first().rows();
  EXPECT_EQ(shown[8], at(33, "_________________"));
  EXPECT_EQ(shown[9], at(33, "\t-  Q U E R Y  -\t"));
  EXPECT_EQ(shown[10], at(33, "~~~~~~~~~~~~~~~~~"));
  // The last line and its 13 columns of question are the widest: 25.
  EXPECT_EQ(shown[13], at(28, "Load the project file"));
  EXPECT_EQ(shown[16], at(28, "Project.gen?  Y/N?..  (Y)"));
  EXPECT_EQ(recorder.first().cursorColumn, 49);
  EXPECT_EQ(recorder.first().cursorRow, 17);
  EXPECT_EQ(recorder.first().foregroundAt(33, 9), kWhite);
  EXPECT_EQ(recorder.first().backgroundAt(33, 9), kBrown);
  EXPECT_EQ(recorder.first().foregroundAt(28, 14), kLightCyan);
  EXPECT_EQ(recorder.first().foregroundAt(42, 17), kLightCyan);
  EXPECT_EQ(recorder.first().foregroundAt(50, 17), kWhite);
  EXPECT_EQ(recorder.first().foregroundAt(51, 17), kWhite);
  EXPECT_EQ(recorder.first().backgroundAt(72, 22), kBrown);

  EXPECT_EQ(screenCells(console), under);
}

TEST(AskYesNoTest, AnswersForBothDefaults) {
  struct Case {
    const char* keys;
    Answer withDefaultYes;
    Answer withDefaultNo;
  };
  constexpr Answer kYes = Answer::kYes;
  constexpr Answer kNo = Answer::kNo;
  const Case cases[] = {
      {"\r", kYes, kNo}, {" ", kYes, kNo}, {"y", kYes, kYes},  {"Y", kYes, kYes},
      {"n", kNo, kNo},    {"N", kNo, kNo},  {"q", kYes, kNo},   {"\x1b", Answer::kEsc, Answer::kEsc},
      {"\xa2", kYes, kNo},
  };
  for (const Case& c : cases) {
    for (bool defaultYes : {true, false}) {
      MemoryConsole console;
      CorvaneScreen screen(console);
      screen.showTitle();
      console.pushKeys(c.keys);
      EXPECT_EQ(screen.askYesNo({"Overwrite Makefile.b?"}, defaultYes),
                defaultYes ? c.withDefaultYes : c.withDefaultNo)
          << "key " << static_cast<int>(c.keys[0]) << ", default " << defaultYes;
      EXPECT_FALSE(console.ranDry());
    }
  }
}

TEST_F(CorvaneScreenTest, AnAltChordAnswersNoQuestion) {
  console.pushKey(kKeyAltChord);
  console.pushKeys("n");
  EXPECT_EQ(screen.askYesNo({"Load it?"}, true), Answer::kNo);
  console.pushKey(kKeyAltChord);
  console.pushKeys("\x1b");
  EXPECT_EQ(screen.showError({"Cannot write"}, "Any key"), kKeyEsc);
  EXPECT_FALSE(console.ranDry());
}

// The query box covers columns 9 to 72 and rows 9 to 22.
TEST_F(CorvaneScreenTest, AClickInTheQuestionBoxAnswersWithTheDefaultAndOutsideItNothing) {
  for (bool defaultYes : {true, false}) {
    console.pushClick(8, 15);   // beside the box
    console.pushClick(40, 23);  // under it
    console.pushClick(9, 9, MouseEvent::kRight);
    console.pushClick(72, 22);  // its last cell
    console.pushKeys(defaultYes ? "n" : "y");
    EXPECT_EQ(screen.askYesNo({"Overwrite Makefile.b?"}, defaultYes),
              defaultYes ? Answer::kYes : Answer::kNo);
    EXPECT_EQ(console.keysLeft(), 1u);
    console.getKey();
  }
  // The error box takes no clicks: only a key answers it.
  console.pushClick(40, 15);
  console.pushKeys("x");
  EXPECT_EQ(screen.showError({"Cannot write"}, "Any key"), 'x');
}

#ifndef _WIN32
TEST_F(CorvaneScreenTest, BoxesShowNamesOneCellACharacter) {
  console.pushKeys("y");
  screen.askYesNo({"\xc3\xa9t\xc3\xa9.gen?"}, true);
  // 8 + 13 = 21 cells: first column (63 - 21 + 1) / 2 + 1 = 22 of the box.
  EXPECT_EQ(recorder.first().rows()[14], at(30, "\x82t\x82.gen?  Y/N?..  (Y)"));
}
#endif

TEST_F(CorvaneScreenTest, YesNoBoxShowsTheDefaultNo) {
  console.pushKeys("\r");
  screen.askYesNo({"Write it?"}, false);
  // 9 + 13 = 22 columns: first column (63 - 22 + 1) / 2 + 1 = 22 of the box.
  EXPECT_EQ(recorder.first().rows()[14], at(30, "Write it?  Y/N?..  (N)"));
}

TEST_F(CorvaneScreenTest, TextQuestionEscLeavesTheValueUnchanged) {
  screen.showTitle();
  const std::vector<Cell> under = screenCells(console);
  std::string value = "C:\\Old";
  console.pushKeys("\bD:\\New\x1b");
  EXPECT_EQ(screen.askText(value, {"Where is it?"}, "Enter path: ", "C:\\Offered"),
            EditResult::kEscaped);
  EXPECT_EQ(value, "C:\\Old");
  EXPECT_EQ(screenCells(console), under);

  // The box: message on row 7 of the query box, the edit box on rows 19 to 21.
  const std::vector<std::string> shown = recorder.first().rows();
  EXPECT_EQ(shown[14], at(35, "Where is it?"));
  EXPECT_EQ(shown[18], row(""));
  EXPECT_EQ(shown[19], at(11, "Enter path: C:\\Offered"));
  EXPECT_EQ(shown[20], row(""));
  EXPECT_EQ(recorder.first().backgroundAt(10, 19), kBlack);
  EXPECT_EQ(recorder.first().backgroundAt(71, 21), kBlack);
  EXPECT_EQ(recorder.first().backgroundAt(72, 21), kBrown);
  EXPECT_EQ(recorder.first().backgroundAt(9, 20), kBrown);
  EXPECT_EQ(recorder.first().backgroundAt(23, 20), kGreen);
}

TEST_F(CorvaneScreenTest, TextQuestionEnterTakesTheNewText) {
  std::string value = "C:\\Old";
  console.pushKeys("\bD:\\New\r");
  EXPECT_EQ(screen.askText(value, {"Where is it?"}, "Enter path: ", value),
            EditResult::kAccepted);
  EXPECT_EQ(value, "D:\\New");
}

TEST(CorvaneScreenLifetimeTest, DestroyBlanksTheScreenOnlyOnce) {
  MemoryConsole console;
  {
    CorvaneScreen screen(console);
    screen.showTitle();
    screen.destroy();
    for (int r = 1; r <= kScreenRows; ++r) EXPECT_EQ(console.rowText(r), row(""));
    EXPECT_EQ(console.cellAt(1, 1).attribute, makeAttribute(kWhite, kBlack));
    EXPECT_EQ(console.cellAt(80, 25).attribute, makeAttribute(kWhite, kBlack));
    console.writeText("left alone");
    screen.destroy();
  }  // the destructor does not clear a second time
  EXPECT_EQ(console.rowText(1), row("left alone"));

  {
    CorvaneScreen screen(console);
    screen.showTitle();
  }  // never destroyed by hand: the destructor blanks the screen
  EXPECT_EQ(console.rowText(1), row(""));
  EXPECT_EQ(console.cellAt(40, 12).attribute, makeAttribute(kWhite, kBlack));
}

}  // namespace
}  // namespace corvane

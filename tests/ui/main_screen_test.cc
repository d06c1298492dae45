#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "options/option_list.h"
#include "support/memory_console.h"
#include "support/screen_recorder.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"
#include "support/workspace_rows.h"

namespace corvane {
namespace {

const std::string kOptionsIndent = blanks(7);

class MainScreenTest : public ::testing::Test {
 protected:
  MainScreenTest() : screen(console) { screen.openWorkspace(); }

  int run() { return mainScreen(screen, draft); }

  static ProjectDraft helloDraft() {
    ProjectDraft hello{"Project.gen", {}};
    hello.settings.makefileName = "Makefile.b";
    hello.settings.target = "hello";
    return hello;
  }

  // The ON/OFF word of an option row as the screen shows it.
  std::string statusShown(int optionRow) {
    return console.rowText(kWorkspaceTop + 3 + optionRow, kWorkspaceLeft + 23,
                           kWorkspaceLeft + 25);
  }

  MemoryConsole console;
  CorvaneScreen screen;
  ProjectDraft draft = helloDraft();
  OptionList& options = draft.settings.options;
  std::string& projectFile = draft.projectFileName;
  std::string& makefile = draft.settings.makefileName;
  std::string& target = draft.settings.target;
  std::string& compileFlags = draft.settings.compilerFlags;
  std::string& linkFlags = draft.settings.linkerFlags;
};

TEST_F(MainScreenTest, DrawsNamesOptionsFlagsAndPrompt) {
  compileFlags = "-DDEBUG";
  linkFlags = "-Gn";
  EXPECT_EQ(run(), kKeyEsc);  // the empty key queue answers Esc

  expectWorkspace(console, {
      "(1)Project: Project.gen     (2)Target: hello.exe     (3)Makefile: Makefile.b",
      "",
      kOptionsIndent + dashes(25) + " O P T I O N S " + dashes(25),
      kOptionsIndent + "(a)ANSI        [OFF]  -Strict ANSI (OFF => Accept Borland keywords)",
      kOptionsIndent + "(b)Debug       [ ON]  -Enable source debugging",
      kOptionsIndent + "(c)Optimise    [OFF]  -Turn on optimisation",
      kOptionsIndent + "(d)SpeedOpt    [OFF]  -Speed optimise (Size when OFF)",
      kOptionsIndent + "(e)Console     [ ON]  -Make Console program (Windows prog when OFF)",
      kOptionsIndent + "(f)WarnHigh    [OFF]  -Many warnings when ON",
      kOptionsIndent + "(g)WarnLow     [OFF]  -Fewer warnings when ON",
      kOptionsIndent + "(h)NoWarn      [OFF]  -Suppresses all warnings when ON",
      kOptionsIndent + "(i)Dynamic     [OFF]  -Program uses dynamic library",
      kOptionsIndent + "(j)MultiThread [OFF]  -Link with multi-thread support",
      kOptionsIndent + "(k)DLL         [OFF]  -Generate Dynamic Library -DLL (EXE when off)",
      kOptionsIndent + "(l)Pentium     [OFF]  -Use Pentium instructions (486 when off)",
      kOptionsIndent + dashes(65),
      "",
      "(4)Add Compile Flags: -DDEBUG" + blanks(12) + "(5)Add Link Flags: -Gn",
      "",
      blanks(31) + "Press (selection), [Esc], [->] or [Enter]...",
  });
  // The line character is byte 196 itself, not a stand-in.
  EXPECT_EQ(static_cast<char>(console.cellAt(kWorkspaceLeft + 7, kWorkspaceTop + 2).character),
            kLineCharacter);
  // The cursor waits just after the prompt.
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 76);
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);
}

TEST_F(MainScreenTest, KeysLabelsValuesAndStatusesHaveTheirColours) {
  run();
  EXPECT_EQ(backgroundIn(console, 13, 1), kBlue);
  const struct {
    int column;
    int row;
    int colour;
  } kCells[] = {
      // Header: key yellow, label light grey, value white, all on blue.
      {1, 1, kYellow},
      {4, 1, kLightGrey},
      {13, 1, kWhite},
      {29, 1, kYellow},  // "(2)"
      {54, 1, kYellow},  // "(3)"
      {3, 3 + 5, kWhite},  // indent of an option row
      // Rules light cyan; option keys yellow; names white.
      {8, 3, kLightCyan},
      {8, 16, kLightCyan},
      {8, 4, kYellow},
      {11, 4, kWhite},
      // " ON" yellow (Debug), "OFF" white (ANSI); brackets and descriptions white.
      {25, 5, kYellow},
      {24, 4, kWhite},
      {27, 5, kWhite},
      {30, 5, kWhite},
      // Flags line: "(4)" yellow, its label light grey; "(5)" yellow.
      {1, 18, kYellow},
      {4, 18, kLightGrey},
      {42, 18, kYellow},
      {45, 18, kLightGrey},
      // Prompt: "Press " white, "(selection)", "Esc", "->", "Enter" yellow.
      {32, 20, kWhite},
      {38, 20, kYellow},
      {49, 20, kWhite},
      {52, 20, kYellow},  // "Esc"
      {59, 20, kYellow},  // "->"
      {67, 20, kYellow},  // "Enter"
      {72, 20, kWhite},
  };
  for (const auto& cell : kCells)
    EXPECT_EQ(foregroundIn(console, cell.column, cell.row), cell.colour)
        << "column " << cell.column << ", row " << cell.row;
}

TEST_F(MainScreenTest, ClicksOnAnOptionRowAFieldLabelAndAPromptTokenActAsTheirKeys) {
  const ScreenRecorder recorder(console);
  const std::string header =
      "(1)Project: Project.gen     (2)Target: hello.exe     (3)Makefile: Makefile.b";
  const std::string prompt = "Press (selection), [Esc], [->] or [Enter]... ";
  clickWorkspace(console, 40, 5);                       // the description of (b)Debug
  clickWorkspace(console, 8, 4, MouseEvent::kRight);    // only the left button clicks
  console.pushWheel(MouseEvent::Action::kWheelDown);    // nothing here turns
  clickWorkspace(console, columnOf(header, 1, " (2)"), 1);  // the gap after a name
  clickWorkspace(console, 8, 3);                        // the rule above the options
  clickWorkspace(console, columnOf(header, 1, "Target:"), 1);
  console.pushKeys("x\r");
  clickWorkspace(console, columnOf(prompt, 32, "(selection)"), 20);  // names no one key
  clickWorkspace(console, columnOf(prompt, 32, "[->]"), 20);
  EXPECT_EQ(run(), kKeyRight);
  EXPECT_EQ(statusShown(0), "OFF");
  EXPECT_EQ(statusShown(1), "OFF");
  EXPECT_EQ(target, "hellox");
  // Only the target's edit box opened, for "x" and Enter.
  EXPECT_EQ(recorder.timesShown("Name"), 2);
  EXPECT_EQ(console.keysLeft(), 0u);

  // The flags line: a click on the flags (past the label) edits them.
  clickWorkspace(console, 50, 18);
  console.pushKeys("-v\r");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(linkFlags, "-v");
}

TEST_F(MainScreenTest, AClickClosesTheHelpAndTheScreensPlacesStillClick) {
  console.pushKey(kKeyF1);
  clickWorkspace(console, 8, 3);   // closes the help; the rule under it means nothing
  clickWorkspace(console, 40, 5);  // the description of (b)Debug
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(statusShown(1), "OFF");
  EXPECT_EQ(console.keysLeft(), 0u);
}

TEST_F(MainScreenTest, F2ShowsTheFlagsTheMakefileWillUseAndTheScreenComesBackCellForCell) {
  ScreenRecorder recorder(console);
  compileFlags = "-DX";
  console.pushKeys("k");  // DLL: the flags and the start-up object follow it at once
  console.pushKey(kKeyF2);
  console.pushKeys("x");  // closes the box and is used up
  console.pushKeys("4");  // in an edit box F2 does nothing
  console.pushKey(kKeyF2);
  console.pushKey(kKeyEnter);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);

  const std::vector<ScreenShot>& shots = recorder.shots();
  ASSERT_GE(shots.size(), 5u);
  // The box (screen columns 9 to 72, from row 7) while it waits for its key.
  const auto boxRow = [&shots](int row) { return readable(shots[3].rowText(row, 9, 72)); };
  EXPECT_EQ(boxRow(8), blanks(6) + "What the makefile hands the compiler and the linker");
  EXPECT_EQ(boxRow(10), "  Compiler   -q -P- -K -D_WINVER=0x0400 -D_WIN32_WINNT=0x0400");
  EXPECT_EQ(boxRow(11), blanks(13) + "-v -k -y -Od -tC -tWD -4 -DX");
  EXPECT_EQ(boxRow(12), "  Linker     -x -c -v -ap -Tpd -Gi");
  EXPECT_EQ(boxRow(13), "  Startup    c0d32.obj");
  EXPECT_EQ(boxRow(14), "  Libraries  import32.lib cw32.lib");
  EXPECT_EQ(boxRow(16), blanks(18) + "Press any key to go back..");
  // Then the screen as it was, cursor included.
  EXPECT_EQ(shots[4].cells, shots[2].cells);
  EXPECT_EQ(shots[4].cursorColumn, shots[2].cursorColumn);
  EXPECT_EQ(shots[4].cursorRow, shots[2].cursorRow);
  EXPECT_EQ(recorder.timesShown("What the makefile hands"), 1);
  EXPECT_EQ(compileFlags, "-DX");
  EXPECT_EQ(console.keysLeft(), 0u);
}

TEST_F(MainScreenTest, F2CutsLongFlagsToTheirRowsSoTheBoxFitsTheScreen) {
  ScreenRecorder recorder(console);
  std::string longFlags;
  for (int i = 0; i < 60; ++i) longFlags += " -DNAME" + std::to_string(i);
  compileFlags = longFlags;
  linkFlags = longFlags;
  draft.settings.libraries = longFlags;
  console.pushKey(kKeyF2);
  console.pushKeys("x");
  EXPECT_EQ(run(), kKeyEsc);

  const auto box = std::find_if(recorder.shots().begin(), recorder.shots().end(),
                                [](const ScreenShot& shot) { return shot.shows("What the makefile"); });
  ASSERT_NE(box, recorder.shots().end());
  // Compiler four rows, Linker three, Startup one, Libraries two, each cut
  // value ending in "..", then a blank row and the prompt: the box ends on
  // the screen's last row.
  std::vector<std::string> rows;
  for (int row = 10; row <= 21; ++row) rows.push_back(readable(box->rowText(row, 9, 72)));
  const std::string indent = blanks(13);
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "  Compiler   -q -P- -K -D_WINVER=0x0400 -D_WIN32_WINNT=0x0400",
                      indent + "-v -k -y -Od -tC -4  -DNAME0 -DNAME1 -DNAME2",
                      indent + "-DNAME3 -DNAME4 -DNAME5 -DNAME6 -DNAME7 -DNAME8",
                      indent + "-DNAME9 -DNAME10 -DNAME11 -DNAME12 -DNAME13..",
                      "  Linker     -x -c -v -ap -Tpe  -DNAME0 -DNAME1 -DNAME2",
                      indent + "-DNAME3 -DNAME4 -DNAME5 -DNAME6 -DNAME7 -DNAME8",
                      indent + "-DNAME9 -DNAME10 -DNAME11 -DNAME12 -DNAME13..",
                      "  Startup    c0x32.obj",
                      "  Libraries  -DNAME0 -DNAME1 -DNAME2 -DNAME3 -DNAME4 -DNAME5",
                      indent + "-DNAME6 -DNAME7 -DNAME8 -DNAME9 -DNAME10 -DNAME..",
                      "",
                      blanks(18) + "Press any key to go back..",
                  }));
}

TEST_F(MainScreenTest, AClickOnEscAsksFirstOnlyWhenThereAreEditsToLose) {
  draft = ProjectDraft("Project.gen", helloDraft().settings);
  ScreenRecorder recorder(console);
  const std::string prompt = "Press (selection), [Esc], [->] or [Enter]... ";
  const int escColumn = columnOf(prompt, 32, "[Esc]") + 1;
  // Nothing edited: the click ends the screen at once, as Esc does.
  clickWorkspace(console, escColumn, 20);
  EXPECT_EQ(run(), kKeyEsc);
  EXPECT_EQ(recorder.timesShown("End without saving?"), 0);

  // An option switched: the click asks, and anything but Y goes back to the
  // screen as it was; Y ends it.
  console.pushKeys("a");
  clickWorkspace(console, escColumn, 20);
  console.pushKey(kKeyEnter);
  clickWorkspace(console, escColumn, 20);
  console.pushKeys("Y");
  EXPECT_EQ(run(), kKeyEsc);
  EXPECT_EQ(recorder.timesShown("End without saving?  Y/N?..  (N)"), 2);
  const std::vector<ScreenShot>& shots = recorder.shots();
  ASSERT_EQ(shots.size(), 6u);
  EXPECT_EQ(shots[4].cells, shots[2].cells);  // back after Enter, as before the click
  EXPECT_EQ(statusShown(0), " ON");

  // Switched back, the project is as it was loaded: no question. The Esc
  // key never asks.
  console.pushKeys("a");
  clickWorkspace(console, escColumn, 20);
  EXPECT_EQ(run(), kKeyEsc);
  console.pushKeys("a");
  console.pushKey(kKeyEsc);
  EXPECT_EQ(run(), kKeyEsc);
  EXPECT_EQ(recorder.timesShown("End without saving?"), 2);
  EXPECT_EQ(console.keysLeft(), 0u);
  EXPECT_FALSE(console.ranDry());
}

TEST_F(MainScreenTest, ReturnsTheKeysThatEndIt) {
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  console.pushKey(' ');
  EXPECT_EQ(run(), kKeySpace);
  console.pushKey(kKeyRight);
  EXPECT_EQ(run(), kKeyRight);
  EXPECT_FALSE(console.ranDry());
}

TEST_F(MainScreenTest, UpDownLeftAndOtherKeysDoNothing) {
  run();
  const std::vector<std::string> before = workspaceRows(console);
  console.pushKey(kKeyUp);
  console.pushKey(kKeyDown);
  console.pushKey(kKeyLeft);
  console.pushKeys("mz9");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(workspaceRows(console), before);
  EXPECT_EQ(options.optionLines(), OptionList().optionLines());
}

TEST_F(MainScreenTest, TheDllKeyChangesTheTargetExtensionInTheHeader) {
  console.pushKeys("k");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: Project.gen" + blanks(5) +
                                          "(2)Target: hello.dll" + blanks(5) +
                                          "(3)Makefile: Makefile.b");
  EXPECT_EQ(statusShown(10), " ON");
  EXPECT_EQ(options.targetExtension(), ".dll");
  // The cursor is back at its rest position after the partial redraw.
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 76);
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);

  console.pushKeys("K");  // capital letters act like small ones
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 1),
            "(1)Project: Project.gen     (2)Target: hello.exe     (3)Makefile: Makefile.b");
  EXPECT_EQ(statusShown(10), "OFF");
}

TEST_F(MainScreenTest, AGroupToggleRedrawsTheOtherMembers) {
  console.pushKeys("f");  // WarnHigh ON
  console.pushKeys("h");  // NoWarn ON switches WarnHigh OFF again
  console.pushKeys("j");  // MultiThread ON switches Console OFF
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(statusShown(5), "OFF");   // WarnHigh
  EXPECT_EQ(statusShown(7), " ON");   // NoWarn
  EXPECT_EQ(statusShown(9), " ON");   // MultiThread
  EXPECT_EQ(statusShown(4), "OFF");   // Console
  EXPECT_EQ(foregroundIn(console, 24, 4 + 4), kWhite);
  EXPECT_EQ(foregroundIn(console, 25, 4 + 9), kYellow);
  const MakeOption* warnHigh = options.find("WarnHigh");
  ASSERT_NE(warnHigh, nullptr);
  EXPECT_EQ(warnHigh->status, 0);
  EXPECT_FALSE(options.isConsole());
  EXPECT_TRUE(options.isMultiThread());
}

TEST_F(MainScreenTest, FlagsAreCutAfterSixteenCharacters) {
  compileFlags = "-DSIXTEEN_CHARSX";     // 16 characters: shown whole
  linkFlags = "-Lseventeen_chars";       // 17 characters: 16 and ".."
  ASSERT_EQ(compileFlags.size(), 16u);
  ASSERT_EQ(linkFlags.size(), 17u);
  run();
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -DSIXTEEN_CHARSX   (5)Add Link Flags: -Lseventeen_char..");
  EXPECT_EQ(foregroundIn(console, 23, 18), kWhite);
  EXPECT_EQ(linkFlags, "-Lseventeen_chars");  // the working copy stays whole

  compileFlags = "-DSEVENTEEN_CHARS";
  linkFlags = "-Lsixteen_charsX";
  run();
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -DSEVENTEEN_CHAR.. (5)Add Link Flags: -Lsixteen_charsX");
}

TEST_F(MainScreenTest, EditingTheFlagsRedrawsTheFlagsLine) {
  console.pushKeys("4");
  console.pushKeys("-w-par -DNDEBUG=1");  // appended to the empty value
  console.pushKey(kKeyEnter);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(compileFlags, "-w-par -DNDEBUG=1");
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -w-par -DNDEBUG=.. (5)Add Link Flags:");
  // The edit box has gone: the rows below the flags show the prompt again.
  EXPECT_EQ(workspaceRow(console, 19), "");
  EXPECT_EQ(workspaceRow(console, 20), blanks(31) + "Press (selection), [Esc], [->] or [Enter]...");
  EXPECT_EQ(workspaceRow(console, 21), "");
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 76);
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);
}

TEST_F(MainScreenTest, EscInAnEditBoxKeepsTheOldValue) {
  console.pushKeys("2");
  console.pushKey(kKeyBackspace);  // empties the field
  console.pushKeys("other");
  console.pushKey(kKeyEsc);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);  // Esc ended the box, not the screen
  EXPECT_EQ(target, "hello");
  EXPECT_EQ(workspaceRow(console, 1),
            "(1)Project: Project.gen     (2)Target: hello.exe     (3)Makefile: Makefile.b");
}

// Enter before anything is typed or deleted keeps a field's value byte for
// byte, whatever it ends with (a target loaded as "x.exe" stays "x.exe"),
// also after the cursor has moved.
TEST_F(MainScreenTest, EnterWithoutAnEditKeepsEveryFieldAsItWas) {
  const struct {
    char key;
    std::string* value;
  } fields[] = {{'1', &projectFile}, {'2', &target}, {'3', &makefile},
                {'4', &compileFlags}, {'5', &linkFlags}};
  const std::string odd = "caf\xc3\xa9 x.EXE";
  for (const auto& field : fields) {
    for (const std::vector<int>& moves :
         {std::vector<int>{}, std::vector<int>{kKeyLeft, kKeyHome, kKeyEnd}}) {
      for (const std::string& kept : {std::string("x.exe"), std::string("lib.dll"), odd}) {
        *field.value = kept;
        console.pushKeys(std::string(1, field.key));
        for (int move : moves) console.pushKey(move);
        console.pushKeys("\r");
        EXPECT_EQ(run(), kKeyEsc);
        EXPECT_EQ(*field.value, kept) << "field " << field.key << ", moves " << moves.size();
      }
    }
  }
}

TEST_F(MainScreenTest, EditingANameRedrawsTheHeaderWithItsNewGap) {
  console.pushKeys("1");
  console.pushKey(kKeyBackspace);
  console.pushKeys("My.gen");
  console.pushKey(kKeyEnter);
  console.pushKeys("3");
  console.pushKey(kKeyBackspace);
  console.pushKeys("mk");
  console.pushKey(kKeyEnter);
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(projectFile, "My.gen");
  EXPECT_EQ(makefile, "mk");
  // P + T + M = 6 + 5 + 2: gap (77 - 35 - 13) / 3 = 9. The old, longer
  // header leaves nothing behind at the end of the row.
  EXPECT_EQ(workspaceRow(console, 1),
            "(1)Project: My.gen" + blanks(9) + "(2)Target: hello.exe" + blanks(9) +
                "(3)Makefile: mk");
}

TEST_F(MainScreenTest, AHeaderLongerThanTheRowRunsOnIntoRowTwo) {
  target = std::string(40, 't');
  run();
  // 35 + 11 + 40 + 10 leaves no room: the gap is one space.
  EXPECT_EQ(workspaceRow(console, 1),
            "(1)Project: Project.gen (2)Target: " + std::string(40, 't') + ".ex");
  EXPECT_EQ(workspaceRow(console, 2), "e (3)Makefile: Makefile.b");

  console.pushKeys("2");
  console.pushKey(kKeyBackspace);
  console.pushKeys("t");
  console.pushKey(kKeyEnter);
  console.pushKey(kKeyEnter);
  run();
  // 35 + 11 + 1 + 10: gap (77 - 57) / 3 = 6.
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: Project.gen" + blanks(6) +
                                          "(2)Target: t.exe" + blanks(6) +
                                          "(3)Makefile: Makefile.b");
  EXPECT_EQ(workspaceRow(console, 2), "");
}

TEST_F(MainScreenTest, AHeaderLongerThanTwoRowsIsCutAndSparesTheOptions) {
  // The header takes 63 cells and the target's: with 93 it ends on the last
  // cell of row 2, whole.
  target = std::string(93, 't');
  run();
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: Project.gen (2)Target: " + std::string(43, 't'));
  EXPECT_EQ(workspaceRow(console, 2), std::string(50, 't') + ".exe (3)Makefile: Makefile.b");

  // Longer, it is cut with ".." at the end of row 2, also when the DLL key
  // draws it again.
  target = std::string(300, 't');
  console.pushKeys("k");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: Project.gen (2)Target: " + std::string(43, 't'));
  EXPECT_EQ(workspaceRow(console, 2), std::string(76, 't') + "..");
  EXPECT_EQ(workspaceRow(console, 3), kOptionsIndent + dashes(25) + " O P T I O N S " + dashes(25));
  EXPECT_EQ(workspaceRow(console, 4),
            kOptionsIndent + "(a)ANSI        [OFF]  -Strict ANSI (OFF => Accept Borland keywords)");
  EXPECT_EQ(statusShown(10), " ON");
  EXPECT_EQ(target.size(), 300u);
}

TEST_F(MainScreenTest, ControlBytesInNamesAndFlagsShowAsQuestionMarks) {
  target = "he\all\b\bXYo";
  makefile = "mk\r\nx";
  compileFlags = "-D\tX";
  run();
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: Project.gen" + blanks(5) +
                                          "(2)Target: he?ll??XYo.exe" + blanks(5) +
                                          "(3)Makefile: mk??x");
  EXPECT_EQ(workspaceRow(console, 2), "");
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -D?X" + blanks(15) + "(5)Add Link Flags:");
  EXPECT_EQ(console.bellCount(), 0);
}

#ifndef _WIN32
TEST_F(MainScreenTest, NamesAndFlagsShowOneCellACharacter) {
  projectFile = "\xc3\xa9t\xc3\xa9.gen";
  compileFlags = "-D";
  for (int i = 0; i < 12; ++i) compileFlags += "\xc3\xa9";
  run();
  // P + T + M = 7 + 5 + 10 cells: gap (77 - 57) / 3 = 6.
  EXPECT_EQ(workspaceRow(console, 1), "(1)Project: \x82t\x82.gen" + blanks(6) +
                                          "(2)Target: hello.exe" + blanks(6) +
                                          "(3)Makefile: Makefile.b");
  // 14 cells of 26 bytes: whole, not cut.
  EXPECT_EQ(workspaceRow(console, 18),
            "(4)Add Compile Flags: -D" + std::string(12, '\x82') + "     (5)Add Link Flags:");
}
#endif

}  // namespace
}  // namespace corvane

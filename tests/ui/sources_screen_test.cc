#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/memory_console.h"
#include "project/source_discovery.h"
#include "support/fake_file_system.h"
#include "support/source_entries.h"
#include "text/text_utils.h"
#include "ui/corvane_screen.h"
#include "ui/read_key.h"
#include "ui/project_editor.h"
#include "ui/sources_screen.h"
#include "support/workspace_rows.h"

namespace corvane {
namespace {

const std::string kProjectRule =
    blanks(10) + dashes(14) + " P R O J E C T   S O U R C E S " + dashes(14);
const std::string kOtherRule = blanks(10) + dashes(16) + " O T H E R   S O U R C E S " + dashes(16);
const std::string kSelectRule =
    blanks(10) + dashes(7) + " Select file (?) to add/remove from project. " + dashes(7);
const std::string kPrompt = blanks(25) + "Press (selection), [<-] [->], [Esc] or [Enter]...";
const std::string kReloadLine =
    blanks(13) + "Press (1) to reload all sources from /home/user/work";

class SourcesScreenTest : public ::testing::Test {
 protected:
  SourcesScreenTest() : screen(console) { screen.openWorkspace(); }

  void addFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) fs.addFile(name, "");
  }

  // The sources screen with the advanced screen beside it, as the editor
  // shows them: the key that leaves both.
  int run() { return run(fs); }
  int run(const FileSystem& directory) {
    SourcesScreen sourcesScreen(screen, directory, draft);
    int key = sourcesScreen.open();
    while (key == kKeyRight) {
      key = advancedScreen(screen, draft);
      if (key == kKeyLeft) key = sourcesScreen.resume();
    }
    return key;
  }

  MemoryConsole console;
  CorvaneScreen screen;
  FakeFileSystem fs{"/home/user/work"};
  ProjectDraft draft;
  List& sources = draft.settings.sources;
};

// "source01.cpp" ... : twelve characters make four columns of 21.
std::vector<std::string> numberedSources(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i)
    names.push_back("source" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".cpp");
  return names;
}

TEST_F(SourcesScreenTest, DrawsTheProjectSourcesBesideTheOtherSources) {
  addFiles({"main.cpp", "util.c", "b.cpp", "a.cpp"});
  sources = {"main.cpp", "util.c"};
  EXPECT_EQ(run(), kKeyEsc);

  expectWorkspace(console, {
      kReloadLine,
      "",
      kProjectRule,
      "(a)main.cpp   (b)util.c",
      "", "", "", "", "", "", "", "", "", "", "",
      kOtherRule,
      "(c)a.cpp      (d)b.cpp",
      kSelectRule,
      "",
      kPrompt,
  });
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 75);
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);
  EXPECT_EQ(sources, (List{"main.cpp", "util.c"}));
}

TEST_F(SourcesScreenTest, KeysNamesPathAndRulesHaveTheirColours) {
  addFiles({"main.cpp", "util.c", "a.cpp"});
  sources = {"main.cpp", "util.c"};
  run();
  EXPECT_EQ(foregroundIn(console, 14, 1), kWhite);       // "Press "
  EXPECT_EQ(foregroundIn(console, 20, 1), kYellow);      // "(1)"
  EXPECT_EQ(foregroundIn(console, 23, 1), kWhite);       // " to reload..."
  EXPECT_EQ(foregroundIn(console, 51, 1), kYellow);      // the path
  EXPECT_EQ(foregroundIn(console, 11, 3), kLightCyan);
  EXPECT_EQ(foregroundIn(console, 1, 4), kYellow);       // "(a)"
  EXPECT_EQ(foregroundIn(console, 4, 4), kWhite);        // a project source
  EXPECT_EQ(foregroundIn(console, 11, 16), kLightCyan);
  EXPECT_EQ(foregroundIn(console, 1, 17), kYellow);      // "(c)"
  EXPECT_EQ(foregroundIn(console, 4, 17), kLightGrey);   // an other source
  EXPECT_EQ(foregroundIn(console, 11, 18), kLightCyan);
  EXPECT_EQ(foregroundIn(console, 31, 18), kYellow);     // "(?)"
  EXPECT_EQ(foregroundIn(console, 34, 18), kLightCyan);
  EXPECT_EQ(foregroundIn(console, 26, 20), kWhite);      // "Press "
  EXPECT_EQ(foregroundIn(console, 32, 20), kYellow);     // "(selection)"
  EXPECT_EQ(foregroundIn(console, 46, 20), kYellow);     // "<-"
  EXPECT_EQ(foregroundIn(console, 51, 20), kYellow);     // "->"
  EXPECT_EQ(foregroundIn(console, 58, 20), kYellow);     // "Esc"
  EXPECT_EQ(foregroundIn(console, 67, 20), kYellow);     // "Enter"
  EXPECT_EQ(backgroundIn(console, 4, 17), kBlue);
}

TEST_F(SourcesScreenTest, LettersRunOnPastZ) {
  const std::vector<std::string> names = numberedSources(27);
  addFiles(names);
  sources = names;
  run();
  expectWorkspace(console, {
      kReloadLine,
      "",
      kProjectRule,
      "(a)source01.cpp      (h)source08.cpp      (o)source15.cpp      (v)source22.cpp",
      "(b)source02.cpp      (i)source09.cpp      (p)source16.cpp      (w)source23.cpp",
      "(c)source03.cpp      (j)source10.cpp      (q)source17.cpp      (x)source24.cpp",
      "(d)source04.cpp      (k)source11.cpp      (r)source18.cpp      (y)source25.cpp",
      "(e)source05.cpp      (l)source12.cpp      (s)source19.cpp      (z)source26.cpp",
      "(f)source06.cpp      (m)source13.cpp      (t)source20.cpp      ({)source27.cpp",
      "(g)source07.cpp      (n)source14.cpp      (u)source21.cpp",
      "", "", "", "", "",
      kOtherRule,
      "",
      kSelectRule,
      "",
      kPrompt,
  });

  console.pushKeys("{");  // the 27th source leaves the project
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(sources.size(), 26u);
  EXPECT_EQ(workspaceRow(console, 9),
            "(f)source06.cpp      (m)source13.cpp      (t)source20.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "({)source27.cpp");

  console.pushKeys("{");  // entering again finds it among the other sources
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, List(names.begin(), names.end()));
  EXPECT_EQ(workspaceRow(console, 9),
            "(f)source06.cpp      (m)source13.cpp      (t)source20.cpp      ({)source27.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "");
}

TEST_F(SourcesScreenTest, EntriesPastTildeGoOnTheNextPageWithLettersOfTheirOwn) {
  const std::vector<std::string> names = numberedSources(32);
  addFiles(names);
  sources = {"source01.cpp"};
  console.pushKey(127);  // the key after "~" is not taken
  console.pushKeys("~");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(sources, (List{"source01.cpp", "source30.cpp"}));

  // The first page holds thirty entries: the 29 other sources on it in four
  // columns of eight put the header on row 18 - 29 / 4 - 2 = 9.
  sources = {"source01.cpp"};
  run();
  const std::string kFirstOfTwo = blanks(27) + "[PgUp] page 1 of 2 [PgDn]";
  expectWorkspace(console, {
      kReloadLine,
      "",
      kProjectRule,
      "(a)source01.cpp",
      "", "", "", "",
      kOtherRule,
      "(b)source02.cpp      (j)source10.cpp      (r)source18.cpp      (z)source26.cpp",
      "(c)source03.cpp      (k)source11.cpp      (s)source19.cpp      ({)source27.cpp",
      "(d)source04.cpp      (l)source12.cpp      (t)source20.cpp      (|)source28.cpp",
      "(e)source05.cpp      (m)source13.cpp      (u)source21.cpp      (})source29.cpp",
      "(f)source06.cpp      (n)source14.cpp      (v)source22.cpp      (~)source30.cpp",
      "(g)source07.cpp      (o)source15.cpp      (w)source23.cpp",
      "(h)source08.cpp      (p)source16.cpp      (x)source24.cpp",
      "(i)source09.cpp      (q)source17.cpp      (y)source25.cpp",
      kSelectRule,
      kFirstOfTwo,
      kPrompt,
  });
  EXPECT_EQ(foregroundIn(console, 28, 19), kWhite);   // "["
  EXPECT_EQ(foregroundIn(console, 29, 19), kYellow);  // "PgUp"
  EXPECT_EQ(foregroundIn(console, 34, 19), kWhite);   // "] page 1 of 2 ["
  EXPECT_EQ(foregroundIn(console, 49, 19), kYellow);  // "PgDn"

  // The second page, laid out as a screen of its own: letters from "a".
  console.pushKey(kKeyPageDown);
  console.pushKey(kKeyEsc);
  run();
  EXPECT_EQ(workspaceRow(console, 4), "");
  EXPECT_EQ(workspaceRow(console, 16), kOtherRule);
  EXPECT_EQ(workspaceRow(console, 17), "(a)source31.cpp      (b)source32.cpp");
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 2 of 2 [PgDn]");
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 75);  // back at rest
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);
}

TEST_F(SourcesScreenTest, PagesTurnWithPgDnPgUpDownUpHomeAndEndAndStopAtTheEnds) {
  const std::vector<std::string> names = numberedSources(31);
  addFiles(names);
  sources = names;
  // The indicator each time the screen waits for a key; a key without a
  // character takes two reads.
  std::vector<std::string> shown;
  console.setKeyObserver(
      [&shown](const MemoryConsole& c) { shown.push_back(workspaceRow(c, 19)); });
  for (int key : {kKeyPageUp, kKeyPageDown, kKeyPageDown, kKeyUp, kKeyDown, kKeyDown, kKeyPageUp,
                  kKeyEnd, kKeyHome})
    console.pushKey(key);
  console.pushKey(kKeyEsc);
  run();
  const std::vector<std::string> pages = {"1", "1", "2", "2", "1", "2", "2", "1", "2", "1"};
  ASSERT_EQ(shown.size(), 2 * pages.size() - 1);
  for (std::size_t i = 0; i < pages.size(); ++i)
    EXPECT_EQ(shown[2 * i], blanks(27) + "[PgUp] page " + pages[i] + " of 2 [PgDn]") << i;

  // A letter past the entries of the page does nothing.
  console.setKeyObserver(nullptr);
  console.pushKey(kKeyPageDown);
  console.pushKeys("b");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 4), "(a)source31.cpp");
  EXPECT_EQ(sources, List(names.begin(), names.end()));
  EXPECT_FALSE(console.ranDry());
}

TEST_F(SourcesScreenTest, TheWheelAndAClickOnPgDnTurnPagesAndAClickMovesAnEntryOfALaterPage) {
  const std::vector<std::string> names = numberedSources(31);
  addFiles(names);
  sources = names;
  const std::string indicator = blanks(27) + "[PgUp] page 2 of 2 [PgDn]";
  console.pushWheel(MouseEvent::Action::kWheelDown);
  clickWorkspace(console, 5, 4);  // "(a)source31.cpp", the only entry on page 2
  console.pushWheel(MouseEvent::Action::kWheelUp);
  clickWorkspace(console, 5, 4);  // "(a)source01.cpp" on page 1
  clickWorkspace(console, columnOf(indicator, 1, "[PgDn]"), 19);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(sources, List(names.begin() + 1, names.end() - 1));
  EXPECT_EQ(workspaceRow(console, 19), indicator);
}

// The advanced screen covers the sources screen and goes again: the sources
// screen is not drawn anew, and its clicks still act.
TEST_F(SourcesScreenTest, ClicksActOnTheAdvancedScreenAndOnTheSourcesAfterIt) {
  addFiles({"a.cpp", "b.cpp"});
  sources = {"a.cpp", "b.cpp"};
  const std::string advancedPrompt = "Press (selection), [<-], [Esc] or [Enter]... ";
  clickWorkspace(console, columnOf(kPrompt, 1, "[->]") + 1, 20);
  clickWorkspace(console, 3, 7);  // "Library dirs:"
  console.pushKeys("lib\r");
  clickWorkspace(console, columnOf(advancedPrompt, 31, "[<-]"), 20);
  clickWorkspace(console, columnOf(kReloadLine, 1, "(1)") - 1, 1);  // "Press ": nothing
  clickWorkspace(console, 14, 4);  // "(b)b.cpp"
  clickWorkspace(console, columnOf(kPrompt, 1, "[Enter]") + 6, 20);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(draft.settings.libraryPaths, "lib");
  EXPECT_EQ(sources, (List{"a.cpp"}));
  EXPECT_EQ(workspaceRow(console, 17), "(b)b.cpp");
  EXPECT_EQ(console.keysLeft(), 0u);
}

// The directory's others are always offered; names it lacks are on red.
TEST_F(SourcesScreenTest, AProjectOfFilesFromElsewhereStillOffersTheDirectorysFiles) {
  addFiles({"a.cpp", "b.cpp"});
  sources = {"B.CPP", "gone.cpp", "x.cpp"};
  console.pushKeys("dc");  // a.cpp in, then gone.cpp out: it stays marked
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"a.cpp", "B.CPP", "x.cpp"}));
  EXPECT_EQ(workspaceRow(console, 4), "(a)a.cpp      (b)B.CPP      (c)x.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "(d)b.cpp      (e)gone.cpp");
  for (const auto& [column, row, background] : std::vector<std::tuple<int, int, int>>{
           {18, 4, kBlue}, {32, 4, kRed}, {4, 17, kBlue}, {18, 17, kRed}})
    EXPECT_EQ(backgroundIn(console, column, row), background) << column << "," << row;
  EXPECT_EQ(foregroundIn(console, 18, 17), kWhite);
}

TEST_F(SourcesScreenTest, AbsentProjectFilesDoNotHideTheDirectorysOtherFiles) {
  addFiles({"a.cpp", "b.cpp"});
  sources = {"gone.cpp"};
  console.pushKeys("c");  // b.cpp, the third entry shown
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"b.cpp", "gone.cpp"}));
  EXPECT_EQ(workspaceRow(console, 4), "(a)b.cpp      (b)gone.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "(c)a.cpp");
}

TEST_F(SourcesScreenTest, ReloadPutsEveryDirectorySourceIntoTheProject) {
  addFiles({"c.c", "b.cpp", "a.cpp"});
  sources = {"a.cpp", "gone.cpp"};
  console.pushKeys("1");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"a.cpp", "b.cpp", "c.c"}));
  expectWorkspace(console, {
      kReloadLine,
      "",
      kProjectRule,
      "(a)a.cpp   (b)b.cpp   (c)c.c",
      "", "", "", "", "", "", "", "", "", "", "",
      kOtherRule,
      "",
      kSelectRule,
      "",
      kPrompt,
  });
}

TEST_F(SourcesScreenTest, AFileMovedOutAndBackIsSortedIgnoringCase) {
  addFiles({"Alpha.cpp", "beta.cpp", "Gamma.cpp", "delta.c"});
  sources = {"Alpha.cpp", "beta.cpp", "Gamma.cpp"};
  console.pushKeys("b");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"Alpha.cpp", "Gamma.cpp"}));
  EXPECT_EQ(workspaceRow(console, 4), "(a)Alpha.cpp     (b)Gamma.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "(c)beta.cpp      (d)delta.c");

  console.pushKeys("c");  // beta.cpp from the other sources
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"Alpha.cpp", "beta.cpp", "Gamma.cpp"}));
  EXPECT_EQ(workspaceRow(console, 4), "(a)Alpha.cpp     (b)beta.cpp      (c)Gamma.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "(d)delta.c");
}

TEST_F(SourcesScreenTest, MovingTheLastProjectSourceOutLeavesAnEmptyBlock) {
  addFiles({"only.cpp", "zed.cpp"});
  sources = {"only.cpp"};
  console.pushKeys("a");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_TRUE(sources.empty());
  expectWorkspace(console, {
      kReloadLine,
      "",
      kProjectRule,
      "", "", "", "", "", "", "", "", "", "", "", "",
      kOtherRule,
      "(a)only.cpp   (b)zed.cpp",
      kSelectRule,
      "",
      kPrompt,
  });

  console.pushKeys("b");  // and back again from an empty project
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"zed.cpp"}));
}

TEST_F(SourcesScreenTest, UpDownAndAnAdvancedScreenVisitLeaveTheScreenUnchanged) {
  addFiles({"a.cpp", "b.cpp"});
  sources = {"a.cpp"};
  console.pushKey(kKeyEsc);
  run();
  const std::vector<std::string> before = workspaceRows(console);
  const std::size_t stackDepth = screen.stack().size();

  console.pushKey(kKeyUp);
  console.pushKey(kKeyDown);
  console.pushKey(kKeyRight);  // into the advanced screen
  console.pushKey(kKeyRight);  // nothing there
  console.pushKey(kKeyUp);
  console.pushKey(kKeyLeft);   // back
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(workspaceRows(console), before);
  EXPECT_EQ(console.screenCursorColumn(), kWorkspaceLeft + 75);  // back at rest
  EXPECT_EQ(console.screenCursorRow(), kWorkspaceTop + 19);
  EXPECT_EQ(screen.stack().size(), stackDepth);
  EXPECT_EQ(sources, (List{"a.cpp"}));
  EXPECT_FALSE(console.ranDry());
}

TEST_F(SourcesScreenTest, KeysThatEndTheAdvancedScreenEndTheSourcesScreen) {
  addFiles({"a.cpp"});
  sources = {"a.cpp"};
  for (int key : {kKeyEnter, kKeySpace, kKeyEsc}) {
    console.pushKey(kKeyRight);
    console.pushKey(key);
    EXPECT_EQ(run(), key);
  }
  console.pushKey(kKeyLeft);
  EXPECT_EQ(run(), kKeyLeft);
  console.pushKey(' ');
  EXPECT_EQ(run(), kKeySpace);
  EXPECT_FALSE(console.ranDry());
}

TEST_F(SourcesScreenTest, ChangesMadeBeforeAVisitToTheAdvancedScreenComeBackWithIt) {
  addFiles({"a.cpp", "b.cpp", "c.cpp"});
  sources = {"a.cpp", "b.cpp", "c.cpp"};
  console.pushKeys("ab");  // a.cpp out, then c.cpp (now "b") out
  console.pushKey(kKeyRight);
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, (List{"b.cpp"}));
  EXPECT_EQ(workspaceRow(console, 4), "(a)b.cpp");
  EXPECT_EQ(workspaceRow(console, 16), kOtherRule);
  EXPECT_EQ(workspaceRow(console, 17), "(b)a.cpp   (c)c.cpp");
}

TEST_F(SourcesScreenTest, TheReloadLineIsCentredAndALongPathStartsInColumnOne) {
  FakeFileSystem shortPath("/src/proj");  // 9 characters: column (77 - 9 - 36) / 2 + 1
  shortPath.addFile("a.cpp", "");
  sources = {"a.cpp"};
  run(shortPath);
  EXPECT_EQ(workspaceRow(console, 1), blanks(16) + "Press (1) to reload all sources from /src/proj");

  const std::string longPath = "/home/someone/projects/" + std::string(40, 'x');
  FakeFileSystem longOne(longPath);
  longOne.addFile("a.cpp", "");
  run(longOne);
  const std::string line = "Press (1) to reload all sources from " + longPath;
  EXPECT_EQ(workspaceRow(console, 1), line.substr(0, 78));
  EXPECT_EQ(workspaceRow(console, 2), line.substr(78));
  EXPECT_EQ(workspaceRow(console, 3), kProjectRule);

  // A path too long for both rows is cut with ".." at the end of row 2; a
  // line feed in it shows as "?" instead of breaking the line.
  const std::string hugePath = "/a\nb/" + std::string(3000, 'y');
  FakeFileSystem huge(hugePath);
  huge.addFile("a.cpp", "");
  run(huge);
  const std::string shown = "Press (1) to reload all sources from /a?b/" + std::string(3000, 'y');
  EXPECT_EQ(workspaceRow(console, 1), shown.substr(0, 78));
  EXPECT_EQ(workspaceRow(console, 2), shown.substr(78, 76) + "..");
  EXPECT_EQ(workspaceRow(console, 3), kProjectRule);
  EXPECT_EQ(workspaceRow(console, 4), "(a)a.cpp");
  EXPECT_EQ(workspaceRow(console, 18), kSelectRule);
  EXPECT_EQ(workspaceRow(console, 20), kPrompt);
}

TEST_F(SourcesScreenTest, ShortNamesNeverPassTheRightEdge) {
  // Ten one-letter sources would put a tenth column at window column 82;
  // the columns are fewer so that every one lies inside the window.
  addFiles({"a.c", "b.c", "c.c", "d.c", "e.c", "f.c", "g.c", "h.c", "i.c", "j.c"});
  sources = scanSources(fs);
  run();
  EXPECT_EQ(workspaceRow(console, 4),
            "(a)a.c    (c)c.c    (e)e.c    (g)g.c    (i)i.c");
  EXPECT_EQ(workspaceRow(console, 5),
            "(b)b.c    (d)d.c    (f)f.c    (h)h.c    (j)j.c");
  EXPECT_EQ(workspaceRow(console, 6), "");
}

#ifndef _WIN32
TEST_F(SourcesScreenTest, Utf8NamesShowOneCellACharacterAndAreLaidOutSo) {
  // Five cells, seven bytes: eight columns eleven apart, not six fourteen apart.
  addFiles({"b.c", "\xc3\xa9t\xc3\xa9.c"});
  sources = {"b.c", "\xc3\xa9t\xc3\xa9.c"};
  run();
  EXPECT_EQ(workspaceRow(console, 4), "(a)b.c" + blanks(5) + "(b)\x82t\x82.c");
  EXPECT_EQ(sources[1], "\xc3\xa9t\xc3\xa9.c");
}
#endif

TEST_F(SourcesScreenTest, ListsLongerThanTheScreenGoOnPagesBetweenTheRules) {
  // 200 sources of twelve characters: 50 rows per column on one screen, far
  // more than the fourteen rows between the rules; seven pages of them.
  std::vector<std::string> names;
  for (int i = 0; i < 200; ++i) names.push_back("file" + std::to_string(1000 + i) + ".cpp");
  addFiles(names);
  sources = {names[0]};
  console.pushKeys("b");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(sources, (List{"file1000.cpp", "file1001.cpp"}));
  EXPECT_EQ(workspaceRow(console, 1),
            blanks(13) + "Press (1) to reload all sources from /home/user/work");
  EXPECT_EQ(workspaceRow(console, 3), kProjectRule);
  EXPECT_EQ(workspaceRow(console, 18), kSelectRule);
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 1 of 7 [PgDn]");
  EXPECT_EQ(workspaceRow(console, 20), kPrompt);
  EXPECT_EQ(workspaceRow(console, 21), "");

  for (int i = 0; i < 10; ++i) console.pushKey(kKeyPageDown);  // past the last page
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 11), kOtherRule);
  EXPECT_EQ(workspaceRow(console, 16),
            "(e)file1184.cpp      (j)file1189.cpp      (o)file1194.cpp      (t)file1199.cpp");
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 7 of 7 [PgDn]");
}

// The entries of the list rows, by letter.
std::map<char, std::string> entriesOnScreen(const MemoryConsole& console) {
  std::map<char, std::string> entries;
  for (int row = 4; row <= 17; ++row)
    for (const auto& [letter, name] : sourceEntriesIn(workspaceRow(console, row)))
      entries[letter] = name;
  return entries;
}

// s000.c to s099.c: seven columns of thirty entries a page, four pages.
std::vector<std::string> hundredSources() {
  std::vector<std::string> names;
  for (int i = 0; i < 100; ++i)
    names.push_back("s0" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".c");
  return names;
}

TEST_F(SourcesScreenTest, EveryOneOfAHundredSourcesCanBeReachedAndMovedOut) {
  const std::vector<std::string> names = hundredSources();
  addFiles(names);
  const List all(names.begin(), names.end());
  // Where each name is shown: how many pages on, with which letter. One turn
  // past the last page shows the last page again.
  std::map<std::string, std::pair<int, char>> places;
  for (int turns = 0; turns <= 4; ++turns) {
    for (int i = 0; i < turns; ++i) console.pushKey(kKeyPageDown);
    console.pushKey(kKeyEsc);
    sources = all;
    run();
    for (const auto& [letter, name] : entriesOnScreen(console))
      places.emplace(name, std::make_pair(turns, letter));
  }
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 4 of 4 [PgDn]");
  ASSERT_EQ(places.size(), 100u);
  EXPECT_EQ(places.at("s099.c"), std::make_pair(3, 'j'));

  for (const auto& [name, place] : places) {
    sources = all;
    for (int i = 0; i < place.first; ++i) console.pushKey(kKeyPageDown);
    console.pushKeys(std::string(1, place.second));
    console.pushKey(kKeyEnter);
    run();
    List expected = all;
    expected.erase(std::find(expected.begin(), expected.end(), name));
    EXPECT_EQ(sources, expected) << name;
  }
  EXPECT_FALSE(console.ranDry());
}

TEST_F(SourcesScreenTest, MovingTheLastEntryOfTheLastPageStaysOnTheLastPage) {
  // Names of 22 characters take two columns: pages of 24, 24 and 1 entries.
  std::vector<std::string> names;
  for (int i = 1; i <= 49; ++i)
    names.push_back("networking_module_" + std::to_string(i + 10) + ".c");
  addFiles(names);
  sources = List(names.begin(), names.end());
  console.pushKey(kKeyPageDown);
  console.pushKey(kKeyPageDown);
  console.pushKeys("a");
  console.pushKey(kKeyEsc);
  std::string lastPage;
  console.setKeyObserver([&lastPage](const MemoryConsole& c) {
    if (c.keysLeft() == 2) lastPage = workspaceRow(c, 4) + "|" + workspaceRow(c, 19);
  });
  run();
  EXPECT_EQ(lastPage, "(a)networking_module_59.c|" + blanks(27) + "[PgUp] page 3 of 3 [PgDn]");
  EXPECT_EQ(sources, List(names.begin(), names.end() - 1));
  // 48 project sources and one other source make two pages now: the user is
  // on the last, where the moved file shows below the OTHER SOURCES rule.
  EXPECT_EQ(workspaceRow(console, 4),
            "(a)networking_module_35.c" + blanks(15) + "(m)networking_module_47.c");
  EXPECT_EQ(workspaceRow(console, 16), kOtherRule);
  EXPECT_EQ(workspaceRow(console, 17), "(y)networking_module_59.c");
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 2 of 2 [PgDn]");
}

TEST_F(SourcesScreenTest, ReloadOnALaterPageGoesBackToTheFirst) {
  const std::vector<std::string> names = hundredSources();
  addFiles(names);
  sources = {};
  console.pushKey(kKeyPageDown);
  console.pushKey(kKeyPageDown);
  console.pushKeys("1");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources, List(names.begin(), names.end()));
  EXPECT_EQ(workspaceRow(console, 4).substr(0, 21), "(a)s000.c   (f)s005.c");
  EXPECT_EQ(workspaceRow(console, 16), kOtherRule);
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 1 of 4 [PgDn]");
}

// A directory of 2,000 sources of mixed case and both extensions, added in
// no sorted order (how long the keys take is measured in bench/).
TEST_F(SourcesScreenTest, TwoThousandSourcesMoveAndReload) {
  List half;
  for (int i = 0; i < 2000; ++i) {
    const int n = (i * 7919) % 2000;
    const std::string name = std::string(n % 3 == 0 ? "Mod" : "mod") + std::to_string(10000 + n) +
                             (n % 2 == 0 ? ".cpp" : ".c");
    fs.addFile(name, "");
    if (n % 2 == 0) half.push_back(name);
  }

  // Half of the directory in the project: two move out, then all come back.
  sources = half;
  console.pushKeys("ab1");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(console.keysRead(), 4);
  EXPECT_EQ(sources.size(), 2000u);  // the reload took them all
  EXPECT_EQ(workspaceRow(console, 20).find("Press (selection)"), 25u);

  // Ten sources in the project: one of the 1,990 others moves in, one out.
  sources = List(half.begin(), half.begin() + 10);
  console.pushKeys("ka");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(console.keysRead(), 4 + 3);
  EXPECT_EQ(sources.size(), 10u);
  EXPECT_FALSE(console.ranDry());
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// The filter, "+", "-" and "!": what they show, with which letters, and
// what they move.
class SourcesFilterTest : public SourcesScreenTest {
 protected:
  // Presses "/", types the pattern and Enter.
  void filterBy(const std::string& pattern) {
    console.pushKeys("/" + pattern);
    console.pushKey(kKeyEnter);
  }
};

TEST_F(SourcesFilterTest, AFilterShowsTheMatchingNamesOfBothListsWithLettersFromA) {
  const std::vector<std::string> names = hundredSources();
  addFiles(names);
  sources = List(names.begin(), names.begin() + 50);
  filterBy("S0?5.C");  // wildcards, any case: s005.c, s015.c, ... s095.c
  console.pushKey(kKeyEsc);
  run();
  expectWorkspace(console, {
      kReloadLine,
      blanks(11) + "[/] \"S0?5.C\": 10 of 100 shown, [+] add [-] remove them",
      kProjectRule,
      "(a)s005.c   (b)s015.c   (c)s025.c   (d)s035.c   (e)s045.c",
      "", "", "", "", "", "", "", "", "", "", "",
      kOtherRule,
      "(f)s055.c   (g)s065.c   (h)s075.c   (i)s085.c   (j)s095.c",
      kSelectRule,
      "",
      kPrompt,
  });

  // A letter moves the entry it names, and the moved file stays in sight.
  filterBy("s0?5.c");
  console.pushKeys("g");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 4),
            "(a)s005.c   (b)s015.c   (c)s025.c   (d)s035.c   (e)s045.c   (f)s065.c");
  EXPECT_EQ(sources.size(), 51u);
}

// One named file among 20,000 moves with "/", part of its name, Enter and
// its letter.
TEST_F(SourcesFilterTest, OneFileAmongTwentyThousandMovesWithFourSteps) {
  for (int i = 0; i < 20000; ++i) fs.addFile("unit" + std::to_string(100000 + i) + ".c", "");
  sources = {};
  filterBy("112345");
  console.pushKeys("a");
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(console.keysRead(), 1 + 6 + 1 + 1 + 1);
  EXPECT_EQ(sources, (List{"unit112345.c"}));
}

TEST_F(SourcesFilterTest, PlusAndMinusMoveEveryNameShownOnEveryPage) {
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) names.push_back("pay_" + std::to_string(100 + i) + ".c");
  for (int i = 0; i < 40; ++i) names.push_back("old_pay" + std::to_string(100 + i) + ".c");
  names.push_back("Pay_main.cpp");
  addFiles(names);
  sources = {"old_pay100.c", "zz.c"};
  // 41 pay_ files on two pages, with letters from "a" on each: "+" takes
  // those of both.
  filterBy("pay_*");
  console.pushKey(kKeyPageDown);
  console.pushKeys("+");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(workspaceRow(console, 19), blanks(27) + "[PgUp] page 2 of 2 [PgDn]");
  ASSERT_EQ(sources.size(), 43u);
  EXPECT_EQ(sources[1], "pay_100.c");
  EXPECT_EQ(sources[41], "Pay_main.cpp");

  // "-" takes out only the project sources shown (pay_109.c to pay_139.c).
  filterBy("*1?9.c");
  console.pushKeys("-");
  console.pushKey(kKeyEnter);
  run();
  EXPECT_EQ(sources.size(), 39u);
  EXPECT_EQ(std::count(sources.begin(), sources.end(), "pay_109.c"), 0);
  EXPECT_EQ(sources, sortNoCase(sources, true));
}

TEST_F(SourcesFilterTest, BangShowsOnlyTheMissingAndMinusThenRemovesThemAll) {
  addFiles({"a.cpp", "b.cpp", "x.cpp"});
  sources = {"a.cpp", "gone1.cpp", "Gone2.cpp", "x.cpp"};
  std::vector<std::string> status;  // row 2 each time a key is read
  console.setKeyObserver([&status](const MemoryConsole& c) {
    status.push_back(workspaceRow(c, 2) + "|" + std::to_string(backgroundIn(c, 4, 2)));
  });
  console.pushKeys("!-!");
  console.pushKey(kKeyEnter);
  run();
  const std::string red = "|" + std::to_string(kRed);
  const std::string blue = "|" + std::to_string(kBlue);
  EXPECT_EQ(status, (std::vector<std::string>{
      blanks(3) + "2 sources of the project are not in this directory: [!] shows only them" + red,
      blanks(3) + "[!] only the missing: 2 of 5 shown, [+] add [-] remove them   2 missing" + blue,
      // Out of the project they are still shown (on red), but not counted.
      blanks(9) + "[!] only the missing: 2 of 5 shown, [+] add [-] remove them" + blue,
      blue}));
  EXPECT_EQ(sources, (List{"a.cpp", "x.cpp"}));
  EXPECT_EQ(workspaceRow(console, 17), "(c)b.cpp         (d)gone1.cpp     (e)Gone2.cpp");
}

TEST_F(SourcesFilterTest, WithoutColourMissingNamesAreMarkedAndLaidOutWithTheirMark) {
  addFiles({"a.cpp", "b.cpp"});
  sources = {"a.cpp", "gone.cpp"};
  console.setShowsColour(false);
  console.pushKeys("b");  // gone.cpp out: marked there too
  console.pushKey(kKeyEsc);
  run();
  EXPECT_EQ(workspaceRow(console, 4), "(a)a.cpp");
  EXPECT_EQ(workspaceRow(console, 17), "(b)b.cpp         (c)!gone.cpp");
}

TEST_F(SourcesFilterTest, EscKeepsTheFilterTheAdvancedScreenKeepsItAndLeavingClearsIt) {
  const std::vector<std::string> names = hundredSources();
  addFiles(names);
  sources = List(names.begin(), names.end());
  filterBy("s09");
  console.pushKeys("/x");  // a new pattern, then Esc: the old one stays
  console.pushKey(kKeyEsc);
  console.pushKey(kKeyRight);
  console.pushKey(kKeyLeft);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(workspaceRow(console, 2),
            blanks(13) + "[/] \"s09\": 10 of 100 shown, [+] add [-] remove them");

  // "/" opens on the pattern in force; Backspace clears it and Enter shows
  // everything again, from the first page.
  filterBy("s09");
  console.pushKeys("/");
  console.pushKey(kKeyBackspace);
  console.pushKey(kKeyEnter);
  std::vector<std::string> shown;
  console.setKeyObserver([&shown](const MemoryConsole& c) {
    shown.push_back(workspaceRow(c, 2) + "|" + workspaceRow(c, 19));
  });
  run();
  EXPECT_EQ(shown.back(), "|" + blanks(27) + "[PgUp] page 1 of 4 [PgDn]");
  // Shown again from the main screen, it starts without a filter.
  run();
  EXPECT_EQ(workspaceRow(console, 2), "");
}

TEST_F(SourcesFilterTest, ClicksOnTheStatusRowsKeysActAsTheKeys) {
  addFiles({"pay_a.c", "pay_b.c", "other.c"});
  sources = {"gone.c"};
  const std::string told =
      blanks(4) + "1 source of the project is not in this directory: [!] shows only them";
  clickWorkspace(console, columnOf(told, 1, "[!]") + 1, 2);
  console.pushKeys("!");  // back to every name
  filterBy("pay");
  const std::string filtered =
      blanks(7) + "[/] \"pay\": 2 of 4 shown, [+] add [-] remove them   1 missing [!]";
  clickWorkspace(console, columnOf(filtered, 1, "[+]"), 2);
  clickWorkspace(console, columnOf(filtered, 1, "\"pay\""), 2);  // the filter's box
  console.pushKeys("_b\r");
  clickWorkspace(console, columnOf(filtered, 1, "[-]") + 2, 2);
  console.pushKey(kKeyEnter);
  EXPECT_EQ(run(), kKeyEnter);
  EXPECT_EQ(sources, (List{"gone.c", "pay_a.c"}));
  EXPECT_EQ(console.keysLeft(), 0u);
}

TEST_F(SourcesFilterTest, AStatusRowKeepsALongPathToTheFirstRow) {
  const std::string path = "/home/someone/projects/" + std::string(60, 'x');
  FakeFileSystem longOne(path);
  longOne.addFile("a.cpp", "");
  sources = {"a.cpp", "gone.cpp"};
  console.pushKeys("b");  // gone.cpp out: nothing missing, the path runs on
  console.pushKey(kKeyEsc);
  std::vector<std::string> rows;
  console.setKeyObserver([&rows](const MemoryConsole& c) {
    rows.push_back(workspaceRow(c, 1) + "|" + workspaceRow(c, 2));
  });
  run(longOne);
  const std::string line = "Press (1) to reload all sources from " + path;
  EXPECT_EQ(rows, (std::vector<std::string>{
      line.substr(0, 76) + "..|" + blanks(4) +
          "1 source of the project is not in this directory: [!] shows only them",
      line.substr(0, 78) + "|" + line.substr(78)}));
}

// The help box grew by the filter's keys: it still ends on the screen.
TEST_F(SourcesFilterTest, TheHelpBoxStillFitsTheScreen) {
  addFiles({"a.cpp"});
  std::vector<std::string> shown;
  console.setKeyObserver([&shown](const MemoryConsole& c) {
    shown.push_back(readable(c.rowText(22, 9, 72)) + "|" + readable(c.rowText(24, 9, 72)));
  });
  console.pushKey(kKeyF1);  // two presses; the box waits for the third
  console.pushKey(kKeyEsc);
  run();
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown[2], "  A name on red (or marked !) is not in this directory.|" + blanks(18) +
                          "Press any key to go back..");
}

}  // namespace
}  // namespace corvane

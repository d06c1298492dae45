#include "ui/help_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/make_project.h"
#include "support/fake_file_system.h"
#include "support/memory_console.h"
#include "support/screen_recorder.h"
#include "ui/corvane_screen.h"
#include "ui/project_editor.h"

namespace corvane {
namespace {

const char* const kTitles[] = {"Keys of the main screen", "Keys of the sources screen",
                               "Keys of the advanced screen"};

class HelpBoxTest : public ::testing::Test {
 protected:
  HelpBoxTest() : screen(console) {
    fs.addFile("hello.cpp", "int main()\n{\n}\n");
    fs.addFile("util.c", "");
    screen.openWorkspace();
  }

  // Runs the editor on the keys; the project's target afterwards.
  std::string edit(const std::vector<int>& keys) {
    for (int key : keys) console.pushKey(key);
    MakeProject project(fs);
    std::string name = "Project.gen";
    editProject(project, name, screen, fs);
    return project.target();
  }

  // A help box as the recorded pictures show it: its title and the first
  // and last picture that show it (a key of two presses, 0 and a scan
  // code, is read over two pictures).
  struct Shown {
    std::string title;
    std::size_t first;
    std::size_t last;
  };
  std::vector<Shown> helpShown() const {
    std::vector<Shown> shown;
    const std::vector<ScreenShot>& shots = recorder.shots();
    for (std::size_t i = 0; i < shots.size(); ++i) {
      for (const char* title : kTitles) {
        if (!shots[i].shows(title)) continue;
        if (!shown.empty() && shown.back().title == title && shown.back().last + 1 == i) {
          shown.back().last = i;
        } else {
          shown.push_back({title, i, i});
        }
      }
    }
    return shown;
  }

  MemoryConsole console;
  ScreenRecorder recorder{console};
  CorvaneScreen screen;
  FakeFileSystem fs{"/home/user/work"};
};

TEST_F(HelpBoxTest, F1OrQuestionMarkOnEachScreenAndAnyKeyBringsTheScreenBack) {
  // Each box is closed by a key that would act on the screen (x, Esc, Left,
  // Enter): it only closes the box.
  edit({kKeyF1, 'x', kKeyRight, '?', kKeyEsc, kKeyRight, kKeyF1, kKeyLeft, '?', kKeyEnter,
        kKeyEsc});
  const auto shown = helpShown();
  ASSERT_EQ(shown.size(), 4u);
  const std::vector<ScreenShot>& shots = recorder.shots();
  const char* const expected[] = {kTitles[0], kTitles[1], kTitles[2], kTitles[2]};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(shown[i].title);
    EXPECT_EQ(shown[i].title, expected[i]);
    // The picture as the key that opened the box was read, and as the key
    // after the one that closed it is read: the same, cell for cell.
    ASSERT_GT(shown[i].first, 0u);
    ASSERT_LT(shown[i].last + 1, shots.size());
    const ScreenShot& before = shots[shown[i].first - 1];
    const ScreenShot& after = shots[shown[i].last + 1];
    EXPECT_EQ(after.cells, before.cells);
    EXPECT_EQ(after.cursorColumn, before.cursorColumn);
    EXPECT_EQ(after.cursorRow, before.cursorRow);
  }
  EXPECT_FALSE(console.ranDry());  // the last Esc ended the editor, not the queue
}

TEST_F(HelpBoxTest, TheBoxListsTheScreensKeys) {
  edit({kKeyF1});
  ASSERT_EQ(helpShown().size(), 1u);
  const ScreenShot& box = recorder.shots()[helpShown()[0].first];
  const std::vector<std::string> rows = box.rows();
  const auto inBox = [&rows](int row) { return rows[static_cast<std::size_t>(row - 1)].substr(8, 64); };
  const std::vector<std::string> expected = {
      "",
      "                    Keys of the main screen",
      "",
      "  1 2 3           edit the project, target or makefile name",
      "  4 5             edit the extra compile or link flags",
      "  a to l          switch a build option ON or OFF",
      "  ->              the sources screen",
      "  Enter Space     save the project and write the makefile",
      "  Esc             end Corvane without saving anything",
      "  F1 ?            this help",
      "  In an edit box Enter keeps the new text, Esc the old one.",
      "",
      "                  Press any key to go back..",
      "",
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    std::string row = inBox(7 + static_cast<int>(i));
    row.erase(row.find_last_not_of(' ') + 1);
    EXPECT_EQ(row, expected[i]) << "box row " << i + 1;
  }
  // Keys yellow, what they do white, on green; the row under the box is
  // the workspace's again.
  EXPECT_EQ(box.foregroundAt(11, 10), kYellow);
  EXPECT_EQ(box.foregroundAt(27, 10), kWhite);
  EXPECT_EQ(box.backgroundAt(27, 10), kGreen);
  EXPECT_EQ(box.backgroundAt(27, 21), kBlue);
  EXPECT_EQ(box.cursorRow, 19);
}

TEST_F(HelpBoxTest, F1InAnEditBoxIsNoKeyAtAll) {
  // The target's edit box: F1 first, then a character that is appended.
  EXPECT_EQ(edit({'2', kKeyF1, 'z', kKeyEnter, kKeyEnter}), "helloz");
  EXPECT_TRUE(helpShown().empty());
}

}  // namespace
}  // namespace corvane

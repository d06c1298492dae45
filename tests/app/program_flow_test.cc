// One run of Corvane on the memory console and an in-memory file system: the
// questions and boxes it shows, the files it saves and its exit status.
#include "app/program_flow.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "support/memory_console.h"
#include "project/make_project.h"
#include "platform/key_codes.h"
#include "support/fake_file_system.h"
#include "support/screen_recorder.h"

namespace corvane {
namespace {

const std::string kEnter = "\r";
const std::string kEsc = "\x1b";

class ProgramFlowTest : public ::testing::Test {
 protected:
  ProgramFlowTest() : fs_("/home/user/work") {
    fs_.addFile("hello.cpp", "int main()\n{\n}\n");
    // No compiler beside the program, so the compiler prompt appears.
    fs_.setProgramPath("/usr/local/bin/corvane");
    fs_.addFile("C:\\BCC55\\Bin\\Bcc32.exe", "");
  }

  // The exit status; the whole outcome is kept in outcome_.
  int run(const std::string& keys, const std::vector<std::string>& arguments = {}) {
    console_.pushKeys(keys);
    outcome_ = runCorvane(arguments, console_, fs_);
    return exitStatus(outcome_);
  }

  // The number of key requests at which the screen showed the text.
  int timesShown(const std::string& text) const { return recorder_.timesShown(text); }

  bool screenIsBlank() const {
    for (int row = 1; row <= kScreenRows; ++row)
      for (int column = 1; column <= kScreenColumns; ++column)
        if (console_.cellAt(column, row).character != ' ' ||
            console_.foregroundAt(column, row) != 15 || console_.backgroundAt(column, row) != 0)
          return false;
    return true;
  }

  // Clears the compiler prompt's field and names C:\BCC55.
  static std::string compilerAnswer() { return std::string("\b") + "C:\\BCC55" + kEnter; }

  MemoryConsole console_;
  ScreenRecorder recorder_{console_};
  FakeFileSystem fs_;
  RunOutcome outcome_;
};

TEST_F(ProgramFlowTest, NormalRunSavesBothFilesAndLeavesTheScreenBlank) {
  EXPECT_EQ(run(kEnter + compilerAnswer()), 0);
  ASSERT_TRUE(fs_.contentOf("Project.gen"));
  EXPECT_NE(fs_.contentOf("Project.gen")->find("\r\ntarget hello.exe\r\n"), std::string::npos);
  ASSERT_TRUE(fs_.contentOf("Makefile.b"));
  EXPECT_NE(fs_.contentOf("Makefile.b")->find("\r\nBCDIR = C:\\BCC55\r\n"), std::string::npos);
  EXPECT_TRUE(screenIsBlank());
  EXPECT_FALSE(console_.ranDry());
  EXPECT_EQ(timesShown("LOAD"), 0);  // no project file, no question
}

TEST_F(ProgramFlowTest, UsageScreenLeavesItsKeyUnreadAndEndsByArgumentCount) {
  EXPECT_EQ(run("x", {"/?"}), 0);
  EXPECT_EQ(console_.keysLeft(), 1u);
  EXPECT_TRUE(screenIsBlank());
  EXPECT_EQ(exitStatus(runCorvane({"/?", "b"}, console_, fs_)), 1);
  EXPECT_EQ(exitStatus(runCorvane({"a.gen", "b.gen"}, console_, fs_)), 1);
  EXPECT_FALSE(fs_.contentOf("Project.gen"));
  EXPECT_FALSE(fs_.contentOf("a.gen"));
}

TEST(CommandLineTest, PosixOptionsBesideTheProjectFileName) {
  struct Case {
    std::vector<std::string> arguments;
    bool posixOptions;
    CommandAction action;
    std::string projectFileName;
    int status;
  };
  const Case cases[] = {
      {{}, true, CommandAction::kEdit, "Project.gen", 0},
      {{"/?"}, false, CommandAction::kUsage, "", 0},
      {{"--help"}, true, CommandAction::kUsage, "", 0},
      {{"-h"}, true, CommandAction::kUsage, "", 0},
      {{"--version"}, true, CommandAction::kVersion, "", 0},
      // Without POSIX options, and for every other argument, a file name.
      {{"--help"}, false, CommandAction::kEdit, "--help", 0},
      {{"--version"}, false, CommandAction::kEdit, "--version", 0},
      {{"--HELP"}, true, CommandAction::kEdit, "--HELP", 0},
      {{"--version", "x"}, true, CommandAction::kUsage, "", 1},
  };
  for (const Case& c : cases) {
    const CommandLine command = readCommandLine(c.arguments, c.posixOptions);
    const std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(command.action, c.action) << what;
    EXPECT_EQ(command.projectFileName, c.projectFileName) << what;
    EXPECT_EQ(command.status, c.status) << what;
  }
  EXPECT_EQ(versionLine(), std::string("corvane ") + CORVANE_VERSION + "\n");
}

TEST_F(ProgramFlowTest, VersionLeavesTheConsoleAsItWas) {
  if (!kPosixOptions) GTEST_SKIP() << "no POSIX options on this platform";
  console_.writeText("mark");  // any screen would wipe it out
  EXPECT_EQ(run("x", {"--version"}), 0);
  EXPECT_EQ(console_.rowText(1, 1, 4), "mark");
  EXPECT_EQ(console_.keysLeft(), 1u);
  EXPECT_FALSE(fs_.contentOf("Project.gen"));
}

TEST_F(ProgramFlowTest, LoadQuestionNamesTheFileAndAnyKeyButNLoads) {
  fs_.addFile("my.gen", "target app\r\nsource hello.cpp\r\n");
  // "q" loads; Enter accepts the editor; Esc at the compiler prompt.
  EXPECT_EQ(run("q" + kEnter + kEsc, {"my.gen"}), 1);
  EXPECT_EQ(timesShown("Load existing project file \"my.gen\" ?"), 1);
  EXPECT_EQ(timesShown("A new default project will be generated if you answer No."), 1);
  EXPECT_NE(fs_.contentOf("my.gen")->find("\r\ntarget app.exe\r\n"), std::string::npos);
}

TEST_F(ProgramFlowTest, AnsweringNoBuildsTheDefaultProjectAndEscEndsWithZero) {
  fs_.addFile("Project.gen", "target app\r\n");
  EXPECT_EQ(run("N" + kEnter + kEsc), 1);
  EXPECT_NE(fs_.contentOf("Project.gen")->find("\r\ntarget hello.exe\r\n"), std::string::npos);

  MemoryConsole again;
  again.pushKeys(kEsc);
  fs_.addFile("Project.gen", "target app\r\n");
  EXPECT_EQ(exitStatus(runCorvane({}, again, fs_)), 0);
  EXPECT_EQ(fs_.contentOf("Project.gen"), "target app\r\n");
}

// Files named as the project file that must be neither loaded nor replaced,
// one that cannot be written, and the one kind of odd file that still loads.
// Every run loads (Enter), accepts (Enter) and presses Esc at the next
// question: a refused file ends the run at the start with a box, and no run
// but the last one's writes anything.
TEST_F(ProgramFlowTest, FilesThatAreNoProjectFilesAreNeitherLoadedNorReplaced) {
  struct Case {
    std::string name;
    std::function<void(FakeFileSystem&)> setUp;
    std::string why;   // the refusal's second line; empty: not refused
    bool saved = false;  // whether a project is saved under the name
  };
  const auto file = [](const std::string& name, const std::string& content) {
    return [name, content](FakeFileSystem& fs) { fs.addFile(name, content); };
  };
  const auto nothing = [](FakeFileSystem&) {};
  const Case cases[] = {
      {"hello.cpp", nothing, "It has the extension \".cpp\" of a source or build file."},
      {"MAIN.OBJ", file("MAIN.OBJ", "text\r\n"),
       "It has the extension \".OBJ\" of a source or build file."},
      {"new.h", nothing, "It has the extension \".h\" of a source or build file."},
      {"prog.gen", file("prog.gen", std::string("MZ\x90\0\x03", 5)),
       "It holds NUL bytes, which no project file does."},
      {"Project.gen", [](FakeFileSystem& fs) { fs.addUnreadableFile("Project.gen"); },
       "It cannot be read: Input/output error."},
      {"Project.gen", [](FakeFileSystem& fs) { fs.addDirectory("Project.gen"); },
       "It cannot be read: Is a directory."},
      // Loaded, but it cannot be written: the retry box, then Esc.
      {"Project.gen",
       [](FakeFileSystem& fs) {
         fs.addFile("Project.gen", "target app\r\n");
         fs.setReadOnly("Project.gen", true);
       },
       ""},
      {"notes.txt", file("notes.txt", "shopping list\r\nmilk\r\n"), "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ": " + c.why);
    MemoryConsole console;
    ScreenRecorder recorder(console);
    FakeFileSystem fs("/home/user/work");
    fs.addFile("hello.cpp", "int main()\n{\n}\n");
    c.setUp(fs);
    const std::optional<std::string> before = fs.contentOf(c.name);
    console.pushKeys(kEnter + kEnter + kEsc);
    EXPECT_EQ(exitStatus(runCorvane({c.name}, console, fs)), 1);
    EXPECT_FALSE(fs.contentOf("Makefile.b"));
    if (!c.why.empty()) {
      EXPECT_EQ(recorder.timesShown("Cannot load project file \"" + c.name + "\""), 1);
      EXPECT_EQ(recorder.timesShown(c.why), 1);
      EXPECT_EQ(recorder.timesShown("Nothing was written. Start Corvane with another one."), 1);
      EXPECT_EQ(console.keysLeft(), 2u);  // one key closed the box
    } else {
      EXPECT_EQ(recorder.timesShown("LOAD"), 1);
      EXPECT_EQ(recorder.timesShown("[ESC] to exit, any other key to try again"), c.saved ? 0 : 1);
    }
    if (c.saved) {
      EXPECT_NE(fs.contentOf(c.name)->find("\r\ntarget hello.exe\r\n"), std::string::npos);
    } else {
      EXPECT_EQ(fs.contentOf(c.name), before);
    }
  }
}

// Names that would replace a file not the project's own are refused when
// the project is accepted: the box says which file, and the main screen
// comes back with the names as typed. Here Esc then ends the run.
TEST_F(ProgramFlowTest, NamesThatWouldReplaceAnotherFileSendTheUserBack) {
  struct Case {
    std::string keys;     // typed on the main screen before Enter
    std::string first;    // the box's first two lines
    std::string second;
    std::string header;   // what the main screen shows after the box
  };
  const Case cases[] = {
      {"3\bhello.cpp\r", "Cannot write Makefile \"hello.cpp\"",
       "It would replace the source \"hello.cpp\".", "(3)Makefile: hello.cpp"},
      {"3\bProject.gen\r", "Cannot write Makefile \"Project.gen\"",
       "It would replace the project file \"Project.gen\".", "(3)Makefile: Project.gen"},
      {"1\bx.Obj\r", "Cannot save project file \"x.Obj\"",
       "It has the extension \".Obj\" of a source or build file.", "(1)Project: x.Obj"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    MemoryConsole console;
    ScreenRecorder recorder(console);
    FakeFileSystem fs("/home/user/work");
    fs.addFile("hello.cpp", "int main()\n{\n}\n");
    console.pushKeys(c.keys + kEnter + "x" + kEsc);
    EXPECT_EQ(exitStatus(runCorvane({}, console, fs)), 1);
    EXPECT_EQ(recorder.timesShown(c.first), 1);
    EXPECT_EQ(recorder.timesShown(c.second), 1);
    EXPECT_EQ(recorder.timesShown("Nothing was written. Choose another name."), 1);
    const ScreenShot& last = recorder.shots().back();
    EXPECT_TRUE(last.shows(c.header) && last.shows("Press (selection)")) << last.rowText(5);
    EXPECT_FALSE(console.ranDry());
    EXPECT_FALSE(fs.contentOf("Project.gen"));
    EXPECT_EQ(fs.contentOf("hello.cpp"), "int main()\n{\n}\n");
  }
}

TEST_F(ProgramFlowTest, OverwriteQuestionComesAfterTheProjectIsSaved) {
  fs_.addFile("Makefile.b", "old");
  EXPECT_EQ(run(kEnter + "n"), 0);
  EXPECT_EQ(timesShown(" already exists."), 1);
  EXPECT_EQ(timesShown("OVERWRITE"), 1);
  EXPECT_EQ(fs_.contentOf("Makefile.b"), "old");
  EXPECT_TRUE(fs_.contentOf("Project.gen"));
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(ProgramFlowTest, ReadOnlyMakefileRaisesNoQuestionAndTheRetryBoxComesBackUntilEsc) {
  fs_.addFile("Makefile.b", "old");
  fs_.setReadOnly("Makefile.b", true);
  EXPECT_EQ(run(kEnter + compilerAnswer() + "ab" + kEsc), 1);
  EXPECT_EQ(timesShown("OVERWRITE"), 0);
  EXPECT_EQ(timesShown("Cannot open Makefile \"Makefile.b\""), 3);
  EXPECT_EQ(timesShown("in current directory /home/user/work"), 3);
  EXPECT_EQ(timesShown("[ESC] to exit, any other key to try again"), 3);
  EXPECT_EQ(fs_.contentOf("Makefile.b"), "old");
  EXPECT_FALSE(console_.ranDry());
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(ProgramFlowTest, RetryWritesTheMakefileOnceItBecomesWritable) {
  fs_.addFile("Makefile.b", "old");
  fs_.setReadOnly("Makefile.b", true);
  console_.setKeyObserver([this](const MemoryConsole& console) {
    for (int row = 1; row <= kScreenRows; ++row)
      if (console.rowText(row).find("E R R O R") != std::string::npos)
        fs_.setReadOnly("Makefile.b", false);
  });
  EXPECT_EQ(run(kEnter + compilerAnswer() + "x"), 0);
  ASSERT_TRUE(fs_.contentOf("Makefile.b"));
  EXPECT_NE(fs_.contentOf("Makefile.b")->find("BCDIR = C:\\BCC55"), std::string::npos);
}

// The retry box keeps the session: once the file can be written, the
// project is saved as edited.
TEST_F(ProgramFlowTest, ProjectFileThatCannotBeSavedGetsTheRetryBoxAndKeepsTheEdits) {
  fs_.setSaveResult(SaveResult::kCannotOpen);
  int boxes = 0;
  console_.setKeyObserver([this, &boxes](const MemoryConsole& console) {
    for (int row = 1; row <= kScreenRows; ++row)
      if (console.rowText(row).find("Cannot open project file \"sub\\p.gen\"") !=
              std::string::npos &&
          ++boxes == 2)
        fs_.setSaveResult(SaveResult::kSaved);
  });
  // ANSI on, accept, two retries, Esc at the compiler prompt.
  EXPECT_EQ(run("a" + kEnter + "xy" + kEsc, {"sub\\p.gen"}), 1);
  EXPECT_EQ(outcome_.end, RunEnd::kCompilerEscaped);
  EXPECT_EQ(boxes, 2);
  ASSERT_TRUE(fs_.contentOf("sub\\p.gen"));
  EXPECT_NE(fs_.contentOf("sub\\p.gen")->find("option ANSI        ON "), std::string::npos);
  EXPECT_EQ(console_.keysLeft(), 0u);
  EXPECT_FALSE(console_.ranDry());
}

TEST_F(ProgramFlowTest, IncompleteWritesAreReportedAsFailures) {
  fs_.setSaveResult(SaveResult::kCannotWrite);
  EXPECT_EQ(run(kEnter + kEsc), 1);
  EXPECT_EQ(timesShown("Cannot write project file \"Project.gen\""), 1);
  EXPECT_EQ(timesShown("in current directory /home/user/work"), 1);
  EXPECT_EQ(timesShown("The file must be"), 0);
}

// A project file larger than any project is refused before the question:
// building a default project instead would replace it on saving.
TEST_F(ProgramFlowTest, OversizedProjectFileIsRefusedAndNothingWritten) {
  const std::string huge(MakeProject::kLargestFile + 1, '#');
  fs_.addFile("big.gen", huge);
  EXPECT_EQ(run("x", {"big.gen"}), 1);
  EXPECT_EQ(timesShown("Cannot load project file \"big.gen\""), 1);
  EXPECT_EQ(timesShown("It is larger than 16 MiB, too large for a project file."), 1);
  EXPECT_EQ(timesShown("LOAD"), 0);
  EXPECT_EQ(console_.keysLeft(), 0u);
  EXPECT_TRUE(screenIsBlank());
  EXPECT_EQ(fs_.contentOf("big.gen"), huge);
  EXPECT_FALSE(fs_.contentOf("Makefile.b"));
  // One byte less is still a project file.
  fs_.addFile("big.gen", huge.substr(1));
  EXPECT_EQ(run(kEsc, {"big.gen"}), 0);
  EXPECT_EQ(timesShown("LOAD"), 1);
}

// The screen is torn down once, by the run, however it ends: Esc on each
// editing screen and at the compiler prompt end with status 1 and a blank
// screen, white on black.
TEST_F(ProgramFlowTest, EscOnAnyScreenEndsWithOneAndLeavesTheScreenBlank) {
  const std::vector<std::vector<int>> sessions = {
      {kKeyEsc},                                                   // main screen
      {'k', kKeyRight, 'a', kKeyEsc},                              // sources screen
      {kKeyRight, kKeyRight, '3', 'x', kKeyEnter, kKeyEsc},        // advanced screen
      {kKeyEnter, kKeyEsc},                                        // compiler prompt
  };
  for (const std::vector<int>& keys : sessions) {
    MemoryConsole console;
    FakeFileSystem fs("/home/user/work");
    fs.addFile("hello.cpp", "int main()\n{\n}\n");
    for (int key : keys) console.pushKey(key);
    EXPECT_EQ(exitStatus(runCorvane({}, console, fs)), 1);
    EXPECT_FALSE(console.ranDry());
    for (int row = 1; row <= kScreenRows; ++row) {
      EXPECT_EQ(console.rowText(row), std::string(kScreenColumns, ' '));
      EXPECT_EQ(console.backgroundAt(40, row), 0);
      EXPECT_EQ(console.foregroundAt(1, row), 15);
    }
  }
}

TEST_F(ProgramFlowTest, OutcomeTellsHowTheRunEndedAndWhatItNamed) {
  EXPECT_EQ(run(kEnter + compilerAnswer()), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kMakefileWritten);
  EXPECT_EQ(outcome_.projectFile, "Project.gen");
  EXPECT_EQ(outcome_.makefile, "Makefile.b");
  EXPECT_EQ(outcome_.compilerDirectory, "C:\\BCC55");
  EXPECT_EQ(outcome_.saveFailure, SaveResult::kSaved);

  // Both files are there now: load, accept, overwrite, then Esc at a retry
  // prompt names the compiler path last looked for.
  EXPECT_EQ(run(kEnter + kEnter + "y" + "\b" + "C:\\Nowhere" + kEnter + kEsc), 1);
  EXPECT_EQ(outcome_.end, RunEnd::kCompilerEscaped);
  EXPECT_EQ(outcome_.compilerLastTried, "C:\\Nowhere\\Bin\\Bcc32.exe");
  EXPECT_EQ(outcome_.compilerDirectory, "");

  EXPECT_EQ(run(kEnter + kEnter + "n"), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kOverwriteDeclined);
  EXPECT_EQ(outcome_.makefile, "Makefile.b");

  EXPECT_EQ(run(kEsc), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kLoadEscaped);
  EXPECT_EQ(run(kEnter + kEsc), 1);
  EXPECT_EQ(outcome_.end, RunEnd::kEditEscaped);

  fs_.setSaveResult(SaveResult::kCannotWrite);
  EXPECT_EQ(run(kEnter + "1\bother.gen" + kEnter + kEnter + kEsc), 1);
  EXPECT_EQ(outcome_.end, RunEnd::kProjectNotSaved);
  EXPECT_EQ(outcome_.projectFile, "other.gen");  // as renamed on the main screen
  EXPECT_EQ(outcome_.saveFailure, SaveResult::kCannotWrite);
  EXPECT_EQ(outcome_.makefile, "");

  EXPECT_EQ(run(kEsc, {"/?"}), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kUsageShown);
  EXPECT_EQ(run(kEsc, {"a", "b"}), 1);
  EXPECT_EQ(outcome_.end, RunEnd::kTooManyArguments);
  EXPECT_FALSE(console_.ranDry());
}

}  // namespace
}  // namespace corvane

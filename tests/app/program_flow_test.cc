// One run of Corvane on the memory console and an in-memory file system: the
// questions and boxes it shows, the files it saves and its exit status.
#include "app/arguments.h"
#include "app/name_checks.h"
#include "app/program_flow.h"

#include <optional>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "support/memory_console.h"
#include "makefile/makefile.h"
#include "project/make_project.h"
#include "console/key_codes.h"
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

// Files that Corvane must neither load nor replace, names that would replace
// another file, and what still loads. After the case's keys every key is
// Esc. Every run ends with status 1 and writes no makefile; the named file
// is left as it was unless the case says what it holds afterwards.
TEST_F(ProgramFlowTest, FilesAndNamesThatAreNoProjectFilesAreLeftAsTheyWere) {
  struct Case {
    const char* name;  // the project file on the command line
    char kind;         // '-' nothing there, 'f' a file, 'u' unreadable, 'd' a directory,
                       // 'r' read-only, 'R' read-only until the retry box shows
    std::string content;
    std::string keys;
    std::vector<std::string> shown;  // each shown at exactly one key
    std::string last;                // shown when the last key was read
    std::string after = "";          // in the named file afterwards
  };
  const std::string build = " of a source or build file.";
  const std::string box = "Press any key";
  const Case cases[] = {
      {"hello.cpp", '-', "", "", {"It has the extension \".cpp\"" + build}, box},
      {"new.h", '-', "", "", {"Cannot load project file \"new.h\""}, box},
      {"prog.gen", 'f', std::string("MZ\0", 3), "",
       {"It holds NUL bytes, which no project file does."}, box},
      {"Project.gen", 'u', "", "", {"It cannot be read: Input/output error."}, box},
      {"Project.gen", 'd', "", "", {"It cannot be read: Is a directory."}, box},
      {"Project.gen", '-', "", "3\bhello.cpp\r\rx",
       {"Cannot write Makefile \"hello.cpp\"", "It has the extension \".cpp\"" + build},
       "(3)Makefile: hello.cpp"},
      {"Project.gen", '-', "", "3\butil.H\r\rx",
       {"Cannot write Makefile \"util.H\"", "It has the extension \".H\"" + build},
       "(3)Makefile: util.H"},
      {"Project.gen", '-', "", "3\bProject.gen\r\rx",
       {"It would replace the project file \"Project.gen\".",
        "Nothing was written. Choose another name."},
       "(3)Makefile: Project.gen"},
      {"Project.gen", '-', "", "1\bx.Obj\r\rx",
       {"Cannot save project file \"x.Obj\"", "It has the extension \".Obj\"" + build},
       "(1)Project: x.Obj"},
      {"Project.gen", 'r', "target app", "\r\r", {"Cannot open project file"}, "[ESC] to exit"},
      {"Project.gen", 'R', "target app", "\ra\rx", {"Cannot open project file"}, "Enter path",
       "option ANSI        ON "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.keys);
    MemoryConsole console;
    FakeFileSystem fs("/home/user/work");
    ScreenRecorder recorder(console, [&](const MemoryConsole&) {
      if (c.kind == 'R' && recorder.shots().back().shows("[ESC] to exit"))
        fs.setReadOnly(c.name, false);
    });
    fs.addFile("hello.cpp", "int main()\n{\n}\n");
    if (c.kind == 'f' || c.kind == 'r' || c.kind == 'R') fs.addFile(c.name, c.content);
    if (c.kind == 'r' || c.kind == 'R') fs.setReadOnly(c.name, true);
    if (c.kind == 'u') fs.addUnreadableFile(c.name);
    if (c.kind == 'd') fs.addDirectory(c.name);
    const std::optional<std::string> before = fs.contentOf(c.name);
    console.pushKeys(c.keys);
    EXPECT_EQ(exitStatus(runCorvane({c.name}, console, fs)), 1);
    for (const std::string& line : c.shown) EXPECT_EQ(recorder.timesShown(line), 1) << line;
    EXPECT_TRUE(recorder.shots().back().shows(c.last)) << c.last;
    EXPECT_EQ(fs.contentOf("hello.cpp"), "int main()\n{\n}\n");
    EXPECT_FALSE(fs.contentOf("Makefile.b"));
    if (c.after.empty()) EXPECT_EQ(fs.contentOf(c.name), before);
    else EXPECT_NE(fs.contentOf(c.name).value_or("").find(c.after), std::string::npos);
  }
}

// A project file that holds the very bytes the run would save is not
// written again, so a read-only one (as version control keeps files) does
// not stop a run that changed nothing in it; one that changed still does
// (see the table above).
TEST_F(ProgramFlowTest, UnchangedReadOnlyProjectFileDoesNotStopTheRun) {
  EXPECT_EQ(run(kEnter + compilerAnswer()), 0);
  const std::optional<std::string> saved = fs_.contentOf("Project.gen");
  fs_.setReadOnly("Project.gen", true);
  // Load, accept, overwrite the makefile; C:\BCC55 is offered again.
  EXPECT_EQ(run(kEnter + kEnter + "y" + kEnter), 0);
  EXPECT_EQ(timesShown("Cannot open project file"), 0);
  EXPECT_EQ(fs_.contentOf("Project.gen"), saved);
}

// An empty (or blank) target would build ".exe": refused on accepting, and
// the screens come back with everything as typed.
TEST_F(ProgramFlowTest, ATargetWithoutANameIsRefusedAndTheEditsStay) {
  EXPECT_EQ(run("c2\b  " + kEnter + kEnter + "x" + "2\bapp" + kEnter + kEnter + compilerAnswer()),
            0);
  EXPECT_EQ(timesShown("The target has no name."), 1);
  EXPECT_EQ(timesShown("Nothing was written. Give the target a name."), 1);
  const std::string project = fs_.contentOf("Project.gen").value_or("");
  EXPECT_NE(project.find("\r\ntarget app.exe\r\n"), std::string::npos);
  EXPECT_NE(project.find("\r\noption Optimise    ON "), std::string::npos);
}

// Once the project is saved, what Make cannot build as meant is found: the
// names it misreads, the directory's sources left out, and sources defining
// an entry point beside the one the target is named after, while the
// project lists them and the target keeps that name.
TEST_F(ProgramFlowTest, WhatMakeCannotBuildIsFoundOnceTheProjectIsSaved) {
  fs_.addFile("b#1.c", "int main(void)\n");
  fs_.addFile("zz.c", "");
  // The sources screen's (c) takes zz.c out of the project.
  console_.pushKey(kKeyRight);
  EXPECT_EQ(run("c" + kEnter + compilerAnswer()), 0);
  EXPECT_EQ(outcome_.misreadSources, (List{"b#1.c"}));
  EXPECT_EQ(outcome_.misreadTarget, "b#1.exe");
  EXPECT_EQ(outcome_.unlistedSources, (List{"zz.c"}));
  EXPECT_EQ(outcome_.entrySources, (List{"b#1.c", "hello.cpp"}));
  EXPECT_EQ(outcome_.targetNamedAfter, "b#1.c");

  // Renamed, the target is named after no source; without hello.cpp one
  // source defines an entry point.
  EXPECT_EQ(run("n2\bmy app" + kEnter + kEnter + "y" + compilerAnswer()), 0);
  EXPECT_EQ(outcome_.misreadTarget, "my app.exe");
  EXPECT_EQ(outcome_.entrySources, List{});
  console_.pushKeys("n");
  console_.pushKey(kKeyRight);
  EXPECT_EQ(run("b" + kEnter + "y" + compilerAnswer()), 0);
  EXPECT_EQ(outcome_.entrySources, List{});
  EXPECT_EQ(outcome_.unlistedSources, (List{"hello.cpp"}));
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

// The rows of the query box below its header, from its first column to its
// last, when the question with that text was asked.
std::vector<std::string> questionRows(const ScreenRecorder& recorder, const std::string& text) {
  for (const ScreenShot& shot : recorder.shots()) {
    if (!shot.shows(text)) continue;
    std::vector<std::string> rows;
    for (int row = 12; row <= 22; ++row) rows.push_back(shot.rowText(row, 9, 72));
    return rows;
  }
  return {};
}

// The body of a query box: each line at its row (0 is the row under the
// header) from the column given, counted in the box.
std::vector<std::string> questionBody(int column,
                                      const std::vector<std::pair<int, std::string>>& lines) {
  std::vector<std::string> rows(11, std::string(64, ' '));
  for (const auto& [row, text] : lines)
    rows[static_cast<std::size_t>(row)].replace(column - 1, text.size(), text);
  return rows;
}

// A file Corvane did not write is replaced only after a question whose
// default is No; a makefile Corvane wrote gets the question it always had.
TEST_F(ProgramFlowTest, FilesCorvaneDidNotWriteAreAskedAboutWithNoAsTheDefault) {
  fs_.addFile("notes.txt", "shopping list\r\n");
  fs_.addFile("Makefile.b", "all:\r\n");
  // Load notes.txt, accept, Enter keeps it; rename the project file,
  // accept, Enter keeps the makefile.
  EXPECT_EQ(run("\r\r\r1\bnew.gen\r\r\r", {"notes.txt"}), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kOverwriteDeclined);
  EXPECT_EQ(fs_.contentOf("notes.txt"), "shopping list\r\n");
  EXPECT_EQ(fs_.contentOf("Makefile.b"), "all:\r\n");
  EXPECT_TRUE(fs_.contentOf("new.gen"));
  EXPECT_EQ(questionRows(recorder_, "It is not a Corvane project file."),
            questionBody(16, {{1, "notes.txt already exists."},
                              {3, "It is not a Corvane project file."},
                              {5, "Replace it?  Y/N?..  (N)"}}));
  EXPECT_EQ(questionRows(recorder_, "Corvane did not write it."),
            questionBody(20, {{1, "Makefile.b already exists."},
                              {3, "Corvane did not write it."},
                              {5, "OVERWRITE  Y/N?..  (N)"}}));

  // Corvane's own makefile: Enter replaces it.
  std::ostringstream ours;
  Makefile(MakeProject(fs_), "C:\\BCC55").write(ours);
  fs_.addFile("Makefile.b", ours.str());
  EXPECT_EQ(run(kEnter + kEnter + kEnter), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kMakefileWritten);
  EXPECT_EQ(questionRows(recorder_, "OVERWRITE  Y/N?..  (Y)"),
            questionBody(19, {{3, "Makefile.b already exists."}, {5, "OVERWRITE  Y/N?..  (Y)"}}));
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

TEST_F(ProgramFlowTest, ProjectFileThatCannotBeSavedGetsTheRetryBoxUntilEsc) {
  fs_.setSaveResult(SaveResult::kCannotOpen);
  EXPECT_EQ(run(kEnter + "x" + kEsc, {"sub\\p.gen"}), 1);
  EXPECT_EQ(timesShown("Cannot open project file \"sub\\p.gen\""), 2);
  EXPECT_EQ(timesShown("The file must be in current directory /home/user/work"), 2);
  EXPECT_EQ(timesShown("Ensure file is writeable and not currently in use."), 2);
  EXPECT_EQ(timesShown("[ESC] to exit, any other key to try again "), 2);
  EXPECT_EQ(console_.keysLeft(), 0u);
  EXPECT_TRUE(screenIsBlank());
}

TEST_F(ProgramFlowTest, IncompleteWritesAreReportedAsFailures) {
  fs_.setSaveResult(SaveResult::kCannotWrite);
  EXPECT_EQ(run(kEnter + kEsc), 1);
  EXPECT_EQ(timesShown("Cannot write project file \"Project.gen\""), 1);
  EXPECT_EQ(timesShown("in current directory /home/user/work"), 1);
  EXPECT_EQ(timesShown("The file must be"), 0);
}

// A try that could not put the old bytes back is not forgotten by a later
// try that fails cleanly: the box and the outcome say that the file may
// hold neither, with the copy of its true old content. Once a later try
// saves it, that copy is a file left over; so are files a try left.
TEST_F(ProgramFlowTest, ARetryKeepsTheWorstThatHappened) {
  fs_.queueSaveOutcome({SaveResult::kDamaged, "corvane-first.old", {}});
  fs_.queueSaveOutcome({SaveResult::kCannotWrite, "", {"corvane-second.tmp"}});
  EXPECT_EQ(run(kEnter + "x" + kEsc), 1);
  EXPECT_EQ(timesShown("Cannot write project file \"Project.gen\""), 2);
  EXPECT_EQ(timesShown("It may now hold neither its old content nor the new;"), 2);
  EXPECT_EQ(timesShown("its old content is kept in \"corvane-first.old\"."), 2);
  EXPECT_EQ(outcome_.saveFailure, SaveResult::kDamaged);
  EXPECT_EQ(outcome_.oldContentCopy, "corvane-first.old");
  EXPECT_EQ(outcome_.leftOver, List{"corvane-second.tmp"});

  fs_.queueSaveOutcome({SaveResult::kDamaged, "corvane-first.old", {}});
  EXPECT_EQ(run(kEnter + "x" + compilerAnswer()), 0);
  EXPECT_EQ(outcome_.end, RunEnd::kMakefileWritten);
  EXPECT_EQ(outcome_.leftOver, List{"corvane-first.old"});
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

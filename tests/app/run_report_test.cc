#include "app/run_report.h"

#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace corvane {
namespace {

// The failed runs' reasons and the written makefile's summary are checked
// on the real program (tests/e2e); here what those runs do not reach.
TEST(RunReportTest, TerminalSummariesAndTheirNamesPrintedWithoutControlCharacters) {
  RunOutcome outcome;
  outcome.projectFile = "Project.gen";
  outcome.makefile = "evil\x1b]0;owned\x07.mak";
  outcome.end = RunEnd::kOverwriteDeclined;
  EXPECT_EQ(reportRun(outcome, {true, true}).output,
            "Saved \"Project.gen\"; \"evil?]0;owned?.mak\" was left as it was and may no longer "
            "match the project.\n");
  outcome.end = RunEnd::kLoadEscaped;
  EXPECT_EQ(reportRun(outcome, {true, true}).output, "Nothing was saved.\n");
  // A script is told nothing of a run that went well.
  const RunReport script = reportRun(outcome, {false, true});
  EXPECT_EQ(script.output + script.errors, "");
}

// No script reaches this end without writing a 16 MiB file first.
TEST(RunReportTest, ATooLargeProjectFileIsNamedWithTheLimit) {
  RunOutcome outcome;
  outcome.projectFile = "big.gen";
  outcome.end = RunEnd::kProjectRefused;
  outcome.refusal = "is larger than 16 MiB, too large for a project file";
  EXPECT_EQ(reportRun(outcome, {false, true}).errors,
            "corvane: the project file \"big.gen\" is larger than 16 MiB, too large for a project "
            "file; nothing was saved\n");
}

// Only a failing disk reaches this: a file whose old bytes could not be put
// back is never said to be left as it was, nor the run to have saved
// nothing; where its old content is, is said.
TEST(RunReportTest, AFileThatMayBeDamagedIsNotSaidToBeAsItWas) {
  RunOutcome outcome;
  outcome.projectFile = "Project.gen";
  outcome.saveFailure = SaveResult::kDamaged;
  outcome.end = RunEnd::kProjectNotSaved;
  const std::pair<std::string, std::string> copies[] = {
      {"corvane-ab12cd34.old", "its old content is kept in \"corvane-ab12cd34.old\""},
      {"", "the directory allowed no copy of its old content"}};
  for (const auto& [copy, where] : copies) {
    outcome.oldContentCopy = copy;
    EXPECT_EQ(reportRun(outcome, {false, true}).errors,
              "corvane: the project file \"Project.gen\" could not be written completely (a "
              "full disk or a file-size limit?) and its old content could not be put back, so it "
              "may hold neither; " + where + "; no makefile was written\n");
  }
}

// After the summary on a terminal, before the reason in a script; cut short.
// The files a save left are named too.
TEST(RunReportTest, MissingAndBlankNamedSourcesAndLeftFilesAreNoted) {
  RunOutcome outcome;
  outcome.end = RunEnd::kEditEscaped;
  outcome.missingSources = {"util.c", "old\x1b.c"};
  outcome.misreadSources = List(11, "a b.c");
  outcome.leftOver = {"corvane-ab12cd34.tmp", "sub/corvane-\x1b.old"};
  const std::string missing =
      "The project lists 2 sources that are not in this directory: util.c, old?.c.\n";
  const std::string blank = "The project lists 11 sources whose names hold a space, # or $, which "
                            "Borland Make cannot build as they are named: a b.c, a b.c, a b.c, a "
                            "b.c, a b.c, a b.c, a b.c, a b.c, a b.c, a b.c and 1 more.\n";
  const std::string left = "Corvane left 2 files of its own beside the files it saved, readable "
                           "by you alone, to be removed by hand: \"corvane-ab12cd34.tmp\", "
                           "\"sub/corvane-?.old\".\n";
  EXPECT_EQ(reportRun(outcome, {true, true}).output, missing + blank + left);
  EXPECT_EQ(reportRun(outcome, {false, true}).errors,
            "corvane: note: " + missing + "corvane: note: " + blank + "corvane: note: " + left +
                "corvane: ended with Esc on an editing screen; nothing was saved\n");
}

// The wording of each note; where the notes go, and how more than ten
// names are cut short, is checked above.
TEST(RunReportTest, EachNoteCountsAndNamesWhatMakeCannotBuild) {
  const struct {
    std::function<void(RunOutcome&)> found;
    std::string sentence;
  } cases[] = {
      {[](RunOutcome& o) { o.missingSources = {"util.c"}; },
       "The project lists 1 source that is not in this directory: util.c."},
      {[](RunOutcome& o) { o.misreadSources = {"a#b.c"}; },
       "The project lists 1 source whose name holds a space, # or $, which Borland Make "
       "cannot build as it is named: a#b.c."},
      {[](RunOutcome& o) { o.unlistedSources = {"new.c"}; },
       "This directory holds 1 source that the project does not list, which the makefile "
       "leaves out: new.c."},
      {[](RunOutcome& o) { o.misreadTarget = "my app.exe"; },
       "The target's name holds a space, # or $, which Borland Make cannot build as it is "
       "named: my app.exe."},
      {[](RunOutcome& o) {
         o.entrySources = {"b.c", "c.cpp"};
         o.targetNamedAfter = "a.c";
       },
       "2 sources define an entry point: b.c, c.cpp; the target is named after a.c."},
  };
  for (const auto& c : cases) {
    RunOutcome outcome;
    outcome.end = RunEnd::kOverwriteDeclined;
    c.found(outcome);
    EXPECT_EQ(reportRun(outcome, {false, true}).errors, "corvane: note: " + c.sentence + "\n");
  }
}

TEST(RunReportTest, BuildCommandQuotesForTheShellItIsTypedIn) {
  struct Case {
    const char* directory;
    const char* makefile;
    bool wine;
    const char* command;
  };
  const Case cases[] = {
      {"C:\\BCC55", "Makefile.b", false, "C:\\BCC55\\Bin\\make -f Makefile.b"},
      {"C:\\Program Files\\BCC55\\", "my make.b", false,
       "\"C:\\Program Files\\BCC55\\Bin\\make\" -f \"my make.b\""},
      {"C:\\BCC55", "Makefile.b", true, "wine 'C:\\BCC55\\Bin\\make.exe' -f Makefile.b"},
      {"/opt/bcc55", "it's.b", true, "wine /opt/bcc55/Bin/make.exe -f 'it'\\''s.b'"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(buildCommand(c.directory, c.makefile, c.wine), c.command) << c.command;
}

}  // namespace
}  // namespace corvane

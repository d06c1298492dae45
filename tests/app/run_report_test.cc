#include "app/run_report.h"

#include <string>

#include <gtest/gtest.h>

namespace corvane {
namespace {

RunOutcome outcomeOf(RunEnd end) {
  RunOutcome outcome;
  outcome.end = end;
  outcome.projectFile = "Project.gen";
  outcome.makefile = "Makefile.b";
  outcome.compilerDirectory = "C:\\Borland\\BCC55";
  return outcome;
}

const ReportSetting kTerminal{true, true};
const ReportSetting kScript{false, true};

TEST(RunReportTest, EveryFailedRunNamesItsReasonOnStandardErrorAlone) {
  struct Case {
    RunEnd end;
    SaveResult failure;
    const char* lastTried;
    const char* reason;
  };
  const Case cases[] = {
      {RunEnd::kTooManyArguments, SaveResult::kSaved, "",
       "too many arguments; usage: corvane [project_filename] [/?]"},
      {RunEnd::kProjectTooLarge, SaveResult::kSaved, "",
       "the project file \"Project.gen\" is larger than 16 MiB, too large to load; nothing was "
       "saved"},
      {RunEnd::kEditEscaped, SaveResult::kSaved, "",
       "ended with Esc on an editing screen; nothing was saved"},
      {RunEnd::kProjectNotSaved, SaveResult::kCannotOpen, "",
       "the project file \"Project.gen\" could not be opened for writing; nothing was saved"},
      {RunEnd::kCompilerEscaped, SaveResult::kSaved, "C:\\x\\Bin\\Bcc32.exe",
       "the compiler C:\\x\\Bin\\Bcc32.exe was not found (Esc at the compiler-directory "
       "prompt); \"Project.gen\" was saved, no makefile was written"},
      {RunEnd::kMakefileEscaped, SaveResult::kCannotWrite, "",
       "the makefile \"Makefile.b\" could not be written completely (a full disk or a "
       "file-size limit?) and was left as it was (Esc in the retry box); \"Project.gen\" was "
       "saved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    RunOutcome outcome = outcomeOf(c.end);
    outcome.saveFailure = c.failure;
    outcome.compilerLastTried = c.lastTried;
    ASSERT_EQ(exitStatus(outcome), 1);
    for (const ReportSetting& setting : {kTerminal, kScript}) {
      const RunReport report = reportRun(outcome, setting);
      EXPECT_EQ(report.errors, std::string("corvane: ") + c.reason + "\n");
      EXPECT_EQ(report.output, "");
    }
  }
}

TEST(RunReportTest, ATerminalIsToldWhatWasSavedAndAScriptNothing) {
  struct Case {
    RunEnd end;
    const char* summary;
  };
  const Case cases[] = {
      {RunEnd::kMakefileWritten,
       "Saved \"Project.gen\" and wrote \"Makefile.b\" for the Borland tools in "
       "C:\\Borland\\BCC55.\nTo build: wine 'C:\\Borland\\BCC55\\Bin\\make.exe' -f Makefile.b\n"},
      {RunEnd::kOverwriteDeclined,
       "Saved \"Project.gen\"; \"Makefile.b\" was left as it was and may no longer match the "
       "project.\n"},
      {RunEnd::kLoadEscaped, "Nothing was saved.\n"},
      {RunEnd::kUsageShown, ""},  // the terminal showed the usage screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.summary);
    const RunOutcome outcome = outcomeOf(c.end);
    const RunReport terminal = reportRun(outcome, kTerminal);
    EXPECT_EQ(terminal.output, c.summary);
    EXPECT_EQ(terminal.errors, "");
    if (c.end == RunEnd::kUsageShown) continue;
    const RunReport script = reportRun(outcome, kScript);
    EXPECT_EQ(script.output, "");
    EXPECT_EQ(script.errors, "");
  }
  // A script asked for the usage and sees no screen: the text comes out.
  const RunReport usage = reportRun(outcomeOf(RunEnd::kUsageShown), kScript);
  EXPECT_EQ(usage.output.rfind("USAGE:\n\nC:\\Borland\\Bcc55\\Bin\\Corvane [project_filename]", 0),
            0u);
  EXPECT_EQ(usage.output.find("Press any key"), std::string::npos);
}

TEST(RunReportTest, NamesArePrintedWithoutTheirControlCharacters) {
  RunOutcome outcome = outcomeOf(RunEnd::kOverwriteDeclined);
  outcome.makefile = "evil\x1b]0;owned\x07.mak";
  EXPECT_EQ(reportRun(outcome, kTerminal).output,
            "Saved \"Project.gen\"; \"evil?]0;owned?.mak\" was left as it was and may no longer "
            "match the project.\n");
  outcome.end = RunEnd::kProjectNotSaved;
  outcome.projectFile = "a\nb";
  EXPECT_EQ(reportRun(outcome, kScript).errors,
            "corvane: the project file \"a?b\" could not be opened for writing; nothing was "
            "saved\n");
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

// corvane --batch on an in-memory file system: which files it leaves with
// which bytes, its exit status and the lines it prints, and that it neither
// draws nor reads a key.
#include "app/batch_run.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/arguments.h"
#include "app/program_flow.h"
#include "app/run_report.h"
#include "makefile/makefile.h"
#include "project/make_project.h"
#include "support/fake_file_system.h"
#include "support/memory_console.h"

namespace corvane {
namespace {

const char kHello[] = "int main()\n{\n}\n";
const char kUtil[] = "int twice(int x) { return 2 * x; }\n";

// The bytes Corvane writes for a project of the directory's hello.cpp and
// util.c with this target, sources and makefile name, and the makefile it
// writes for it.
struct CorvaneFiles {
  std::string project;
  std::string makefile;
};
CorvaneFiles corvaneFiles(const std::string& target, const List& sources,
                          const std::string& makefileName = "Makefile.b",
                          const std::string& compilerDirectory = "C:\\BCC55") {
  FakeFileSystem fs;
  fs.addFile("hello.cpp", kHello);
  MakeProject project(fs);
  project.setTarget(target);
  project.setSources(sources);
  project.setMakefileName(makefileName);
  std::ostringstream projectText;
  project.write(projectText);
  std::ostringstream makefileText;
  Makefile(project, compilerDirectory).write(makefileText);
  return {projectText.str(), makefileText.str()};
}

// What a file holds after the run.
struct After {
  std::string name;
  enum { kAsBefore, kAbsent, kHolds } state;
  std::string text = "";  // for kHolds: text the file holds
};

struct BatchCase {
  const char* what;
  std::vector<std::string> arguments;  // after --batch
  std::vector<std::pair<std::string, std::string>> files;
  std::vector<std::string> readOnly;
  std::string programPath;
  int status;
  std::vector<After> after;
  std::string output;  // standard output
  std::string errors;  // standard error
};

const char kSummary[] =
    "Saved \"Project.gen\" and wrote \"Makefile.b\" for the Borland tools in C:\\BCC55.\n"
    "To build: wine 'C:\\BCC55\\Bin\\make.exe' -f Makefile.b\n";

// The note of a run whose project lists hello.cpp alone; --add-sources
// takes util.c in instead.
const char kUtilNote[] =
    "corvane: note: This directory holds 1 source that the project does not list, which the "
    "makefile leaves out: util.c.\n";

TEST(BatchRunTest, FilesStatusAndLinesOfEachKindOfRun) {
  const CorvaneFiles app = corvaneFiles("app", {"hello.cpp"});
  const CorvaneFiles old = corvaneFiles("old", {"hello.cpp"}, "Makefile.b", "C:\\Gone");
  const CorvaneFiles clashing = corvaneFiles("app", {"hello.cpp"}, "Project.gen");
  const std::string foreign = "all:\n\tgcc -o hello hello.cpp\n";
  const std::string compiler = "--compiler=C:\\BCC55";
  const BatchCase cases[] = {
      {"a fresh directory, the compiler beside the program", {}, {}, {}, "/opt/bcc/Bin/corvane", 0,
       {{"Project.gen", After::kHolds, "\r\ntarget hello.exe\r\n"},
        {"Project.gen", After::kHolds, "\r\nsource hello.cpp\r\nsource util.c\r\n"},
        {"Makefile.b", After::kHolds, "\r\nBCDIR = /opt/bcc\r\n"}},
       "Saved \"Project.gen\" and wrote \"Makefile.b\" for the Borland tools in /opt/bcc.\n"
       "To build: wine /opt/bcc/Bin/make.exe -f Makefile.b\n",
       ""},
      {"an existing project: the compiler the old makefile names", {},
       {{"Project.gen", app.project}, {"Makefile.b", corvaneFiles("app", {}).makefile}}, {}, "", 0,
       {{"Project.gen", After::kAsBefore}, {"Makefile.b", After::kHolds, app.makefile}}, kSummary,
       kUtilNote},
      {"a read-only project file that is up to date", {compiler}, {{"Project.gen", app.project}},
       {"Project.gen"}, "", 0,
       {{"Project.gen", After::kAsBefore}, {"Makefile.b", After::kHolds, app.makefile}}, kSummary,
       kUtilNote},
      {"a makefile Corvane did not write", {compiler}, {{"Makefile.b", foreign}}, {}, "", 1,
       {{"Project.gen", After::kHolds, "\r\ntarget hello.exe\r\n"},
        {"Makefile.b", After::kAsBefore}},
       "",
       "corvane: the makefile \"Makefile.b\" is not one Corvane wrote and was left as it was "
       "(--force replaces it); \"Project.gen\" was saved, no makefile was written\n"},
      {"--force replaces it", {compiler, "--force"}, {{"Makefile.b", foreign}}, {}, "", 0,
       {{"Makefile.b", After::kHolds, "\r\nBCDIR = C:\\BCC55\r\n"}}, kSummary, ""},
      {"no compiler anywhere it may look", {},
       {{"Project.gen", app.project}, {"Makefile.b", old.makefile}}, {}, "", 1,
       {{"Project.gen", After::kAsBefore}, {"Makefile.b", After::kAsBefore}}, "",
       std::string(kUtilNote) +
           "corvane: no compiler found: looked for /usr/local/bin/Bcc32.exe and "
           "C:\\Gone\\Bin\\Bcc32.exe; name its directory with --compiler=DIR; \"Project.gen\" was "
           "saved, no makefile was written\n"},
      {"--compiler naming a directory without the compiler", {"--compiler", "C:\\Nowhere"}, {}, {},
       "", 1, {{"Makefile.b", After::kAbsent}}, "",
       "corvane: no compiler found: looked for C:\\Nowhere\\Bin\\Bcc32.exe; \"Project.gen\" was "
       "saved, no makefile was written\n"},
      {"--add-sources", {compiler, "--add-sources"}, {{"Project.gen", app.project}}, {}, "", 0,
       {{"Project.gen", After::kHolds, "\r\nsource hello.cpp\r\nsource util.c\r\n"},
        {"Makefile.b", After::kHolds, "\\util.obj : $(Src)\\util.c\r\n"}},
       kSummary, ""},
      {"a file that holds no project line", {compiler, "notes.txt"},
       {{"notes.txt", "shopping list\r\n"}}, {}, "", 1,
       {{"notes.txt", After::kAsBefore}, {"Makefile.b", After::kAbsent}}, "",
       "corvane: the project file \"notes.txt\" holds no line of a Corvane project file; nothing "
       "was saved\n"},
      {"a makefile name that would replace the project file", {compiler},
       {{"Project.gen", clashing.project}}, {}, "", 1, {{"Project.gen", After::kAsBefore}}, "",
       "corvane: cannot write Makefile \"Project.gen\": it would replace the project file "
       "\"Project.gen\"; nothing was saved\n"},
      {"a read-only makefile Corvane wrote", {compiler},
       {{"Project.gen", app.project}, {"Makefile.b", old.makefile}}, {"Makefile.b"}, "", 1,
       {{"Makefile.b", After::kAsBefore}}, "",
       std::string(kUtilNote) +
           "corvane: the makefile \"Makefile.b\" could not be opened for writing; \"Project.gen\" "
           "was saved\n"},
      {"an option misspelt", {"--froce"}, {}, {}, "", 1, {{"Project.gen", After::kAbsent}}, "",
       "corvane: unknown option \"--froce\"; usage: corvane --batch [--compiler=DIR] "
       "[--add-sources] [--force] [project_file]\n"},
  };
  for (const BatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs("/home/user/work");
    fs.addFile("hello.cpp", kHello);
    fs.addFile("util.c", kUtil);
    fs.addFile("C:\\BCC55\\Bin\\Bcc32.exe", "");
    if (!c.programPath.empty()) {
      fs.setProgramPath(c.programPath);
      fs.addFile("/opt/bcc/Bin/Bcc32.exe", "");
    }
    for (const auto& [name, content] : c.files) fs.addFile(name, content);
    for (const std::string& name : c.readOnly) fs.setReadOnly(name, true);
    std::vector<std::optional<std::string>> before;
    for (const After& after : c.after) before.push_back(fs.contentOf(after.name));

    // Nothing is drawn and no key is read.
    MemoryConsole console;
    console.writeText("mark");
    console.pushKeys("\x1b");
    std::vector<std::string> arguments = {"--batch"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const RunOutcome outcome = runCorvane(arguments, console, fs);
    EXPECT_EQ(console.rowText(1, 1, 4), "mark");
    EXPECT_EQ(console.keysLeft(), 1u);

    EXPECT_EQ(exitStatus(outcome), c.status);
    for (std::size_t i = 0; i < c.after.size(); ++i) {
      const After& after = c.after[i];
      const std::optional<std::string> content = fs.contentOf(after.name);
      SCOPED_TRACE(after.name + " holds\n" + content.value_or("(nothing)"));
      switch (after.state) {
        case After::kAsBefore:
          EXPECT_EQ(content, before[i]);
          break;
        case After::kAbsent:
          EXPECT_FALSE(content);
          break;
        case After::kHolds:
          EXPECT_NE(content.value_or("").find(after.text), std::string::npos);
          break;
      }
    }
    const RunReport report = reportRun(outcome, {true, true});
    EXPECT_EQ(report.output, c.output);
    EXPECT_EQ(report.errors, c.errors);
  }
}

TEST(BatchCommandLineTest, OptionsInAnyOrderAndMistakesNamed) {
  const std::string kNoDirectory = "--compiler names no directory";
  struct Case {
    std::vector<std::string> arguments;
    CommandAction action;
    std::string projectFileName;
    std::string compiler;
    std::string switches;  // 'a' for --add-sources, 'f' for --force
    std::string mistake;
  };
  const Case cases[] = {
      {{"--batch"}, CommandAction::kBatch, "Project.gen", "", "", ""},
      {{"my.gen", "--batch"}, CommandAction::kBatch, "my.gen", "", "", ""},
      {{"--force", "--batch", "--compiler", "C:\\B", "--add-sources", "x.gen"},
       CommandAction::kBatch, "x.gen", "C:\\B", "af", ""},
      {{"--batch", "--compiler=/opt/bcc"}, CommandAction::kBatch, "Project.gen", "/opt/bcc", "",
       ""},
      // After "--" every argument is a name; a lone "-" is one anyway.
      {{"--batch", "--", "--force"}, CommandAction::kBatch, "--force", "", "", ""},
      {{"--batch", "-"}, CommandAction::kBatch, "-", "", "", ""},
      {{"--batch", "--help"}, CommandAction::kUsage, "", "", "", ""},
      {{"/?", "--batch"}, CommandAction::kUsage, "", "", "", ""},
      {{"--batch", "--compiler"}, CommandAction::kUsage, "", "", "", kNoDirectory},
      {{"--batch", "--compiler="}, CommandAction::kUsage, "", "", "", kNoDirectory},
      {{"--batch", "--froce"}, CommandAction::kUsage, "", "", "", "unknown option \"--froce\""},
      {{"--batch", "a.gen", "b.gen"}, CommandAction::kUsage, "a.gen", "", "",
       "more than one project file: \"a.gen\" and \"b.gen\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    for (bool posixOptions : {true, false}) {
      const CommandLine command = readCommandLine(c.arguments, posixOptions);
      EXPECT_TRUE(command.batch);
      EXPECT_EQ(command.action, c.action);
      EXPECT_EQ(command.projectFileName, c.projectFileName);
      EXPECT_EQ(command.settings.compiler, c.compiler);
      EXPECT_EQ(command.settings.addSources, c.switches.find('a') != std::string::npos);
      EXPECT_EQ(command.settings.force, c.switches.find('f') != std::string::npos);
      EXPECT_EQ(command.mistake, c.mistake);
      EXPECT_EQ(command.status, c.mistake.empty() ? 0 : 1);
    }
  }
  // Without --batch the options are what they always were: a project file
  // name, or one argument too many.
  EXPECT_EQ(readCommandLine({"--force"}, true).projectFileName, "--force");
  EXPECT_FALSE(readCommandLine({"--", "--batch"}, true).batch);
  EXPECT_EQ(readCommandLine({"--", "--batch"}, true).status, 1);
}

}  // namespace
}  // namespace corvane

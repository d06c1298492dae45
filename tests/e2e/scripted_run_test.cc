// Whole runs of the real corvane, driven by keys on standard input, checked by
// exit status and by exactly which files exist afterwards with which bytes.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "support/run_program.h"
#include "support/scratch_directory.h"
#include "makefile/makefile.h"
#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "project/make_project.h"
#include "support/documented_files.h"

namespace corvane::e2e {
namespace {

namespace fs = std::filesystem;

const char kEnter[] = "\r";
const char kEsc[] = "\x1b";
const char kBackspace[] = "\x7f";
const char kRight[] = "\x1b[C";

// The project file of a default project with the given target and sources.
std::string projectFile(const std::string& target, const std::vector<std::string>& sources) {
  std::vector<std::string> sourceLines;
  for (const std::string& source : sources) sourceLines.push_back("source " + source);
  return documented::crLfJoined(documented::projectFileRows(
      "target " + target + ".exe", sourceLines, documented::kDefaultOptionLines,
      documented::kEmptyKeyLines));
}

// The makefile of a default project with the sources hello.cpp and util.c.
std::string helloMakefile(const std::string& compilerDirectory) {
  return documented::crLfJoined(documented::workedConsoleMakefile(compilerDirectory));
}

// Why a test does not run against the Windows program under Wine.
const char kPosixOnly[] = "POSIX systems only (options, paths, links or limits)";

class ScriptedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = scratch_.root();
    work_ = scratch_.path();
    // A Wine prefix holding C:\BCC55\Bin\Bcc32.exe, so that the compiler
    // search finds the directory of the worked example: one of our own for
    // the Linux build, which looks drive letters up there as Wine does, or
    // the prefix that Wine itself runs the Windows program in.
    if (under_.launched()) {
      const char* prefix = std::getenv("WINEPREFIX");
      ASSERT_NE(prefix, nullptr) << "a launched program runs in the Wine prefix WINEPREFIX";
      wine_ = prefix;
    } else {
      wine_ = root_ / "wine";
      fs::create_directories(wine_ / "dosdevices");
      fs::create_directory_symlink(wine_ / "drive_c", wine_ / "dosdevices" / "c:");
    }
    fs::create_directories(wine_ / "drive_c" / "BCC55" / "Bin");
    writeFile(wine_ / "drive_c" / "BCC55" / "Bin" / "Bcc32.exe", "");
  }

  static void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }

  static std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::vector<std::string> entries() const { return scratch_.names(); }

  void writeHelloSources() {
    writeFile(work_ / "hello.cpp", "#include <stdio.h>\nint main(void)\n{\n  return 0;\n}\n");
    writeFile(work_ / "util.c", "int twice(int x) { return 2 * x; }\n");
  }

  bool launched() const { return under_.launched(); }

  RunResult run(const std::string& keys, const std::vector<std::string>& arguments = {},
                long fileSizeLimit = -1) {
    RunOptions options;
    options.launcher = under_.launcher;
    options.directory = work_.string();
    options.arguments = arguments;
    options.input = keys;
    options.environment = {{"WINEPREFIX", wine_.string()}};
    // Wine keeps its own state under HOME; the Linux build only looks for a
    // prefix there, and must not find the user's.
    if (!launched()) options.environment.emplace_back("HOME", root_.string());
    options.fileSizeLimit = fileSizeLimit;
    RunResult result = runProgram(under_.program, options);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.signal, 0);
    // The Windows C runtime ends printed lines with CR LF.
    for (std::string* text : {&result.output, &result.errors})
      text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    // A script is told only what it asked for (the usage text, what a
    // batch run wrote) and, when the run fails, why: one line on standard
    // error.
    const bool usage = arguments.size() == 1 &&
                       (arguments[0] == "/?" || arguments[0] == "--help" || arguments[0] == "-h");
    const bool batch = std::find(arguments.begin(), arguments.end(), "--batch") != arguments.end();
    if (!usage && !batch) {
      EXPECT_EQ(result.output, "");
    }
    // Notes about the saved project come before the one line of a reason.
    const std::size_t note = result.errors.rfind("corvane: note: ");
    const std::string reason =
        result.errors.substr(note == std::string::npos ? 0 : result.errors.find('\n', note) + 1);
    const bool oneLine =
        reason.rfind("corvane: ", 0) == 0 && reason.find('\n') == reason.size() - 1;
    EXPECT_EQ(reason.empty() ? 0 : oneLine ? 1 : -1, result.exitStatus) << result.errors;
    return result;
  }

  // Keys that clear the compiler prompt's field and type the directory.
  static std::string compilerAnswer(const std::string& directory) {
    return std::string(kBackspace) + directory + kEnter;
  }

  const ProgramUnderTest under_ = programUnderTest(CORVANE_EXECUTABLE);
  ScratchDirectory scratch_;
  fs::path root_;
  fs::path work_;
  fs::path wine_;
};

TEST_F(ScriptedRunTest, NormalRunWritesTheProjectFileAndTheMakefile) {
  writeHelloSources();
  const RunResult result = run(kEnter + compilerAnswer("C:\\BCC55"));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(entries(), (std::vector<std::string>{"Makefile.b", "Project.gen", "hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
}

// The batch run in a fresh directory, again with the project file up to
// date and read-only (it is not written again), and with a makefile that
// Corvane did not write (left alone, status 1, one reason line). Standard
// input holds keys that would end any run that read them.
TEST_F(ScriptedRunTest, BatchRunWritesBothFilesWithoutReadingInput) {
  writeHelloSources();
  const RunResult fresh = run(kEsc, {"--batch", "--compiler=C:\\BCC55"});
  EXPECT_EQ(fresh.exitStatus, 0);
  const std::string build = launched() ? "C:\\BCC55\\Bin\\make -f Makefile.b"
                                       : "wine 'C:\\BCC55\\Bin\\make.exe' -f Makefile.b";
  const std::string summary =
      "Saved \"Project.gen\" and wrote \"Makefile.b\" for the Borland tools in C:\\BCC55.\n"
      "To build: " + build + "\n";
  EXPECT_EQ(fresh.output, summary);
  EXPECT_EQ(fresh.errors, "");
  EXPECT_EQ(entries(),
            (std::vector<std::string>{"Makefile.b", "Project.gen", "hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));

  // The compiler directory now comes from the makefile being replaced.
  const fs::path project = work_ / "Project.gen";
  const fs::file_time_type yesterday = fs::last_write_time(project) - std::chrono::hours(24);
  fs::last_write_time(project, yesterday);
  fs::permissions(project, fs::perms::owner_read);
  const RunResult again = run(kEsc, {"--batch"});
  EXPECT_EQ(again.exitStatus, 0);
  EXPECT_EQ(again.output, summary);
  EXPECT_EQ(fs::last_write_time(project), yesterday);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));

  writeFile(work_ / "Makefile.b", "all:\n\tmake -C src\n");
  const RunResult foreign = run(kEsc, {"--batch"});
  EXPECT_EQ(foreign.exitStatus, 1);
  EXPECT_EQ(foreign.output, "");
  EXPECT_EQ(foreign.errors,
            "corvane: the makefile \"Makefile.b\" is not one Corvane wrote and was left as it was "
            "(--force replaces it); \"Project.gen\" was saved, no makefile was written\n");
  EXPECT_EQ(readFile(work_ / "Makefile.b"), "all:\n\tmake -C src\n");
}

TEST_F(ScriptedRunTest, ProjectFileOfASingleSourceMatchesTheDocumentedExample) {
  writeFile(work_ / "hello.cpp", "int main()\n{\n}\n");
  const RunResult result = run(kEnter + std::string(kEsc));  // Esc at the compiler prompt
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"Project.gen", "hello.cpp"}));
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp"}));
}

// The start of the usage text that a script gets for /? on standard
// output, where no screen is drawn: the screen's lines without their indent.
// On POSIX systems it names the program as it is called there and lists
// its options; the Windows program keeps its text.
const char kPosixUsageStart[] =
    "USAGE:\n\ncorvane [project_filename] [/?]\n"
    "corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]\n"
    "corvane --help | -h | --version\n";
const char kWindowsUsageStart[] =
    "USAGE:\n\nC:\\Borland\\Bcc55\\Bin\\Corvane [project_filename] [/?]\n"
    "Corvane --batch [--compiler=DIR] [--add-sources] [--force] [project_file]\n---";

TEST_F(ScriptedRunTest, UsageScreenEndsTheRunWithoutWritingAnything) {
  writeHelloSources();
  const RunResult usage = run(kEnter, {"/?"});
  EXPECT_EQ(usage.exitStatus, 0);
  const char* start = launched() ? kWindowsUsageStart : kPosixUsageStart;
  EXPECT_EQ(usage.output.rfind(start, 0), 0u) << usage.output;
  EXPECT_EQ(usage.output.find("Press any key"), std::string::npos);
  const RunResult twoArguments = run(kEnter, {"a.gen", "b.gen"});
  EXPECT_EQ(twoArguments.exitStatus, 1);
  EXPECT_EQ(twoArguments.errors,
            "corvane: too many arguments; usage: corvane [project_filename] [/?], or corvane "
            "--batch [--compiler=DIR] [--add-sources] [--force] [project_file]\n");
  EXPECT_EQ(run(kEnter, {"/?", "more"}).exitStatus, 1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, HelpOptionsShowTheUsageScreenAndVersionIsPrinted) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  // The usage screen takes one key; taken for a project file name, the
  // option would bring the main screen, the key would be typed there and
  // the run would end with status 1 when the input ran out.
  for (const char* option : {"--help", "-h"}) {
    const RunResult help = run("x", {option});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.output, run("x", {"/?"}).output);
  }
  RunOptions options;
  options.directory = work_.string();
  options.arguments = {"--version"};
  const RunResult version = runProgram(CORVANE_EXECUTABLE, options);
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.output, std::string("corvane ") + CORVANE_VERSION + "\n");
  // A version that cannot be printed is a failure.
  options.arguments = {"-c", "\"$0\" --version >/dev/full", CORVANE_EXECUTABLE};
  EXPECT_EQ(runProgram("/bin/sh", options).exitStatus, 1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, EscAtTheLoadQuestionEndsWithStatusZeroAndTouchesNothing) {
  writeHelloSources();
  writeFile(work_ / "Project.gen", "target old\r\n");
  EXPECT_EQ(run(kEsc).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Project.gen"), "target old\r\n");
  EXPECT_FALSE(fs::exists(work_ / "Makefile.b"));
}

TEST_F(ScriptedRunTest, EscInTheEditorSavesNothing) {
  writeHelloSources();
  const RunResult result = run(kEsc);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.errors, "corvane: ended with Esc on an editing screen; nothing was saved\n");
  EXPECT_EQ(entries(), (std::vector<std::string>{"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, ScriptThatEndsEarlyEndsTheRunWithoutSaving) {
  writeHelloSources();
  EXPECT_EQ(run("").exitStatus, 1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"hello.cpp", "util.c"}));
}

// A project file that cannot be read is not replaced by a default project.
TEST_F(ScriptedRunTest, ProjectFileThatCannotBeOpenedEndsWithStatusOne) {
  writeHelloSources();
  fs::create_directory(work_ / "Project.gen");  // a directory of that name
  const RunResult result = run(std::string(kEnter) + kEnter);
  EXPECT_EQ(result.exitStatus, 1);
  // The reason is the system's own, other under Wine.
  EXPECT_EQ(result.errors.rfind("corvane: the project file \"Project.gen\" cannot be read: ", 0),
            0u);
  EXPECT_TRUE(fs::is_directory(work_ / "Project.gen"));
  EXPECT_FALSE(fs::exists(work_ / "Makefile.b"));
  // Nor is a source named as the project file loaded or replaced.
  const std::string util = *readFile(work_ / "util.c");
  EXPECT_EQ(run(std::string(kEnter) + kEnter, {"util.c"}).errors,
            "corvane: the project file \"util.c\" has the extension \".c\" of a source or build "
            "file; nothing was saved\n");
  EXPECT_EQ(readFile(work_ / "util.c"), util);
}

// A read-only project file is loaded; saving it brings the retry box, where
// Esc ends the run.
TEST_F(ScriptedRunTest, ReadOnlyProjectFileGetsTheRetryBoxUntilEsc) {
  writeHelloSources();
  writeFile(work_ / "Project.gen", "target old\r\n");
  fs::permissions(work_ / "Project.gen", fs::perms::owner_read);
  EXPECT_EQ(run(std::string(kEnter) + kEnter + "x" + kEsc).errors,
            "corvane: the project file \"Project.gen\" could not be opened for writing; "
            "nothing was saved\n");
  EXPECT_EQ(readFile(work_ / "Project.gen"), "target old\r\n");
}

// A makefile name that would replace a source brings the main screen back,
// where another name is typed; a project file linked to a source is neither
// loaded nor saved over it.
TEST_F(ScriptedRunTest, NamesThatWouldReplaceASourceAreRefusedUntilChanged) {
  writeHelloSources();
  const std::string util = *readFile(work_ / "util.c");
  EXPECT_EQ(run(std::string("3") + kBackspace + "util.c\r\rx3" + kBackspace + "Make.mak\r\r" +
                compilerAnswer("C:\\BCC55"))
                .exitStatus,
            0);
  EXPECT_EQ(entries(),
            (std::vector<std::string>{"Make.mak", "Project.gen", "hello.cpp", "util.c"}));
  if (launched()) return;
  fs::remove(work_ / "Project.gen");
  fs::create_symlink("util.c", work_ / "Project.gen");
  EXPECT_EQ(run("x").errors,
            "corvane: the project file \"Project.gen\" leads to \"util.c\", which has the "
            "extension \".c\" of a source or build file; nothing was saved\n");
  EXPECT_EQ(readFile(work_ / "util.c"), util);
}

// `corvane Makefile` names the project file, not the makefile: the user's
// makefile loads, and Enter at the question before it would be replaced
// keeps it; Y replaces it (here with a new default project).
TEST_F(ScriptedRunTest, AFileThatHoldsNoProjectIsReplacedOnlyWhenTheUserSaysSo) {
  writeHelloSources();
  const std::string gnuMakefile = "objects = hello.o util.o\nhello: $(objects)\n\tcc -o $@ $^\n";
  writeFile(work_ / "Makefile", gnuMakefile);
  const RunResult kept = run(std::string(kEnter) + kEnter + kEnter + kEsc, {"Makefile"});
  EXPECT_EQ(kept.errors, "corvane: ended with Esc on an editing screen; nothing was saved\n");
  EXPECT_EQ(readFile(work_ / "Makefile"), gnuMakefile);
  EXPECT_EQ(run(std::string("n") + kEnter + "y" + compilerAnswer("C:\\BCC55"), {"Makefile"})
                .exitStatus,
            0);
  EXPECT_EQ(readFile(work_ / "Makefile"), projectFile("hello", {"hello.cpp", "util.c"}));
}

// Enter at the overwrite question keeps a makefile Corvane did not write
// and replaces one it did.
TEST_F(ScriptedRunTest, EnterKeepsAForeignMakefileButSavesTheProject) {
  writeHelloSources();
  writeFile(work_ / "Makefile.b", "old makefile\r\n");
  EXPECT_EQ(run(kEnter + std::string(kEnter)).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), "old makefile\r\n");
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, EnterReplacesAMakefileCorvaneWrote) {
  writeHelloSources();
  writeFile(work_ / "Makefile.b", helloMakefile("C:\\Old"));
  EXPECT_EQ(run(std::string(kEnter) + kEnter + compilerAnswer("C:\\BCC55")).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
}

TEST_F(ScriptedRunTest, EscAtTheCompilerPromptKeepsTheSavedProject) {
  writeHelloSources();
  const RunResult first = run(std::string(kEnter) + kEsc);
  EXPECT_EQ(first.exitStatus, 1);
  EXPECT_EQ(first.errors,
            "corvane: ended with Esc at the compiler-directory prompt; \"Project.gen\" was "
            "saved, no makefile was written\n");
  EXPECT_EQ(entries(), (std::vector<std::string>{"Project.gen", "hello.cpp", "util.c"}));
  // Esc after a directory without the compiler names the path looked for.
  const RunResult retry =
      run(std::string(kEnter) + kEnter + compilerAnswer("C:\\nowhere") + kEsc);
  EXPECT_EQ(retry.exitStatus, 1);
  EXPECT_EQ(retry.errors,
            "corvane: the compiler C:\\nowhere\\Bin\\Bcc32.exe was not found (Esc at the "
            "compiler-directory prompt); \"Project.gen\" was saved, no makefile was written\n");
}

// Typed as a POSIX path, the directory goes into the makefile as Wine names
// it: no drive of the prefix holds it, so through Z:.
TEST_F(ScriptedRunTest, CompilerFoundThroughAPosixPathWithDifferentCase) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  fs::create_directories(root_ / "bcc" / "BIN");
  writeFile(root_ / "bcc" / "BIN" / "BCC32.EXE", "");
  const std::string directory = (root_ / "bcc").string();
  std::string wineName = "Z:" + fs::canonical(directory).string();
  std::replace(wineName.begin(), wineName.end(), '/', '\\');
  EXPECT_EQ(run(kEnter + compilerAnswer(directory)).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile(wineName));
}

TEST_F(ScriptedRunTest, ProgramLinkedIntoTheCompilersBinWritesItsWineName) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  const fs::path bin = wine_ / "drive_c" / "BCC55" / "Bin";
  fs::create_symlink(CORVANE_EXECUTABLE, bin / "corvane");
  RunOptions options;
  options.directory = work_.string();
  options.input = kEnter;  // accept the project; no question follows
  options.environment = {{"WINEPREFIX", wine_.string()}, {"HOME", root_.string()}};
  // Started by its full path, then by its bare name found on PATH.
  const RunResult byPath = runProgram((bin / "corvane").string(), options);
  EXPECT_EQ(byPath.exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
  fs::remove(work_ / "Makefile.b");
  fs::remove(work_ / "Project.gen");
  options.argv0 = "corvane";
  options.environment.emplace_back("PATH", bin.string() + ":/usr/bin:/bin");
  const RunResult byName = runProgram((bin / "corvane").string(), options);
  EXPECT_EQ(byName.exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
  // Started from a Bin that is a link to the real one: the base is above the real one.
  fs::remove(work_ / "Makefile.b");
  fs::remove(work_ / "Project.gen");
  fs::create_directory_symlink(bin, root_ / "Bin");
  options.argv0.clear();
  EXPECT_EQ(runProgram((root_ / "Bin" / "corvane").string(), options).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
}

TEST_F(ScriptedRunTest, MakefileThatIsADirectoryBringsTheRetryBoxBackUntilEsc) {
  writeHelloSources();
  fs::create_directory(work_ / "Makefile.b");
  // The overwrite question (on POSIX systems a writable directory counts as
  // a file that is there; Windows asks nothing for a directory), the
  // compiler, then three retries before Esc.
  const std::string overwrite = launched() ? "" : "y";
  const RunResult result =
      run(std::string(kEnter) + overwrite + compilerAnswer("C:\\BCC55") + "xyz" + kEsc);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.errors,
            "corvane: the makefile \"Makefile.b\" could not be opened for writing (Esc in the "
            "retry box); \"Project.gen\" was saved\n");
  EXPECT_TRUE(fs::is_directory(work_ / "Makefile.b"));
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, RenamedProjectFileIsSavedUnderTheNewNameAndTheOldOneKept) {
  writeHelloSources();
  writeFile(work_ / "Project.gen", "target old\r\n");
  // Decline loading, rename the project file on the main screen, accept, and
  // leave at the compiler prompt.
  const std::string keys = std::string("n") + "1" + kBackspace + "Other.gen" + kEnter + kEnter + kEsc;
  EXPECT_EQ(run(keys).exitStatus, 1);
  EXPECT_EQ(readFile(work_ / "Project.gen"), "target old\r\n");
  EXPECT_EQ(readFile(work_ / "Other.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, Utf8CharactersInAScriptAreKeysTheScreensIgnore) {
  writeHelloSources();
  // "ó" on the main screen, then in the project name's edit box Left and
  // "í", whose bytes were once Right and Delete.
  const std::string keys = "\xc3\xb3" "1\x1b[D\xc3\xad" "X" + std::string(kEnter) + kEnter +
                           compilerAnswer("C:\\BCC55");
  EXPECT_EQ(run(keys).exitStatus, 0);
  EXPECT_EQ(entries(),
            (std::vector<std::string>{"Makefile.b", "Project.geXn", "hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Project.geXn"), projectFile("hello", {"hello.cpp", "util.c"}));
}

// A target that ends in .exe itself is kept by Enter in its box: only an
// extension typed is cut.
TEST_F(ScriptedRunTest, EnterAtOnceInTheTargetsBoxKeepsTheTarget) {
  writeHelloSources();
  writeFile(work_ / "Project.gen", "target x.exe.exe\r\nsource hello.cpp\r\n");
  EXPECT_EQ(run(std::string(kEnter) + "2" + kEnter + kEnter + compilerAnswer("C:\\BCC55"))
                .exitStatus,
            0);
  EXPECT_NE(readFile(work_ / "Project.gen")->find("\r\ntarget x.exe.exe\r\n"), std::string::npos);
}

TEST_F(ScriptedRunTest, LoadedProjectIsUsedForTheMakefile) {
  writeHelloSources();
  writeFile(work_ / "Project.gen", "target app.exe\r\nsource util.c\r\n");
  // Enter at the load question loads the file.
  EXPECT_EQ(run(std::string(kEnter) + kEnter + compilerAnswer("C:\\BCC55")).exitStatus, 0);
  const std::optional<std::string> makefile = readFile(work_ / "Makefile.b");
  ASSERT_TRUE(makefile);
  EXPECT_NE(makefile->find("TARGET = $(Bin)\\app.exe\r\n"), std::string::npos);
  EXPECT_EQ(makefile->find("hello.cpp"), std::string::npos);
}

TEST_F(ScriptedRunTest, FailedProjectWriteKeepsTheOldFileAndReportsFailure) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  const std::string old = projectFile("hello", {"hello.cpp", "util.c"});
  writeFile(work_ / "Project.gen", old);
  // Load it, switch ANSI on so that the new content differs, and accept; the
  // file-size limit makes the write fail part way.
  const RunResult result = run(std::string(kEnter) + "a" + kEnter + kEnter, {}, 512);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.errors,
            "corvane: the project file \"Project.gen\" could not be written completely (a full "
            "disk or a file-size limit?) and was left as it was; nothing was saved\n");
  EXPECT_EQ(readFile(work_ / "Project.gen"), old);
  EXPECT_EQ(entries(), (std::vector<std::string>{"Project.gen", "hello.cpp", "util.c"}));
}

TEST_F(ScriptedRunTest, FailedMakefileWriteGoesToTheRetryBoxAndKeepsTheOldMakefile) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  // Every source adds a few bytes to the project file and many to the
  // makefile: with forty of them the project file fits under the limit and
  // the makefile does not.
  for (int i = 0; i < 40; ++i) writeFile(work_ / ("part" + std::to_string(i) + ".c"), "");
  writeFile(work_ / "Makefile.b", "old makefile\r\n");
  const RunResult result =
      run(std::string(kEnter) + "y" + compilerAnswer("C:\\BCC55") + "x" + kEsc, {}, 5000);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(readFile(work_ / "Makefile.b"), "old makefile\r\n");
  EXPECT_TRUE(fs::exists(work_ / "Project.gen"));
  EXPECT_EQ(entries().size(), 44u);  // no temporary file left behind
}

// A link planted by another user in a shared sticky directory such as /tmp
// is not followed, as the kernel's fs.protected_symlinks would have it: the
// makefile named by it cannot be opened, and the file it points to (root's
// own, in a private directory) stays as it was. A link to a directory on
// the way of the project file's path counts as much: that file cannot be
// read, and nothing is written through it.
TEST_F(ScriptedRunTest, ALinkPlantedInASharedDirectoryIsNotFollowed) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  if (::geteuid() != 0) GTEST_SKIP() << "only the administrator can plant another user's link";
  writeHelloSources();
  fs::create_directory(root_ / "private");
  fs::permissions(root_ / "private", fs::perms::owner_all);
  writeFile(root_ / "private" / "secret", "secret\n");
  fs::permissions(work_, fs::perms::all | fs::perms::sticky_bit);
  fs::create_symlink(root_ / "private" / "secret", work_ / "Makefile.b");
  constexpr uid_t kNobody = 65534;
  ASSERT_EQ(::lchown((work_ / "Makefile.b").c_str(), kNobody, kNobody), 0);
  const RunResult result = run(kEnter + std::string("y") + compilerAnswer("C:\\BCC55") + kEsc);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.errors,
            "corvane: the makefile \"Makefile.b\" could not be opened for writing (Esc in the retry "
            "box); \"Project.gen\" was saved\n");
  EXPECT_EQ(readFile(root_ / "private" / "secret"), "secret\n");
  EXPECT_EQ(entries(), (std::vector<std::string>{"Makefile.b", "Project.gen", "hello.cpp", "util.c"}));

  fs::create_directory_symlink(root_ / "private", work_ / "evil");
  ASSERT_EQ(::lchown((work_ / "evil").c_str(), kNobody, kNobody), 0);
  const RunResult throughDirectory = run(kEnter + std::string("y") + kEsc, {"evil/Project.gen"});
  EXPECT_EQ(throughDirectory.exitStatus, 1);
  EXPECT_EQ(throughDirectory.errors,
            "corvane: the project file \"evil/Project.gen\" cannot be read: Permission denied; "
            "nothing was saved\n");
  EXPECT_EQ(fs::directory_iterator(root_ / "private")->path().filename(), "secret");
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "private"), fs::directory_iterator()), 1);
}

// In a directory where files can be made but none removed or renamed away
// (chattr +a), both files are rewritten in place and what could not be
// removed is named: the temporary files, emptied, and the copies of the old
// content, readable by the user alone.
TEST_F(ScriptedRunTest, FilesASaveCannotRemoveAreNamed) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  writeFile(work_ / "Project.gen", projectFile("hello", {"hello.cpp", "util.c"}));
  writeFile(work_ / "Makefile.b", "old makefile\r\n");
  const auto setAppendOnly = [this](bool on) {
    const int fd = ::open(work_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
  };
  if (!setAppendOnly(true)) GTEST_SKIP() << "needs the administrator and a file system with +a";
  // (a) switches ANSI on, so that the project file changes and is saved too.
  const RunResult result =
      run(kEnter + std::string("a") + kEnter + "y" + compilerAnswer("C:\\BCC55"));
  ASSERT_TRUE(setAppendOnly(false));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_NE(readFile(work_ / "Project.gen").value_or("").find("\r\noption ANSI        ON "),
            std::string::npos);
  EXPECT_NE(readFile(work_ / "Makefile.b").value_or("").find(" -A -wnak "), std::string::npos);
  const std::string start = "corvane: note: Corvane left 4 files of its own beside the files it "
                            "saved, readable by you alone, to be removed by hand: ";
  ASSERT_EQ(result.errors.rfind(start, 0), 0u) << result.errors;
  std::vector<std::string> named;
  for (std::size_t at = result.errors.find('"'); at != std::string::npos;
       at = result.errors.find('"', result.errors.find('"', at + 1) + 1)) {
    named.push_back(result.errors.substr(at + 1, result.errors.find('"', at + 1) - at - 1));
  }
  std::vector<std::string> left;
  for (const std::string& name : entries())
    if (name.rfind("corvane-", 0) == 0) left.push_back(name);
  std::sort(named.begin(), named.end());
  EXPECT_EQ(named, left);
  for (const std::string& name : left) {
    EXPECT_EQ(fs::status(work_ / name).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none) << name;
    if (name.find(".tmp") != std::string::npos) {
      EXPECT_EQ(readFile(work_ / name), "") << name;
    }
  }
}

// A project from elsewhere, without a target line: util.c, one of the
// directory's other sources, is (h); zz.c stays out of the project. A
// source in a subdirectory that is there is not missing. The target is
// named after hello.cpp, the first of two entry points.
TEST_F(ScriptedRunTest, OtherSourcesAreOfferedAndWhatMakeCannotBuildIsNoted) {
  writeHelloSources();
  writeFile(work_ / "my file.c", "");
  writeFile(work_ / "cost$1.c", "int main(void)\n{\n}\n");
  writeFile(work_ / "zz.c", "");
  fs::create_directory(work_ / "src");
  writeFile(work_ / "src" / "lib.c", "");
  writeFile(work_ / "Project.gen", "source hello.cpp\r\nsource old.c\r\nsource old.c\r\nsource  \r\n"
                                   "source my file.c\r\nsource src/lib.c\r\nsource cost$1.c\r\n");
  const RunResult result =
      run(std::string(kEnter) + kRight + "h" + kEnter + compilerAnswer("C:\\BCC55"));
  EXPECT_NE(readFile(work_ / "Project.gen")->find("lib.c\r\nsource util.c\r\n"), std::string::npos);
  EXPECT_EQ(result.errors,
            "corvane: note: The project lists 1 source that is not in this directory: old.c.\n"
            "corvane: note: The project lists 2 sources whose names hold a space, # or $, which "
            "Borland Make cannot build as they are named: cost$1.c, my file.c.\n"
            "corvane: note: 2 sources define an entry point: hello.cpp, cost$1.c; the target is "
            "named after hello.cpp.\n"
            "corvane: note: This directory holds 1 source that the project does not list, "
            "which the makefile leaves out: zz.c.\n");
}

// A new project of a DLL is a DLL; the replaced makefile's BCDIR is offered.
TEST_F(ScriptedRunTest, ADllDirectoryMakesADllAndTheOldCompilerDirectoryIsOffered) {
  writeFile(work_ / "mylib.c", "BOOL WINAPI DllEntryPoint(HINSTANCE h, DWORD r, LPVOID p)\n");
  writeFile(work_ / "Makefile.b", "BCDIR = C:\\BCC55\r\n");
  EXPECT_EQ(run(std::string(kEnter) + "y" + kEnter).exitStatus, 0);
  EXPECT_NE(readFile(work_ / "Project.gen")->find("target mylib.dll\r\n"), std::string::npos);
  EXPECT_NE(readFile(work_ / "Makefile.b")->find("BCDIR = C:\\BCC55\r\n"), std::string::npos);
}

// Names that a line-based file cannot hold are no sources: nothing of them
// reaches the project file or the makefile.
TEST_F(ScriptedRunTest, NamesWithControlCharactersAreNoSources) {
  if (launched()) GTEST_SKIP() << kPosixOnly;
  writeHelloSources();
  writeFile(work_ / "x\n!include evil.mak\nz.cpp", "int main()\n");
  writeFile(work_ / "cr\r.c", "");
  writeFile(work_ / "del\x7f.c", "");
  EXPECT_EQ(run(kEnter + compilerAnswer("C:\\BCC55")).exitStatus, 0);
  EXPECT_EQ(readFile(work_ / "Project.gen"), projectFile("hello", {"hello.cpp", "util.c"}));
  EXPECT_EQ(readFile(work_ / "Makefile.b"), helloMakefile("C:\\BCC55"));
}

// Whole sessions in the directory of a small Windows program (a WinMain
// source, a main with CR LF line ends, a C file): the keys, and what they
// are meant to do to the project. The files written must be exactly those
// the project and makefile writers give for the project edited that way,
// on Linux and, under Wine, by the Windows program alike.
struct Session {
  const char* name;
  std::string keys;
  // Project.gen before the run, when there is one.
  std::optional<std::string> projectFile;
  // The project the keys are meant to make of the loaded or default one.
  std::function<void(MakeProject&)> edit;
  bool loads = false;
  std::string savedAs = "Project.gen";
  std::string compilerDirectory = "C:\\BCC55";
  bool oldMakefile = false;
};

TEST_F(ScriptedRunTest, SessionsWriteTheProjectAndTheMakefileTheirKeysMeanToWrite) {
  const std::string compiler = std::string(kBackspace) + "C:\\BCC55" + kEnter;
  const std::string oldProject = "target app.exe\r\nsource util.c\r\noption DLL ON\r\n";
  const auto none = [](MakeProject&) {};
  const std::vector<Session> sessions = {
      {"default project written", kEnter + compiler, std::nullopt, none},
      {"options, names and flags edited",
       std::string("kcf2") + kBackspace + "tool" + kEnter + "4-DWIN32 -w-par" + kEnter + "5-s" +
           kEnter + kEnter + compiler,
       std::nullopt,
       [](MakeProject& project) {
         OptionList options = project.optionList();
         for (const char* name : {"DLL", "Optimise", "WarnHigh"}) options.toggle(name);
         project.setOptionList(options);
         project.setTarget("tool");
         project.setCompilerFlags("-DWIN32 -w-par");
         project.setLinkerFlags("-s");
       }},
      {"sources moved and advanced fields filled",
       std::string(kRight) + "b" + kRight + "1C:\\inc;..\\inc" + kEnter + "3mylib.lib" + kEnter +
           "5app.res" + kEnter + kEnter + compiler,
       std::nullopt,
       [](MakeProject& project) {
         project.setSources({"gui.cpp", "util.c"});
         project.setIncludePaths("C:\\inc;..\\inc");
         project.setLibraries("mylib.lib");
         project.setResources("app.res");
       }},
      {"project file renamed", std::string("1") + kBackspace + "Other.gen" + kEnter + kEnter + compiler,
       std::nullopt, none, false, "Other.gen"},
      {"compiler directory asked again, then the default",
       kEnter + std::string(kBackspace) + "C:\\nowhere" + kEnter + kBackspace + kEnter,
       std::nullopt, none, false, "Project.gen", "C:\\Borland\\Bcc55"},
      {"target typed with the extension, which is cut",
       std::string("2") + kBackspace + "app.exe" + kEnter + kEnter + compiler, std::nullopt,
       [](MakeProject& project) { project.setTarget("app"); }},
      {"existing project loaded", std::string(kEnter) + kEnter + compiler, oldProject, none, true},
      {"existing project declined", "n" + (kEnter + compiler), oldProject, none},
      {"overwrite accepted", std::string(kEnter) + "y" + compiler, std::nullopt, none, false,
       "Project.gen", "C:\\BCC55", true},
  };
  for (const Session& session : sessions) {
    SCOPED_TRACE(session.name);
    for (const auto& entry : fs::directory_iterator(work_)) fs::remove_all(entry.path());
    writeFile(work_ / "gui.cpp",
              "#include <windows.h>\nint PASCAL WinMain(HINSTANCE h, HINSTANCE p, LPSTR c, int s)\n");
    writeFile(work_ / "hello.cpp", "int main()\r\n{\r\n  return 0;\r\n}\r\n");
    writeFile(work_ / "util.c", "void helper(void) {}\n");
    if (session.oldMakefile) writeFile(work_ / "Makefile.b", "old makefile\r\n");

    // The project the keys should end with, worked out before the run.
    const std::unique_ptr<FileSystem> disk = makeNativeFileSystem();
    std::istringstream loaded(session.projectFile.value_or(""));
    MakeProject expected = session.loads ? MakeProject(loaded, *disk) : MakeProject(*disk);
    session.edit(expected);
    std::ostringstream projectText;
    expected.write(projectText);
    std::ostringstream makefileText;
    Makefile(expected, session.compilerDirectory).write(makefileText);

    if (session.projectFile) writeFile(work_ / "Project.gen", *session.projectFile);
    EXPECT_EQ(run(session.keys).exitStatus, 0);
    std::vector<std::string> files = {"Makefile.b", session.savedAs, "gui.cpp", "hello.cpp",
                                      "util.c"};
    if (session.projectFile && session.savedAs != "Project.gen") files.push_back("Project.gen");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(entries(), files);
    EXPECT_EQ(readFile(work_ / session.savedAs), projectText.str());
    EXPECT_EQ(readFile(work_ / "Makefile.b"), makefileText.str());
  }
}

}  // namespace
}  // namespace corvane::e2e

#include "app/compiler_directory.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "support/memory_console.h"
#include "support/screen_recorder.h"
#include "text/text_utils.h"
#include "ui/read_key.h"

namespace corvane {
namespace {

const char kFirstPrompt[] = "Corvane should preferably run in the compiler directory.";
const std::string kDefaultCompiler = "C:\\Borland\\Bcc55\\Bin\\Bcc32.exe";

class CompilerDirectoryTest : public ::testing::Test {
 protected:
  CompilerDirectoryTest() : screen(console) { screen.showTitle(); }

  // A file system that holds only the given files.
  std::optional<std::string> locate(const std::set<std::string>& paths,
                                    const std::string& program,
                                    const std::string& previous = std::string()) {
    FakeFileSystem fs("C:\\Work");
    for (const std::string& path : paths) fs.addFile(path, "");
    search = locateCompilerDirectory(screen, fs, program, previous);
    return search.directory;
  }
  // The first message line of every question box, as shown when its first
  // key was read (the offered text before the cursor is white on green only
  // until then): a question of three lines puts it on screen row 13,
  // centred in the box.
  std::vector<std::string> prompts() const {
    std::vector<std::string> lines;
    for (const ScreenShot& shot : recorder.shots()) {
      if (shot.backgroundAt(shot.cursorColumn - 1, shot.cursorRow) != kGreen) continue;
      lines.push_back(trim(shot.rowText(13, 10, 72)));
    }
    return lines;
  }
  // Empties the offered text, then types an answer and Enter.
  void answer(const std::string& text) {
    console.pushKey(kKeyBackspace);
    console.pushKeys(text + "\r");
  }
  static std::string retryPrompt(const std::string& candidate) {
    return "compiler: " + candidate;
  }

  MemoryConsole console;
  ScreenRecorder recorder{console};
  CorvaneScreen screen;
  CompilerSearch search;  // the last one
};

TEST_F(CompilerDirectoryTest, ProgramInsideBinIsAnsweredWithoutAQuestion) {
  EXPECT_EQ(locate({kDefaultCompiler}, "C:\\Borland\\Bcc55\\Bin\\Corvane.exe"),
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(locate({"d:\\tools\\bcc\\bin\\Bcc32.exe"}, "d:\\tools\\bcc\\bin\\corvane.exe"),
            "d:\\tools\\bcc");
  // On POSIX systems the program's own path uses "/".
  EXPECT_EQ(locate({"/opt/bcc55/BIN/Bcc32.exe"}, "/opt/bcc55/BIN/corvane"), "/opt/bcc55");
  // Only the program's own directory is the Bin directory: a "\Bin" further
  // up the path is no place to cut.
  EXPECT_EQ(locate({"C:\\Binaries\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Binaries\\Bcc\\Bin\\c.exe"),
            "C:\\Binaries\\Bcc");
  EXPECT_EQ(locate({"/home/binky/bcc/bin/Bcc32.exe"}, "/home/binky/bcc/bin/corvane"),
            "/home/binky/bcc");
  // A Bin directory at the top of a drive or of the disk.
  EXPECT_EQ(locate({"C:\\Bin\\Bcc32.exe"}, "C:\\Bin\\corvane.exe"), "C:");
  EXPECT_EQ(locate({"/Bin/Bcc32.exe"}, "/Bin/corvane"), "/");
  EXPECT_EQ(console.keysRead(), 0);
  EXPECT_TRUE(prompts().empty());
}

TEST_F(CompilerDirectoryTest, CompilerBesideAProgramOutsideBinLeadsToTheQuestion) {
  console.pushKeys("\r");
  EXPECT_EQ(locate({kDefaultCompiler, "/home/me/tools/Bcc32.exe"}, "/home/me/tools/corvane"),
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(prompts(), (std::vector<std::string>{kFirstPrompt}));
  // Nor does a directory whose name only starts with Bin.
  console.pushKeys("\r");
  EXPECT_EQ(locate({kDefaultCompiler, "/opt/Binaries/Bcc32.exe"}, "/opt/Binaries/corvane"),
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(prompts().size(), 2u);
}

TEST_F(CompilerDirectoryTest, FirstAnswerIsTrimmedAndLosesAFinalBackslash) {
  answer("  D:\\Bcc\\ \t");
  EXPECT_EQ(locate({"D:\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Work\\corvane.exe"), "D:\\Bcc");
  EXPECT_EQ(prompts().size(), 1u);
  EXPECT_FALSE(console.ranDry());
}

TEST_F(CompilerDirectoryTest, EmptyFirstAnswerTestsTheDefault) {
  answer("");
  EXPECT_EQ(locate({kDefaultCompiler}, "C:\\Work\\corvane.exe"), "C:\\Borland\\Bcc55");
  EXPECT_EQ(prompts().size(), 1u);

  // Without the compiler there, the retry question names the default.
  answer("   ");
  console.pushKeys("\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_EQ(prompts().back(), retryPrompt(kDefaultCompiler));
}

TEST_F(CompilerDirectoryTest, RetryAnswerIsTakenAsTypedWithItsFinalBackslash) {
  answer("D:\\Nothing");
  answer("  D:\\Bcc");  // not trimmed here: not found
  answer("D:\\Bcc\\");
  EXPECT_EQ(locate({"D:\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Work\\corvane.exe"), "D:\\Bcc\\");
  EXPECT_EQ(prompts(),
            (std::vector<std::string>{kFirstPrompt, retryPrompt("D:\\Nothing\\Bin\\Bcc32.exe"),
                                      retryPrompt("  D:\\Bcc\\Bin\\Bcc32.exe")}));
  EXPECT_FALSE(console.ranDry());
}

TEST_F(CompilerDirectoryTest, EnterAtARetryPromptRetriesTheDefault) {
  answer("D:\\Nothing");
  console.pushKeys("\r");  // the default, as offered: still not there
  answer("");              // cleared: the default, untested
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), "C:\\Borland\\Bcc55");
  EXPECT_EQ(prompts(),
            (std::vector<std::string>{kFirstPrompt, retryPrompt("D:\\Nothing\\Bin\\Bcc32.exe"),
                                      retryPrompt(kDefaultCompiler)}));
  EXPECT_FALSE(console.ranDry());
  EXPECT_FALSE(screen.destroyed());
}

// The answer's own Bin holds the compiler, or the answer is that Bin (a
// common slip); a path with a drive letter is kept as given otherwise.
TEST(CompilerDirectoryFromAnswerTest, TheCompilerIsFoundInTheAnswerOrAboveItsBin) {
  FakeFileSystem fs("C:\\Work");
  fs.addFile("D:\\Bcc\\Bin\\Bcc32.exe", "");
  fs.addFile("D:\\Tools\\Bcc32.exe", "");
  fs.addFile("E:\\Bin\\Bcc32.exe", "");
  const struct {
    const char* answer;
    std::optional<std::string> directory;
  } cases[] = {
      {"D:\\Bcc", "D:\\Bcc"},
      {"D:\\Bcc\\", "D:\\Bcc\\"},
      {"D:\\Bcc\\Bin", "D:\\Bcc"},
      {"D:\\Bcc\\Bin\\", "D:\\Bcc"},
      {"E:\\Bin", "E:"},
      // A directory holding the compiler but not named Bin has nothing above
      // it that the makefile could use.
      {"D:\\Tools", std::nullopt},
      {"D:\\Nothing\\Bin", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(compilerDirectoryFromAnswer(fs, c.answer), c.directory) << c.answer;
}

// An old makefile's directory is offered while it holds the compiler.
TEST_F(CompilerDirectoryTest, APreviousDirectoryHoldingTheCompilerIsOffered) {
  console.pushKeys("\r\r");
  EXPECT_EQ(locate({"D:\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Work\\c.exe", "D:\\Bcc"), "D:\\Bcc");
  EXPECT_EQ(locate({kDefaultCompiler}, "C:\\Work\\c.exe", "D:\\Bcc"), "C:\\Borland\\Bcc55");
}

// Esc gives up the search; the screen stays for its owner to tear down
// (the run's tests see it blank).
TEST_F(CompilerDirectoryTest, EscAtTheFirstPromptGivesUpBeforeAnythingIsTried) {
  console.pushKeys("\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_EQ(search.lastTried, "");
  EXPECT_FALSE(screen.destroyed());
}

TEST_F(CompilerDirectoryTest, EscAtARetryPromptNamesTheCompilerLastTried) {
  answer("D:\\Nothing");
  console.pushKeys("x\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_EQ(prompts().size(), 2u);
  EXPECT_EQ(search.lastTried, "D:\\Nothing\\Bin\\Bcc32.exe");
  EXPECT_FALSE(screen.destroyed());
}

}  // namespace
}  // namespace corvane

#include "app/compiler_directory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/memory_console.h"
#include "ui/keys.h"

namespace corvane {
namespace {

// A file system that knows a fixed set of paths. Like Windows, it takes a
// doubled backslash as a single one.
class FakeFileSystem : public FileSystem {
 public:
  explicit FakeFileSystem(std::set<std::string> paths) : paths_(std::move(paths)) {}

  std::string currentDirectory() const override { return "C:\\Work"; }
  std::vector<std::string> listMatching(const std::string&) const override { return {}; }
  bool exists(const std::string& path) const override {
    std::string single;
    for (char c : path)
      if (!(c == '\\' && !single.empty() && single.back() == '\\')) single += c;
    return paths_.count(single) > 0;
  }
  bool isWritable(const std::string& path) const override { return exists(path); }
  std::optional<std::string> readFile(const std::string&, std::size_t) const override {
    return {};
  }
  SaveResult saveFile(const std::string&, const std::string&) override {
    return SaveResult::kCannotOpen;
  }
  std::string programPath() const override { return ""; }
  PathParts splitPath(const std::string& path) const override {
    PathParts parts;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
      parts.drive = rest.substr(0, 2);
      rest = rest.substr(2);
    }
    const auto slash = rest.find_last_of("\\/");
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.directory = rest.substr(0, nameStart);
    const std::string file = rest.substr(nameStart);
    const auto dot = file.find_last_of('.');
    parts.name = file.substr(0, dot);
    if (dot != std::string::npos) parts.extension = file.substr(dot);
    return parts;
  }

 private:
  std::set<std::string> paths_;
};

// Notes the first message line of every question box, as shown when its
// first key is read.
class PromptConsole : public MemoryConsole {
 public:
  int getKey() override {
    if (lineEditing() && !wasEditing_) {
      wasEditing_ = true;
      // A question of three lines puts its first line on screen row 13,
      // centred in the box.
      std::string line = rowText(13, 10, 72);
      line.erase(0, line.find_first_not_of(' '));
      while (!line.empty() && line.back() == ' ') line.pop_back();
      prompts.push_back(line);
    }
    return MemoryConsole::getKey();
  }
  void setLineEditing(bool active) override {
    MemoryConsole::setLineEditing(active);
    if (!active) wasEditing_ = false;
  }

  std::vector<std::string> prompts;

 private:
  bool wasEditing_ = false;
};

const char kFirstPrompt[] = "Corvane should preferably run in the compiler directory.";
const std::string kDefaultCompiler = "C:\\Borland\\Bcc55\\Bin\\Bcc32.exe";

class CompilerDirectoryTest : public ::testing::Test {
 protected:
  CompilerDirectoryTest() : screen(console) { screen.showTitle(); }

  std::optional<std::string> locate(const std::set<std::string>& paths,
                                    const std::string& program) {
    FakeFileSystem fs(paths);
    return locateCompilerDirectory(screen, fs, program);
  }
  // Empties the offered text, then types an answer and Enter.
  void answer(const std::string& text) {
    console.pushKey(kKeyBackspace);
    console.pushKeys(text + "\r");
  }
  static std::string retryPrompt(const std::string& candidate) {
    return "compiler: " + candidate;
  }

  PromptConsole console;
  CorvaneScreen screen;
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
  EXPECT_TRUE(console.prompts.empty());
}

TEST_F(CompilerDirectoryTest, CompilerBesideAProgramOutsideBinLeadsToTheQuestion) {
  console.pushKeys("\r");
  EXPECT_EQ(locate({kDefaultCompiler, "/home/me/tools/Bcc32.exe"}, "/home/me/tools/corvane"),
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(console.prompts, (std::vector<std::string>{kFirstPrompt}));
  // Nor does a directory whose name only starts with Bin.
  console.pushKeys("\r");
  EXPECT_EQ(locate({kDefaultCompiler, "/opt/Binaries/Bcc32.exe"}, "/opt/Binaries/corvane"),
            "C:\\Borland\\Bcc55");
  EXPECT_EQ(console.prompts.size(), 2u);
}

TEST_F(CompilerDirectoryTest, FirstAnswerIsTrimmedAndLosesAFinalBackslash) {
  answer("  D:\\Bcc\\ \t");
  EXPECT_EQ(locate({"D:\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Work\\corvane.exe"), "D:\\Bcc");
  EXPECT_EQ(console.prompts.size(), 1u);
  EXPECT_FALSE(console.ranDry());
}

TEST_F(CompilerDirectoryTest, EmptyFirstAnswerTestsTheDefault) {
  answer("");
  EXPECT_EQ(locate({kDefaultCompiler}, "C:\\Work\\corvane.exe"), "C:\\Borland\\Bcc55");
  EXPECT_EQ(console.prompts.size(), 1u);

  // Without the compiler there, the retry question names the default.
  answer("   ");
  console.pushKeys("\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_EQ(console.prompts.back(), retryPrompt(kDefaultCompiler));
}

TEST_F(CompilerDirectoryTest, RetryAnswerIsTakenAsTypedWithItsFinalBackslash) {
  answer("D:\\Nothing");
  answer("  D:\\Bcc");  // not trimmed here: not found
  answer("D:\\Bcc\\");
  EXPECT_EQ(locate({"D:\\Bcc\\Bin\\Bcc32.exe"}, "C:\\Work\\corvane.exe"), "D:\\Bcc\\");
  EXPECT_EQ(console.prompts,
            (std::vector<std::string>{kFirstPrompt, retryPrompt("D:\\Nothing\\Bin\\Bcc32.exe"),
                                      retryPrompt("  D:\\Bcc\\Bin\\Bcc32.exe")}));
  EXPECT_FALSE(console.ranDry());
}

TEST_F(CompilerDirectoryTest, EnterAtARetryPromptRetriesTheDefault) {
  answer("D:\\Nothing");
  console.pushKeys("\r");  // the default, as offered: still not there
  answer("");              // cleared: the default, untested
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), "C:\\Borland\\Bcc55");
  EXPECT_EQ(console.prompts,
            (std::vector<std::string>{kFirstPrompt, retryPrompt("D:\\Nothing\\Bin\\Bcc32.exe"),
                                      retryPrompt(kDefaultCompiler)}));
  EXPECT_FALSE(console.ranDry());
  EXPECT_FALSE(screen.destroyed());
}

TEST_F(CompilerDirectoryTest, EscAtTheFirstPromptDestroysTheScreen) {
  console.pushKeys("\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_TRUE(screen.destroyed());
  EXPECT_EQ(console.rowText(13), std::string(kScreenColumns, ' '));
  EXPECT_EQ(console.cellAt(1, 1).attribute, makeAttribute(kWhite, kBlack));
}

TEST_F(CompilerDirectoryTest, EscAtARetryPromptDestroysTheScreen) {
  answer("D:\\Nothing");
  console.pushKeys("x\x1b");
  EXPECT_EQ(locate({}, "C:\\Work\\corvane.exe"), std::nullopt);
  EXPECT_EQ(console.prompts.size(), 2u);
  EXPECT_TRUE(screen.destroyed());
  EXPECT_EQ(console.cellAt(40, 20).attribute, makeAttribute(kWhite, kBlack));
}

}  // namespace
}  // namespace corvane

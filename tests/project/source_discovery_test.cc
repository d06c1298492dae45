#include "project/source_discovery.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_file_system.h"
#include "support/fake_file_system.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

// Lines and whether they define a console entry point (main) and a Windows
// one (WinMain or DllEntryPoint).
TEST(EntryDefinition, LinesOfBothFlavours) {
  const struct {
    const char* line;
    bool console;
    bool windows;
  } kCases[] = {
      {"int main()", true, false},
      {"void main(void)", true, false},
      {"  int main (int argc, char *argv[])", true, false},
      {"main()", true, false},
      {"int\tmain\v\r(\t", true, false},
      {"static int main()", false, false},
      {"int domain()", false, false},
      {"int main;", false, false},
      {"int mainx()", false, false},
      {"// main", false, false},
      {"int main", false, false},
      // Only the first occurrence counts.
      {"int domain(); int main()", false, false},
      {"int WINAPI WinMain(HINSTANCE h, ...)", false, true},
      {"int PASCAL WinMain (...)", false, true},
      {"BOOL WINAPI DllEntryPoint(HINSTANCE h, DWORD r, LPVOID p)", false, true},
      {"WinMain(h)", false, true},
      {"int WinMain(...)", false, false},
      {"int WINAPI myWinMain(...)", false, false},
      {"int WINAPI main()", true, false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(isEntryDefinition(c.line, EntryFlavour::kConsole), c.console) << c.line;
    EXPECT_EQ(isEntryDefinition(c.line, EntryFlavour::kWindows), c.windows) << c.line;
  }
}

class SourceDiscovery : public ::testing::Test {
 protected:
  ScratchDirectory scratch{"work"};
  std::unique_ptr<FileSystem> native = makeNativeFileSystem();
  const FileSystem& fs = *native;
};

TEST_F(SourceDiscovery, ScanSortsCppAndCTogether) {
  scratch.write("b.c", "");
  scratch.write("A.cpp", "");
  scratch.write("c.cpp", "");
  scratch.write("notes.txt", "");
  scratch.write("x.h", "");
  EXPECT_EQ((List{"A.cpp", "b.c", "c.cpp"}), scanSources(fs));
  List list{"keep"};
  EXPECT_EQ(1, collectFiles(fs, list, "c"));
  EXPECT_EQ((List{"keep", "b.c"}), list);
  EXPECT_EQ(0, collectFiles(fs, list, "pas"));
}

// Names are found without regard to case in a listing in any order; a name
// the listing lacks is there when a file of that name is, in a
// subdirectory too.
TEST(SourceDirectoryNames, ListedNamesIgnoreCaseAndOtherNamesAreThereWhenTheirFileIs) {
  FakeFileSystem fs;
  fs.addFile("src/util.c", "");
  fs.addFile("util.h", "");
  const SourceDirectory directory(List{"b.C", "Z.cpp", "A.cpp", "a b.c"}, fs);
  for (const char* held : {"a.CPP", "B.c", "z.cpp", "A B.C", "src/util.c", "util.h"})
    EXPECT_TRUE(directory.holds(held)) << held;
  for (const char* absent : {"y.c", "a.c", "ab.c", "", " ", "src/gone.c", "src/b.C"})
    EXPECT_FALSE(directory.holds(absent)) << absent;
  EXPECT_EQ(directory.missingFrom(List{"y.c", "A.CPP", " ", "y.c", "src/util.c", "src/q.c", "q.c"}),
            (List{"y.c", "src/q.c", "q.c"}));
}

TEST_F(SourceDiscovery, EmptyDirectoryProposesItsOwnName) {
  List sources = scanSources(fs);
  EXPECT_EQ(List{"work.cpp"}, sources);
  EXPECT_EQ("work", defaultTargetName(fs, sources));
}

TEST(SourceDiscoveryNames, DirectoryNameKeepsItsExtensionAsTarget) {
  ScratchDirectory scratch("proj.v2");
  const std::unique_ptr<FileSystem> native = makeNativeFileSystem();
  const FileSystem& fs = *native;
  List sources = scanSources(fs);
  EXPECT_EQ(List{"proj.cpp"}, sources);
  EXPECT_EQ("proj.v2", defaultTargetName(fs, sources));
}

TEST_F(SourceDiscovery, TargetNamedAfterFirstEntrySource) {
  scratch.write("a.cpp", "int helper()\r\n{\r\n}\r\n");
  scratch.write("b.cpp", "#include <windows.h>\r\nint PASCAL\r\nWinMain(HINSTANCE h)\r\n");
  scratch.write("my.prog.c", "int main()\n");
  List sources = scanSources(fs);
  EXPECT_EQ("b", defaultTargetName(fs, sources));
  // The others are found too, to be pointed out.
  EXPECT_EQ(findDefaultTarget(fs, sources).entrySources, (List{"b.cpp", "my.prog.c"}));
  EXPECT_EQ("my.prog", defaultTargetName(fs, List{"a.cpp", "my.prog.c", "b.cpp"}));
  EXPECT_EQ("work", defaultTargetName(fs, List{"a.cpp"}));
}

TEST_F(SourceDiscovery, TextModeReading) {
  scratch.write("crlf.cpp", "int ma\rin()");
  scratch.write("ctrlz.cpp", "// nothing\n\x1aint main()\n");
  scratch.write("split.cpp", "int ma\nin()\n");
  scratch.write("last.cpp", "x\nvoid main(void)");
  EXPECT_TRUE(definesEntryPoint(fs, "crlf.cpp"));
  EXPECT_FALSE(definesEntryPoint(fs, "ctrlz.cpp"));
  EXPECT_FALSE(definesEntryPoint(fs, "split.cpp"));
  EXPECT_TRUE(definesEntryPoint(fs, "last.cpp"));
}

TEST_F(SourceDiscovery, FilesThatCannotBeRead) {
  scratch.makeDirectory("x.cpp");
  scratch.write("y.cpp", "int main()\n");
  EXPECT_FALSE(definesEntryPoint(fs, "x.cpp"));
  EXPECT_FALSE(definesEntryPoint(fs, "absent.cpp"));
#ifndef _WIN32
  // A FIFO never ends; reading it would hang the search.
  ASSERT_EQ(0, ::mkfifo("pipe.cpp", 0644));
  EXPECT_FALSE(definesEntryPoint(fs, "pipe.cpp"));
  ASSERT_EQ(0, ::unlink("pipe.cpp"));
#endif
  EXPECT_EQ((List{"x.cpp", "y.cpp"}), scanSources(fs));
  EXPECT_EQ("y", defaultTargetName(fs, scanSources(fs)));
#ifndef _WIN32
  if (::geteuid() != 0) {
    ASSERT_EQ(0, ::chmod("y.cpp", 0));
    EXPECT_FALSE(definesEntryPoint(fs, "y.cpp"));
    EXPECT_EQ("work", defaultTargetName(fs, scanSources(fs)));
  }
#endif
}

TEST_F(SourceDiscovery, EmptyAndBinaryFiles) {
  scratch.write("empty.cpp", "");
  scratch.write("nul.cpp", std::string("\0\0\xff\xfe main\0(", 11));
  scratch.write("bin.c", std::string("\x7f" "ELF\0\0int main\0()\n", 19));
  scratch.write("nulok.c", std::string("\0\n int main(\0", 13));
  EXPECT_FALSE(definesEntryPoint(fs, "empty.cpp"));
  EXPECT_FALSE(definesEntryPoint(fs, "nul.cpp"));
  EXPECT_FALSE(definesEntryPoint(fs, "bin.c"));
  EXPECT_TRUE(definesEntryPoint(fs, "nulok.c"));
}

TEST_F(SourceDiscovery, HugeSingleLine) {
  std::string line(16u << 20, 'x');
  scratch.write("huge.cpp", line);
  EXPECT_FALSE(definesEntryPoint(fs, "huge.cpp"));
  line.replace(line.size() - 12, 12, " void main()");
  line.replace(0, 4, "void");
  scratch.write("huge.cpp", line);
  EXPECT_TRUE(definesEntryPoint(fs, "huge.cpp"));
}

TEST_F(SourceDiscovery, NamesWithSpacesAndUtf8) {
  scratch.write("my prog.cpp", "int main()\n");
  scratch.write("\xc3\xa9t\xc3\xa9.C", "");
  EXPECT_EQ((List{"my prog.cpp", "\xc3\xa9t\xc3\xa9.C"}), scanSources(fs));
  EXPECT_EQ("my prog", defaultTargetName(fs, scanSources(fs)));
}

// The quick scan must answer exactly as reading the file line by line and
// testing every line that holds one of the names.
bool plainDefinesEntryPoint(const std::string& bytes) {
  for (const std::string& line : splitTextLines(bytes)) {
    bool candidate = line.find("DllEntryPoint") != std::string::npos ||
                     line.find("WinMain") != std::string::npos ||
                     line.find("main") != std::string::npos;
    if (candidate && (isEntryDefinition(line, EntryFlavour::kConsole) ||
                      isEntryDefinition(line, EntryFlavour::kWindows)))
      return true;
  }
  return false;
}

TEST_F(SourceDiscovery, QuickScanEqualsLineByLineReading) {
  static const char* const kPieces[] = {"int", "void", " ", "\t", "\r", "\n", "\x1a", "main",
                                        "ma",  "in",   "(",  "WinMain", "WINAPI", "x",
                                        "DllEntryPoint", "static"};
  std::mt19937 random(42);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 12);
  int agreedTrue = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int n = length(random); n > 0; --n) bytes += kPieces[pick(random)];
    scratch.write("r.cpp", bytes);
    bool expected = plainDefinesEntryPoint(bytes);
    ASSERT_EQ(expected, definesEntryPoint(fs, "r.cpp")) << "bytes: " << bytes;
    agreedTrue += expected ? 1 : 0;
  }
  EXPECT_GT(agreedTrue, 20);
}

// What was worked out from a listing is kept while the file system's
// listing version stands, and worked out again when it changes or is 0;
// names outside the listing are asked about again at every refresh.
TEST(SourceListingKept, WhileTheListingVersionStands) {
  FakeFileSystem fs;
  fs.addFile("b.c", "");
  SourceListing listing(fs);
  EXPECT_EQ(listing.refresh(), List{"b.c"});
  fs.addFile("A.cpp", "");
  EXPECT_EQ(listing.refresh(), (List{"A.cpp", "b.c"})) << "version 0 keeps nothing";
  fs.setListingVersion(7);
  EXPECT_EQ(listing.refresh(), (List{"A.cpp", "b.c"}));
  EXPECT_FALSE(listing.holds("src/u.c"));
  fs.addFile("c.c", "");
  fs.addFile("src/u.c", "");
  EXPECT_EQ(listing.refresh(), (List{"A.cpp", "b.c"})) << "kept under version 7";
  EXPECT_FALSE(listing.holds("C.C"));
  EXPECT_TRUE(listing.holds("src/u.c"));
  fs.setListingVersion(8);
  EXPECT_EQ(listing.refresh(), (List{"A.cpp", "b.c", "c.c"}));
  EXPECT_TRUE(listing.holds("C.C"));
}

// The sources screen's listing on the disk, kept between keys: every change
// to the directory shows, even when the change lies long back (its time is
// set an hour back here, a second later each time).
TEST_F(SourceDiscovery, KeptListingShowsEveryChangeOfTheDirectory) {
  namespace disk = std::filesystem;
  scratch.write("b.c", "");
  scratch.write("A.cpp", "");
  std::int64_t longAgo = std::time(nullptr) - 3600;
  SourceListing listing(fs);
  for (const auto& [change, expected] : std::vector<std::pair<std::function<void()>, List>>{
           {[] {}, List{"A.cpp", "b.c"}},
           {[this] { scratch.write("c.cpp", ""); }, List{"A.cpp", "b.c", "c.cpp"}},
           {[] { disk::rename("b.c", "B2.c"); }, List{"A.cpp", "B2.c", "c.cpp"}},
           {[] { disk::remove("A.cpp"); }, List{"B2.c", "c.cpp"}},
       }) {
    change();
    scratch.setModified(++longAgo, 0);
    EXPECT_EQ(listing.refresh(), expected);
    EXPECT_EQ(listing.refresh(), expected);
  }
}

// What a source defines, read as a text file is read: CRs dropped wherever
// they stand, the text ended by a Ctrl-Z and by the bound on what is
// searched; a file that defines several counts as the last of main, WinMain
// and DllEntryPoint.
TEST(SourceDiscoveryNames, EntryPointOfTheBytes) {
  const auto filledTo = [](std::size_t end) { return std::string(end, '\n'); };
  const struct {
    const char* what;
    std::string bytes;
    EntryPoint expected;
  } cases[] = {
      {"CR LF lines", "#include <stdio.h>\r\n\r\nint main(void)\r\n{\r\n}\r\n", EntryPoint::kMain},
      {"a CR inside the name", "BOOL WINAPI Dll\rEntry\r\rPoint(HINSTANCE h)",
       EntryPoint::kDllEntryPoint},
      {"a CR before the parenthesis", "int main\r()\n", EntryPoint::kMain},
      {"a CR for the blank before the name", "int\rmain()\n", EntryPoint::kNone},
      {"a Ctrl-Z inside the definition", "int main\x1a()\n", EntryPoint::kNone},
      {"a Ctrl-Z after the definition", "int main()\x1a\n", EntryPoint::kMain},
      {"the definition commented out", "/* int main() */\n// void main()\n", EntryPoint::kNone},
      {"main, then a DllEntryPoint",
       "int main()\nBOOL WINAPI DllEntryPoint(HINSTANCE h)\n", EntryPoint::kDllEntryPoint},
      {"main after a WinMain", "int PASCAL WinMain(HINSTANCE h)\nint main()\n",
       EntryPoint::kWinMain},
      {"a name that is no definition before one", "// main\nint main()\n", EntryPoint::kMain},
      {"the definition ending at the bound", filledTo(kEntrySearchBytes - 10) + "int main()",
       EntryPoint::kMain},
      {"the name across the bound", filledTo(kEntrySearchBytes - 6) + "int main()",
       EntryPoint::kNone},
      {"the parenthesis past the bound", filledTo(kEntrySearchBytes - 9) + "int main\r()",
       EntryPoint::kNone},
  };
  for (const auto& [what, bytes, expected] : cases) {
    FakeFileSystem fs;
    fs.addFile("s.c", bytes);
    EntryPoint found = EntryPoint::kNone;
    EXPECT_EQ(definesEntryPoint(fs, "s.c", found), expected != EntryPoint::kNone) << what;
    EXPECT_EQ(found, expected) << what;
  }
}

}  // namespace
}  // namespace corvane

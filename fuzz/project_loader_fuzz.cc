// Loads any bytes as a project file. Every input must give a complete
// project whose file, once written, loads back to the same file: writing,
// loading and writing again gives the bytes of the first write. The one
// exception is a blank source entry, which is written as a blank line and
// so is gone after the next load; then the third write equals the second.
// The makefile of every loaded project is built and written as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <sstream>
#include <string>

#include "makefile/makefile.h"
#include "project/make_project.h"
#include "support/fake_file_system.h"

namespace {

using corvane::FakeFileSystem;
using corvane::Makefile;
using corvane::MakeProject;

// The same directory for every input, so that the scan and the entry-point
// search give the same answers on every load.
const FakeFileSystem& fixedDirectory() {
  static const FakeFileSystem fs = [] {
    FakeFileSystem directory("/fuzz/work");
    directory.addFile("main.cpp", "int main(int argc, char *argv[])\n{\n}\n");
    directory.addFile("util.c", "int util(void) { return 0; }\n");
    directory.addFile("Win.CPP", "int PASCAL WinMain(HINSTANCE h)\n");
    return directory;
  }();
  return fs;
}

std::string written(const MakeProject& project) { return project.text(); }

MakeProject loaded(const std::string& bytes) {
  std::istringstream in(bytes);
  return MakeProject(in, fixedDirectory());
}

bool hasBlankSource(const MakeProject& project) {
  for (const std::string& source : project.sources()) {
    if (source.find_first_not_of(" \t") == std::string::npos) return true;
  }
  return false;
}

void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "project loader fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const MakeProject first = loaded(input);
  check(!first.makefileName().empty(), "empty makefile name");
  check(!first.sources().empty(), "no sources");
  check(!first.target().empty(), "empty target");
  check(first.optionLines() == first.optionList().optionLines(), "stale option lines");

  const std::string firstWrite = written(first);
  const MakeProject second = loaded(firstWrite);
  const std::string secondWrite = written(second);
  if (hasBlankSource(first)) {
    const std::string thirdWrite = written(loaded(secondWrite));
    check(thirdWrite == secondWrite, "third write differs from the second");
  } else {
    check(secondWrite == firstWrite, "second write differs from the first");
  }

  check(!Makefile(first, "C:\\BCC55").text().empty(), "empty makefile");
  return 0;
}

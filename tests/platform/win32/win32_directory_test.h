// A fixture for tests on the real Windows file system: every test runs in a
// new, empty directory of its own.
#ifndef CORVANE_TESTS_PLATFORM_WIN32_WIN32_DIRECTORY_TEST_H
#define CORVANE_TESTS_PLATFORM_WIN32_WIN32_DIRECTORY_TEST_H

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace corvane {

// Every test runs in a new, empty directory of its own, made the current
// directory, and removed with all it holds afterwards.
class Win32DirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[MAX_PATH + 1];
    ASSERT_NE(GetCurrentDirectoryA(sizeof buffer, buffer), 0u);
    previousDirectory_ = buffer;
    ASSERT_NE(GetTempPathA(sizeof buffer, buffer), 0u);
    const std::string base = buffer;
    for (int attempt = 0; attempt < 100 && directory_.empty(); ++attempt) {
      const std::string candidate = base + "corvane-test-" + std::to_string(GetCurrentProcessId()) +
                                    "-" + std::to_string(attempt);
      if (CreateDirectoryA(candidate.c_str(), nullptr)) directory_ = candidate;
    }
    ASSERT_FALSE(directory_.empty());
    ASSERT_TRUE(SetCurrentDirectoryA(directory_.c_str()));
  }

  void TearDown() override {
    SetCurrentDirectoryA(previousDirectory_.c_str());
    if (!directory_.empty()) removeTree(directory_);
  }

  static void removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((path + "\\*").c_str(), &entry));
    if (search.valid()) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string full = path + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeTree(full);
        } else {
          DeleteFileA(full.c_str());
        }
      } while (FindNextFileA(search.get(), &entry));
    }
    search.reset();
    RemoveDirectoryA(path.c_str());
  }

  static void writeFile(const std::string& name, const std::string& content) {
    UniqueFileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << name;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                          nullptr));
    ASSERT_EQ(written, content.size());
  }

  // Every entry of the test directory, sorted, so that a test can see that
  // nothing was left behind.
  static std::vector<std::string> entries() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA("*", &entry));
    if (!search.valid()) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string directory_;
  std::string previousDirectory_;
};

}  // namespace corvane

#endif  // CORVANE_TESTS_PLATFORM_WIN32_WIN32_DIRECTORY_TEST_H

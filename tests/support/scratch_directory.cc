#include "support/scratch_directory.h"

#ifdef _WIN32
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

namespace corvane {

namespace fs = std::filesystem;

namespace {

// A new, empty directory under the system's temporary directory. Only
// standard calls, so that the same tests run on Windows too.
fs::path makeUniqueDirectory() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Eight digits keep the path short: the screens show the current
    // directory, and the terminal tests expect it on one row.
    const fs::path candidate = base / ("corvane-test-" + std::to_string(random() % 100000000));
    std::error_code error;
    if (fs::create_directory(candidate, error)) return candidate;
  }
  std::abort();
}

}  // namespace

ScratchDirectory::ScratchDirectory(const std::string& leafName) {
  std::error_code error;
  previous_ = fs::current_path(error).string();
  parent_ = makeUniqueDirectory().string();
  path_ = (fs::path(parent_) / leafName).string();
  fs::create_directory(path_, error);
  if (error) std::abort();
  fs::current_path(path_, error);
  if (error) std::abort();
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  if (!previous_.empty()) fs::current_path(previous_, ignored);
  // Tests may leave read-only directories behind; open them up first.
  for (auto it = fs::recursive_directory_iterator(parent_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(parent_, ignored);
}

void ScratchDirectory::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(fs::path(path_) / name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDirectory::read(const std::string& name) const {
  std::ifstream in(fs::path(path_) / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ScratchDirectory::makeDirectory(const std::string& name) const {
  fs::create_directories(fs::path(path_) / name);
}

// The standard library sets no time on a directory on Windows.
void ScratchDirectory::setModified(std::int64_t seconds, long nanoseconds) const {
#ifdef _WIN32
  // A FILETIME counts 100 ns from 1601.
  const std::uint64_t ticks = static_cast<std::uint64_t>(seconds + 11644473600) * 10000000 +
                              static_cast<std::uint64_t>(nanoseconds / 100);
  const UniqueFileHandle directory(CreateFileA(
      path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  if (!directory.valid() || !SetFileTime(directory.get(), nullptr, nullptr, &time)) std::abort();
#else
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), nanoseconds}};
  if (::utimensat(AT_FDCWD, path_.c_str(), times, 0) != 0) std::abort();
#endif
}

std::vector<std::string> ScratchDirectory::names() const {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(path_)) {
    found.push_back(entry.path().filename().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string ScratchDirectory::listing() const {
  std::string joined;
  for (const std::string& name : names()) joined += name + " ";
  return joined;
}

}  // namespace corvane

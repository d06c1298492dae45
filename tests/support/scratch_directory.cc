#include "support/scratch_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace corvane {

ScratchDirectory::ScratchDirectory(const std::string& leafName) {
  char current[4096];
  if (::getcwd(current, sizeof current) != nullptr) previous_ = current;
  std::string pattern = "/tmp/corvane-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  parent_ = pattern;
  path_ = parent_ + "/" + leafName;
  if (::mkdir(path_.c_str(), 0777) != 0 || ::chdir(path_.c_str()) != 0) std::abort();
}

ScratchDirectory::~ScratchDirectory() {
  if (!previous_.empty() && ::chdir(previous_.c_str()) != 0) std::abort();
  std::error_code ignored;
  // Tests may leave read-only directories behind; open them up first.
  for (auto it = std::filesystem::recursive_directory_iterator(parent_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(parent_, ignored);
}

void ScratchDirectory::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ + "/" + name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDirectory::read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ScratchDirectory::makeDirectory(const std::string& name) const {
  std::filesystem::create_directories(path_ + "/" + name);
}

std::string ScratchDirectory::listing() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += name + " ";
  return joined;
}

}  // namespace corvane

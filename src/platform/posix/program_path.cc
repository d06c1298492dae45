#include "platform/posix/program_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

#include "platform/posix/posix_file_system.h"

namespace corvane {

namespace {

const char kRunningProgram[] = "/proc/self/exe";

bool isExecutableFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// `name` taken from `directory` (absolute) unless it is absolute itself,
// without "." components and repeated slashes. ".." stays: dropping it with
// the component before would be wrong when that component is a link.
std::string absoluteTidy(const std::string& directory, const std::string& name) {
  const std::string joined = !name.empty() && name.front() == '/' ? name : directory + "/" + name;
  std::string tidy;
  for (const std::string& component : pathComponents(joined)) {
    if (component != ".") tidy += "/" + component;
  }
  return tidy.empty() ? "/" : tidy;
}

std::string resolvedRunningProgram() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(kRunningProgram, buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string startedProgramPath(const std::string& startedAs, const char* searchPath,
                               const std::string& currentDirectory) {
  // Without a current directory (it may have been removed) only absolute
  // paths can be placed.
  const auto placeable = [&](const std::string& path) {
    return !currentDirectory.empty() || (!path.empty() && path.front() == '/');
  };
  if (startedAs.empty()) return std::string();
  if (startedAs.find('/') != std::string::npos) {
    if (!placeable(startedAs)) return std::string();
    const std::string path = absoluteTidy(currentDirectory, startedAs);
    return isExecutableFile(path) ? path : std::string();
  }
  if (searchPath == nullptr) return std::string();
  const std::string_view directories = searchPath;
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(':', start);
    if (end == std::string_view::npos) end = directories.size();
    const std::string directory(directories.substr(start, end - start));
    start = end + 1;
    if (!placeable(directory)) continue;
    const std::string base =
        absoluteTidy(currentDirectory, directory.empty() ? std::string(".") : directory);
    const std::string path = absoluteTidy(base, startedAs);
    if (isExecutableFile(path)) return path;
  }
  return std::string();
}

std::string programPathOf(const std::string& startedAs, const char* searchPath,
                          const std::string& currentDirectory) {
  const std::string started = startedProgramPath(startedAs, searchPath, currentDirectory);
  struct stat running {};
  if (::stat(kRunningProgram, &running) != 0) {
    // No /proc: the first argument is all there is.
    return started;
  }
  struct stat candidate {};
  if (!started.empty() && ::stat(started.c_str(), &candidate) == 0 &&
      candidate.st_dev == running.st_dev && candidate.st_ino == running.st_ino) {
    return started;
  }
  return resolvedRunningProgram();
}

}  // namespace corvane

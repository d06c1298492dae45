#include "platform/native_file_system.h"

#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace corvane {

// A time in whole seconds comes from a file system that keeps no finer ones
// (FAT keeps two), so two seconds must have passed; finer times come from a
// clock that ticks every few milliseconds (Linux 1 to 10, Windows 15.6), for
// which a tenth of a second is ample. A time ahead of the clock (a clock set
// back, a server's) is no sure sign of anything.
bool DirectoryStamp::settled() const {
  const std::int64_t wait =
      modified % ticksPerSecond == 0 ? 2 * ticksPerSecond : ticksPerSecond / 10;
  return marksChanges && taken - modified >= wait;
}

std::vector<std::string> NativeFileSystem::listMatching(const std::string& extension) const {
  return std::move(listMatchingEach({extension}).front());
}

std::vector<std::vector<std::string>> NativeFileSystem::listMatchingEach(
    const std::vector<std::string>& extensions) const {
  std::vector<std::vector<std::string>> lists(extensions.size());
  for (const std::string& name : directoryNames()) {
    for (std::size_t i = 0; i < extensions.size(); ++i)
      if (matchesExtension(name, extensions[i])) lists[i].push_back(name);
  }
  return lists;
}

// The stamp is taken before the directory is read: a change while it is
// read leaves a later stamp, and the next call reads the directory again.
const std::vector<std::string>& NativeFileSystem::directoryNames() const {
  const std::optional<DirectoryStamp> now = directoryStamp();
  if (now && listedStamp_ && now->sameState(*listedStamp_)) return listedNames_;
  listedNames_ = readDirectory();
  ++reads_;
  listedStamp_.reset();
  if (now && now->settled()) listedStamp_ = now;
  return listedNames_;
}

// The names last read stand while the directory keeps the settled state
// they were read in; asking reads nothing.
std::uint64_t NativeFileSystem::listingVersion() const {
  const std::optional<DirectoryStamp> now = directoryStamp();
  return now && listedStamp_ && now->sameState(*listedStamp_) ? reads_ : 0;
}

std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& startedAs) {
  return std::make_unique<NativeFileSystem>(startedAs);
}

}  // namespace corvane

#include "support/fake_file_system.h"

#include <utility>

#include "text/text_utils.h"

namespace corvane {

FakeFileSystem::FakeFileSystem(std::string currentDirectory)
    : currentDirectory_(std::move(currentDirectory)) {}

FakeFileSystem::Entry& FakeFileSystem::entryFor(const std::string& name) {
  auto found = entries_.find(name);
  if (found != entries_.end()) return found->second;
  order_.push_back(name);
  return entries_[name];
}

void FakeFileSystem::addFile(const std::string& name, const std::string& content) {
  Entry& entry = entryFor(name);
  entry.content = content;
  entry.directory = false;
}

void FakeFileSystem::addUnreadableFile(const std::string& name, const std::string& reason) {
  Entry& entry = entryFor(name);
  entry.content.reset();
  entry.directory = false;
  entry.readFailure = reason;
}

void FakeFileSystem::addDirectory(const std::string& name) {
  Entry& entry = entryFor(name);
  entry.content.reset();
  entry.directory = true;
}

void FakeFileSystem::setReadOnly(const std::string& name, bool readOnly) {
  entryFor(name).readOnly = readOnly;
}

std::optional<std::string> FakeFileSystem::contentOf(const std::string& name) const {
  auto found = entries_.find(name);
  if (found == entries_.end()) return std::nullopt;
  return found->second.content;
}

std::vector<std::string> FakeFileSystem::listMatching(const std::string& extension) const {
  std::vector<std::string> names;
  for (const std::string& name : order_) {
    if (name.find_first_of(kPathSeparators) != std::string::npos) continue;
    if (matchesExtension(name, extension)) names.push_back(name);
  }
  return names;
}

// Like Windows, a doubled backslash counts as one: a directory typed with a
// final backslash and a file name joined to it still name the file.
bool FakeFileSystem::exists(const std::string& path) const {
  std::string single;
  for (char c : path)
    if (!(c == '\\' && !single.empty() && single.back() == '\\')) single += c;
  return entries_.count(single) != 0;
}

bool FakeFileSystem::isWritable(const std::string& path) const {
  auto found = entries_.find(path);
  return found != entries_.end() && !found->second.directory && !found->second.readOnly;
}

FileContent FakeFileSystem::readFile(const std::string& path, std::size_t maxBytes) const {
  auto found = entries_.find(path);
  if (found == entries_.end()) return {};
  const Entry& entry = found->second;
  if (entry.directory) return {ReadStatus::kFailed, {}, "Is a directory"};
  if (!entry.content) return {ReadStatus::kFailed, {}, entry.readFailure};
  return {ReadStatus::kRead, entry.content->substr(0, maxBytes), {}};
}

SaveOutcome FakeFileSystem::saveFile(const std::string& path, const std::string& content) {
  SaveOutcome outcome = saveOutcome_;
  if (!queued_.empty()) {
    outcome = queued_.front();
    queued_.pop_front();
  }
  if (outcome.result != SaveResult::kSaved) return outcome;
  // Like the real disk: a read-only file or a directory of that name cannot
  // be opened for writing.
  const auto found = entries_.find(path);
  if (found != entries_.end() && (found->second.readOnly || found->second.directory))
    return {SaveResult::kCannotOpen, {}, {}};
  addFile(path, content);
  return outcome;
}

PathParts FakeFileSystem::splitPath(const std::string& path) const {
  return splitPathName(path, true);
}

}  // namespace corvane

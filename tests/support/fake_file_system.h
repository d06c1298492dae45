// An in-memory file system for tests and fuzzing: a fixed current directory
// holding files with given contents, listed in the order they were added,
// so that nothing depends on the disk or on the order of a real listing.
// Paths may be written the Windows way too: "C:" is split off as the drive,
// and a doubled backslash counts as one.
#ifndef CORVANE_TESTS_SUPPORT_FAKE_FILE_SYSTEM_H
#define CORVANE_TESTS_SUPPORT_FAKE_FILE_SYSTEM_H

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace corvane {

class FakeFileSystem : public FileSystem {
 public:
  // currentDirectory is an absolute path such as "/home/user/work".
  explicit FakeFileSystem(std::string currentDirectory = "/home/user/work");

  // Adds (or replaces) a file of the current directory. A name may also be
  // a path; only plain names take part in the directory listing.
  void addFile(const std::string& name, const std::string& content);
  // A file that is listed and exists but cannot be read, for the reason
  // given (as the system would word it).
  void addUnreadableFile(const std::string& name,
                         const std::string& reason = "Input/output error");
  // A directory entry of the current directory (listed, never readable).
  void addDirectory(const std::string& name);
  void setReadOnly(const std::string& name, bool readOnly);
  // What the next saveFile calls report; anything but kSaved stores nothing.
  // A read-only file or a directory always reports kCannotOpen.
  void setSaveResult(SaveResult result) { saveOutcome_.result = result; }
  // What the next saveFile call reports, before those setSaveResult set;
  // one call each, in turn.
  void queueSaveOutcome(const SaveOutcome& outcome) { queued_.push_back(outcome); }
  void setProgramPath(const std::string& path) { programPath_ = path; }
  // What listingVersion tells from now on (0 at first: nothing is kept).
  void setListingVersion(std::uint64_t version) { listingVersion_ = version; }

  // The content saved under a name, or nothing.
  std::optional<std::string> contentOf(const std::string& name) const;

  std::string currentDirectory() const override { return currentDirectory_; }
  std::vector<std::string> listMatching(const std::string& extension) const override;
  std::uint64_t listingVersion() const override { return listingVersion_; }
  bool exists(const std::string& path) const override;
  bool isWritable(const std::string& path) const override;
  FileContent readFile(const std::string& path, std::size_t maxBytes) const override;
  // The same name only: the disk's ways to one file are the native tests'.
  bool sameFile(const std::string& a, const std::string& b) const override {
    return !a.empty() && a == b;
  }
  SaveOutcome saveFile(const std::string& path, const std::string& content) override;
  std::string programPath() const override { return programPath_; }
  PathParts splitPath(const std::string& path) const override;

 private:
  struct Entry {
    std::optional<std::string> content;  // nothing: unreadable or a directory
    std::string readFailure;             // why an unreadable file cannot be read
    bool directory = false;
    bool readOnly = false;
  };

  std::string currentDirectory_;
  std::string programPath_ = "/usr/local/bin/corvane";
  std::vector<std::string> order_;  // names in the order they were added
  std::map<std::string, Entry> entries_;
  SaveOutcome saveOutcome_;
  std::deque<SaveOutcome> queued_;
  std::uint64_t listingVersion_ = 0;

  Entry& entryFor(const std::string& name);
};

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_FAKE_FILE_SYSTEM_H

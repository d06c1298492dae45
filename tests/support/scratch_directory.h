// A fresh directory under the temporary directory that a test works in:
// created empty, made the current directory, and removed with everything in
// it afterwards.
#ifndef CORVANE_TESTS_SUPPORT_SCRATCH_DIRECTORY_H
#define CORVANE_TESTS_SUPPORT_SCRATCH_DIRECTORY_H

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

class ScratchDirectory {
 public:
  // `leafName` names the directory itself (it is made inside a unique one),
  // for tests that care about the current directory's name.
  explicit ScratchDirectory(const std::string& leafName = "work");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  // The unique directory that holds it, for what a test keeps beside it
  // (a Wine prefix, a compiler) so that it stays out of its listing.
  const std::string& root() const { return parent_; }

  // Writes a file (relative to the scratch directory) with exactly these bytes.
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  void makeDirectory(const std::string& name) const;
  // Gives the scratch directory itself that modification time, in seconds
  // and nanoseconds since 1970 (a time of the test's choosing: far back, in
  // whole seconds, ahead of the clock).
  void setModified(std::int64_t seconds, long nanoseconds) const;
  // The names in the directory, sorted; listing() joins them, each followed
  // by a space.
  std::vector<std::string> names() const;
  std::string listing() const;

 private:
  std::string parent_;
  std::string path_;
  std::string previous_;
};

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_SCRATCH_DIRECTORY_H

// The save policy over the steps of the system the tests run on (POSIX, or
// Windows under Wine), each step failing in turn. The POSIX system calls
// under the steps fail in turn in tests/platform/posix.
#include "platform/save_policy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/scratch_directory.h"

#ifdef _WIN32
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <aclapi.h>
#else
#include <sys/stat.h>
#endif

namespace corvane {
namespace {

using File = SaveSteps::File;

// Whether no one but the user may read the file.
bool privateFile(const std::string& name) {
#ifdef _WIN32
  // Every entry that allows anything is the user's own (or the system's,
  // which Wine shows on every file).
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(name.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  GetTokenInformation(token, TokenUser, user.data(), size, &size);
  CloseHandle(token);
  const PSID self = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
  std::vector<unsigned char> system(SECURITY_MAX_SID_SIZE);
  DWORD systemSize = SECURITY_MAX_SID_SIZE;
  CreateWellKnownSid(WinLocalSystemSid, nullptr, system.data(), &systemSize);
  bool onlySelf = dacl != nullptr;
  for (DWORD i = 0; onlySelf && i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    GetAce(dacl, i, &entry);
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && !EqualSid(sid, self) &&
        !EqualSid(sid, system.data())) {
      onlySelf = false;
    }
  }
  LocalFree(descriptor);
  return onlySelf;
#else
  struct stat status {};
  return ::stat(name.c_str(), &status) == 0 && (status.st_mode & 077) == 0;
#endif
}

enum class Step {
  kCreate, kOpenTarget, kPrepare, kComplete, kWrite, kCut, kFlush, kClose, kReplace, kRemove,
};

// The system's steps, but from the `from`th step of one kind on, that step
// fails: once, or every one from then on as a disk that starts failing. A
// failing write writes half its bytes first, as a full disk does; a failing
// removal finds the file held open by another program. Meanwhile it
// watches that the files made beside an existing target are private while
// written (a new file's temporary file may have the access the file will
// have).
class FailingSteps : public SaveSteps {
 public:
  FailingSteps(SaveSteps& real, Step kind, int from, bool fromThenOn)
      : real_(real), kind_(kind), from_(from), fromThenOn_(fromThenOn) {}
  int made() const { return made_; }
  bool exposed() const { return exposed_; }
  // The file the first failing step was about.
  File failedOn() const { return failedOn_; }

  SaveTarget examine() override {
    const SaveTarget target = real_.examine();
    replacing_ = target == SaveTarget::kReplaceable || target == SaveTarget::kInPlaceOnly;
    return target;
  }
  Made create(File file) override {
    return fails(Step::kCreate, file) ? Made::kFailed : real_.create(file);
  }
  std::string name(File file) const override { return real_.name(file); }
  bool openTarget(std::string& old) override {
    return !fails(Step::kOpenTarget, File::kTarget) && real_.openTarget(old);
  }
  bool prepare(bool replacing) override {
    return !fails(Step::kPrepare, File::kTemporary) && real_.prepare(replacing);
  }
  bool complete(bool replacing) override {
    return !fails(Step::kComplete, File::kTemporary) && real_.complete(replacing);
  }
  bool write(File file, std::string_view bytes) override {
    if ((file == File::kCopy || (file == File::kTemporary && replacing_)) &&
        !privateFile(real_.name(file))) {
      exposed_ = true;
    }
    if (!fails(Step::kWrite, file)) return real_.write(file, bytes);
    real_.write(file, bytes.substr(0, bytes.size() / 2));
    return false;
  }
  bool cut(std::uint64_t size) override {
    return !fails(Step::kCut, File::kTarget) && real_.cut(size);
  }
  bool flush(File file) override { return !fails(Step::kFlush, file) && real_.flush(file); }
  bool close(File file) override {
    const bool closed = real_.close(file);
    return !fails(Step::kClose, file) && closed;
  }
  bool replace(bool replacing) override {
    return !fails(Step::kReplace, File::kTemporary) && real_.replace(replacing);
  }
  bool remove(File file) override {
    if (!fails(Step::kRemove, file)) return real_.remove(file);
#ifdef _WIN32
    UniqueFileHandle holder(CreateFileA(real_.name(file).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
#endif
    return real_.remove(file);
  }
  void syncDirectory() override { real_.syncDirectory(); }
  void afterRewrite() override { real_.afterRewrite(); }
  SaveResult writeToSpecial(std::string_view content) override {
    return real_.writeToSpecial(content);
  }
  void onSignalRestore(const std::string& old) override { real_.onSignalRestore(old); }
  void onSignalFinish(std::uint64_t newSize) override { real_.onSignalFinish(newSize); }
  void onSignalRemove(File file) override { real_.onSignalRemove(file); }
  void onSignalNothing() override { real_.onSignalNothing(); }

 private:
  bool fails(Step step, File file) {
    if (step != kind_ || ++made_ < from_ || (made_ > from_ && !fromThenOn_)) return false;
    if (made_ == from_) failedOn_ = file;
    return true;
  }

  SaveSteps& real_;
  Step kind_;
  int from_;
  bool fromThenOn_;
  int made_ = 0;
  bool replacing_ = false;
  bool exposed_ = false;
  File failedOn_ = File::kTarget;
};

// The names of the files Corvane made beside the target, sorted.
std::vector<std::string> ownFiles(const ScratchDirectory& scratch) {
  std::vector<std::string> own;
  for (const std::string& name : scratch.names())
    if (name.rfind("corvane-", 0) == 0) own.push_back(name);
  return own;
}

// Every step of every way a save goes fails in turn, once and from then
// on. The file ends old or new as the result says; nothing is left beside
// it but what the outcome names (the copy of the old content of a file that
// may hold neither, and files that could not be removed: a copy private, a
// temporary file emptied); nothing made beside an existing file is readable
// by others while written. A copy of the old bytes that cannot be made stops a
// rewrite in place. A file that may hold neither, tried again and failing
// cleanly, is still reported so with the copy of its true old content.
TEST(SavePolicy, EveryFailingStepLeavesTheFileOldOrNew) {
  ScratchDirectory scratch;
  const std::string oldContent = "the old content of the file, longer than the new\r\n";
  const std::string newContent = "the new content\r\n";
  struct Way {
    const char* name;
    bool exists;
    bool hardLink;  // makes the save rewrite the file in place
  };
  const Way ways[] = {{"new file", false, false}, {"replaced", true, false}, {"in place", true, true}};
  const std::pair<Step, const char*> kinds[] = {
      {Step::kCreate, "create"},   {Step::kOpenTarget, "open"}, {Step::kPrepare, "prepare"},
      {Step::kComplete, "complete"}, {Step::kWrite, "write"},  {Step::kCut, "cut"},
      {Step::kFlush, "flush"},     {Step::kClose, "close"},    {Step::kReplace, "replace"},
#ifdef _WIN32
      // A POSIX file cannot be kept from removal without privileges: the
      // system calls' own test makes unlink fail.
      {Step::kRemove, "remove"},
#endif
  };
  for (const Way& way : ways) {
    const std::string before = way.exists ? oldContent : "";
    for (const auto& [kind, kindName] : kinds) {
      for (const bool fromThenOn : {false, true}) {
        for (int from = 1;; ++from) {
          SCOPED_TRACE(std::string(way.name) + ": " + kindName + " number " +
                       std::to_string(from) + (fromThenOn ? " and every later one fail" : " fails"));
          for (const std::string& name : scratch.names()) std::filesystem::remove(name);
          if (way.exists) scratch.write("Project.gen", oldContent);
          if (way.hardLink) std::filesystem::create_hard_link("Project.gen", "other.gen");
          const std::unique_ptr<SaveSteps> real = makeNativeSaveSteps("Project.gen");
          FailingSteps steps(*real, kind, from, fromThenOn);
          const SaveOutcome outcome = saveThrough(steps, newContent);
          EXPECT_FALSE(steps.exposed());
          const std::string now = way.exists || outcome.result == SaveResult::kSaved
                                      ? scratch.read("Project.gen")
                                      : std::string();
          switch (outcome.result) {
            case SaveResult::kSaved:
              EXPECT_EQ(newContent, now);
              break;
            case SaveResult::kDamaged:
              // Only a rewrite in place whose put-back failed too (under
              // Wine, whose ReplaceFile takes no relative names, every
              // existing file is rewritten in place).
              ASSERT_TRUE(way.exists && fromThenOn);
              EXPECT_EQ(oldContent, scratch.read(outcome.oldContent));
              break;
            case SaveResult::kCannotOpen:
            case SaveResult::kCannotWrite:
              EXPECT_EQ(before, now);
              EXPECT_EQ(way.exists, std::filesystem::exists("Project.gen"));
              break;
          }
          if (kind == Step::kCreate && steps.failedOn() == File::kCopy) {
            EXPECT_EQ(SaveResult::kCannotWrite, outcome.result);
          }
          std::vector<std::string> named = outcome.leftOver;
          if (!outcome.oldContent.empty()) named.push_back(outcome.oldContent);
          std::sort(named.begin(), named.end());
          EXPECT_EQ(named, ownFiles(scratch));
          for (const std::string& name : named) {
            if (name.find(".tmp") != std::string::npos) {
              EXPECT_EQ("", scratch.read(name)) << name;
            } else {
              EXPECT_TRUE(privateFile(name)) << name;
            }
          }
          if (outcome.result == SaveResult::kDamaged) {
            // Tried again, the cut fails once and the damaged bytes go back.
            const std::unique_ptr<SaveSteps> realAgain = makeNativeSaveSteps("Project.gen");
            FailingSteps again(*realAgain, Step::kCut, 1, false);
            const SaveOutcome retried = saveThrough(again, newContent);
            EXPECT_EQ(SaveResult::kCannotWrite, retried.result);
            EXPECT_EQ(now, scratch.read("Project.gen"));
            EXPECT_EQ(named, ownFiles(scratch));
            const SaveOutcome both = afterRetry(outcome, retried);
            EXPECT_EQ(SaveResult::kDamaged, both.result);
            EXPECT_EQ(outcome.oldContent, both.oldContent);
          }
          if (steps.made() < from) break;  // every step of the kind has failed
        }
      }
    }
  }
}

}  // namespace
}  // namespace corvane

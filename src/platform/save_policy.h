// How Corvane saves a file so that nothing the user had is ever lost, written
// once over the steps that each system takes in its own way.
//
// The usual way is a temporary file beside the old one, written and flushed
// and then put in its place, so that a crash or a full disk at any moment
// leaves either the old or the new content. That makes a new file, though,
// which is only right when the new file can be everything the old one was
// (on POSIX systems its owner, group, mode, extended attributes and inode
// flags; on Windows what ReplaceFile carries over) and the only name of its
// content (another hard link would keep the old content), in a directory
// that lets us make files. Where that does not hold, the file is rewritten
// in place: its old bytes are kept in memory and put back if the write
// fails, and a copy of them waits on the disk beside it until the new bytes
// are there too, for a crash that no put-back can undo. Devices and pipes
// are written to like any program writes to them; they are never replaced
// by a plain file.
#ifndef CORVANE_PLATFORM_SAVE_POLICY_H
#define CORVANE_PLATFORM_SAVE_POLICY_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace corvane {

// What the name to be saved stands for.
enum class SaveTarget {
  kAbsent,       // nothing yet: a new file is made
  kCannotOpen,   // a directory, a read-only file, one that cannot be opened
                 // for writing, or a name that cannot be reached
  kSpecial,      // a device, a FIFO: written to, never replaced
  kReplaceable,  // a plain file that a new one may take the place of, if the
                 // new one can have everything the old one had
  kInPlaceOnly,  // a plain file that only a rewrite in place keeps whole
};

// What became of making a new file beside the target.
enum class Made {
  kMade,
  kRefused,  // the directory allows no new file (permissions, a read-only
             // file system): a rewrite in place goes on without a copy
  kFailed,   // a full disk, an I/O error: nothing may go on without a copy
};

// The steps of one save of one name, over one system's calls. Each step
// reports whether it was done; the policy decides what follows.
class SaveSteps {
 public:
  // The files a save works on: the temporary file, the copy of the old
  // bytes, and the target itself once opened for a rewrite in place.
  enum class File { kTemporary, kCopy, kTarget };

  SaveSteps() = default;
  virtual ~SaveSteps() = default;
  SaveSteps(const SaveSteps&) = delete;
  SaveSteps& operator=(const SaveSteps&) = delete;

  // Looks at what the name stands for; first of all steps.
  virtual SaveTarget examine() = 0;
  // Makes the temporary file or the copy beside the target, empty, private
  // to the user and open for writing. From then on an ending signal removes
  // it, until one of the signal steps below says otherwise.
  virtual Made create(File file) = 0;
  // The name a made file has, as the user would type it to reach it.
  virtual std::string name(File file) const = 0;
  // Opens the target to be rewritten in place and reads all its bytes
  // into `old`; false when it cannot be (or is too large to keep).
  virtual bool openTarget(std::string& old) = 0;

  // The temporary file before its content is written and after: it gets
  // what the old file had (`replacing`) or what any new file gets there.
  // False when it cannot have all of that.
  virtual bool prepare(bool replacing) = 0;
  virtual bool complete(bool replacing) = 0;

  // Writes the bytes from the start of the file.
  virtual bool write(File file, std::string_view bytes) = 0;
  // Gives the target this length.
  virtual bool cut(std::uint64_t size) = 0;
  // Puts what was written on the disk.
  virtual bool flush(File file) = 0;
  // Closes the file, whatever that reports.
  virtual bool close(File file) = 0;
  // The finished temporary file takes the target's name; false, and
  // nothing changed, when it cannot.
  virtual bool replace(bool replacing) = 0;
  // Removes a file the save made (closing it first). One that cannot be
  // removed is left with nothing in it that others could read: false then.
  virtual bool remove(File file) = 0;
  // Makes the directory's new names durable; a failure loses nothing.
  virtual void syncDirectory() = 0;
  // After a rewrite in place: gives back what writing took from the file
  // (the set-id bits of a POSIX file).
  virtual void afterRewrite() {}
  // A device or a pipe gets the content as any program would write it.
  virtual SaveResult writeToSpecial(std::string_view content) = 0;

  // What an ending signal must undo from now on, where the system has them:
  // put the old bytes back into the target (and then remove the copy), cut
  // the finished target to its new size (and remove the copy), remove a
  // made file, or nothing.
  virtual void onSignalRestore(const std::string& /*old*/) {}
  virtual void onSignalFinish(std::uint64_t /*newSize*/) {}
  virtual void onSignalRemove(File /*file*/) {}
  virtual void onSignalNothing() {}
};

// Saves the content through the steps.
SaveOutcome saveThrough(SaveSteps& steps, const std::string& content);

// The steps of the system Corvane was built for, for one name.
std::unique_ptr<SaveSteps> makeNativeSaveSteps(const std::string& path);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_SAVE_POLICY_H

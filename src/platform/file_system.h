// The file system as Corvane sees it. The core (project, makefile, screens)
// only talks to this interface, so that tests and other platforms can stand
// in for the real disk.
#ifndef CORVANE_PLATFORM_FILE_SYSTEM_H
#define CORVANE_PLATFORM_FILE_SYSTEM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/path_names.h"
#include "text/text_utils.h"

namespace corvane {

enum class SaveResult {
  kSaved,        // the whole content is on disk under the name
  kCannotOpen,   // the file could not be opened for writing; nothing changed
  kCannotWrite,  // opened, but the content could not be written completely;
                 // the old file, if any, is left exactly as it was
  kDamaged,      // rewritten in place, the content could not be written and
                 // the old bytes could not be put back either: the file may
                 // hold neither; a copy of the old bytes stays beside it
                 // where the directory allowed one
};

// What a save did: its result, and the files of Corvane's own that it left
// beside the file. None of them is readable by anyone but the user.
struct SaveOutcome {
  SaveResult result = SaveResult::kSaved;
  // For kDamaged: the copy beside the file that holds its old content;
  // empty where the directory allowed no copy.
  std::string oldContent;
  // Files the save made beside the file and could not remove: a temporary
  // file (emptied) or a copy of old content that was needed no more.
  std::vector<std::string> leftOver;
};

// The outcome of a save tried again after an earlier try of the same file
// failed, as the user must hear of both: a file that may hold neither stays
// so until a later try saves it, with the copy of its true old content (a
// later copy of the damaged bytes, and that copy once the file is saved, are
// left over); every file left over by either try is named.
SaveOutcome afterRetry(const SaveOutcome& earlier, const SaveOutcome& later);

// What reading a file found. A failure is kept apart from an absent file:
// a project file that is there but cannot be read must not be taken for a
// missing one and replaced.
enum class ReadStatus {
  kRead,          // bytes holds the content, up to the bound asked for
  kAbsent,        // no such file (nor, perhaps, the directory it would be in)
  kNotPlainFile,  // a device, a pipe or a socket: never read, they need not end
  kFailed,        // there, but it could not be opened or read; reason says why
};

struct FileContent {
  ReadStatus status = ReadStatus::kAbsent;
  std::string bytes;
  std::string reason;  // for kFailed: the system's words ("Input/output error")
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The current directory as an absolute path.
  virtual std::string currentDirectory() const = 0;

  // The names (no directory part) of the current directory's entries that
  // match "*." + extension without regard to case (see matchesExtension),
  // directories included, in the order the directory listing gives them.
  virtual std::vector<std::string> listMatching(const std::string& extension) const = 0;

  // What listMatching gives for each of the extensions, in their order, the
  // directory read once where the platform can.
  virtual std::vector<std::vector<std::string>> listMatchingEach(
      const std::vector<std::string>& extensions) const {
    std::vector<std::vector<std::string>> lists;
    for (const std::string& extension : extensions) lists.push_back(listMatching(extension));
    return lists;
  }

  // A number for what listMatching and listMatchingEach gave last, which
  // stays the same only while they would give the same again: what a caller
  // worked out from a listing may be kept as long as the number it asked for
  // right after listing stays. 0 where that cannot be told, and then nothing
  // may be kept.
  virtual std::uint64_t listingVersion() const { return 0; }

  // Whether a file or directory of that name exists. Accepts Windows-style
  // paths where the platform can map them (see the POSIX implementation).
  virtual bool exists(const std::string& path) const = 0;

  // Whether a file of that name exists and is not read-only. A file that
  // grants no write permission to anyone is read-only whoever asks, the
  // administrator included.
  virtual bool isWritable(const std::string& path) const = 0;

  // The content of a plain file up to `maxBytes` bytes (all of it when it is
  // shorter), read piece by piece so that no more memory is taken than the
  // bytes actually there, whatever size the file claims; or why there is
  // none (see ReadStatus). A directory is a file that cannot be read. Ask
  // for one byte more than you accept to learn that a file is larger.
  // Links are followed as a save follows them (see finalName): a link that
  // may not be followed makes a file that cannot be read.
  virtual FileContent readFile(const std::string& path, std::size_t maxBytes) const = 0;

  // Whether writing one name would replace the file the other names: the
  // same name, or on POSIX systems the same device and inode (hard links,
  // links, "./x" beside "x"), or for names not there yet the same name in
  // the same directory; on Windows the same full path without regard to case.
  virtual bool sameFile(const std::string& a, const std::string& b) const = 0;

  // For each of the names, the position of the first candidate that sameFile
  // finds the same file, or candidates.size() when none is. Where the
  // platform looks files up on the disk, each name and each candidate is
  // looked up once, however long the other list.
  virtual std::vector<std::size_t> firstSameFiles(const std::vector<std::string>& names,
                                                  const std::vector<std::string>& candidates) const {
    std::vector<std::size_t> first(names.size(), candidates.size());
    for (std::size_t n = 0; n < names.size(); ++n)
      for (std::size_t c = 0; c < candidates.size() && first[n] == candidates.size(); ++c)
        if (sameFile(names[n], candidates[c])) first[n] = c;
    return first;
  }

  // Replaces the file's content without ever losing the old one: the new
  // bytes go to a temporary file beside it which then takes the name, where
  // that keeps everything the old file had; otherwise (hard links, an owner,
  // group, extended attribute or inode flag that cannot be carried over, a
  // directory that allows no new file) the file is rewritten in place, with
  // a copy of its old bytes beside it until the new ones are on the disk,
  // and its old bytes are put back if the write fails. A name that is a
  // symbolic link keeps the link. Devices and pipes are written to, never
  // replaced; a read-only file is left alone. See platform/save_policy.h.
  virtual SaveOutcome saveFile(const std::string& path, const std::string& content) = 0;

  // The name a path finally leads to: the file a save under the path
  // would write and a read would read, which every check of a name to be
  // saved is about. On POSIX systems every symbolic link on the path is
  // followed, in its directory parts as at its end, as the save follows it
  // (a relative target is relative to the link's directory), and a dangling
  // link gives the name the save would create: "Project.gen -> util.h" gives
  // "util.h". Where a link may not be followed or cannot be, or a directory
  // on the way is missing, the path as far as it was followed. A path that
  // is no link, and on Windows any path, is given back as it is.
  virtual std::string finalName(const std::string& path) const { return path; }

  // The absolute path of the running program's own file, as it was started
  // where the platform can tell (a link to the program stays a link).
  virtual std::string programPath() const = 0;

  // The name that Windows programs give a directory of this disk, for the
  // makefile that the Borland tools read. On POSIX systems they run under
  // Wine, which names the disk through its drives (/home/me/.wine/drive_c/x
  // is C:\x); a path with a drive letter is such a name already, and "\"
  // separates there as it does for exists(). On Windows a path is that name
  // already, as it is by default.
  virtual std::string windowsDirectoryName(const std::string& directory) const {
    return directory;
  }

  // The directory that the path leads to, every symbolic link on the way
  // resolved; the path as given when it cannot be resolved. On Windows a
  // path is taken as given.
  virtual std::string resolvedDirectory(const std::string& directory) const {
    return directory;
  }

  // Splits a path into drive, directory, name and extension (see
  // splitPathName): a drive only on Windows.
  virtual PathParts splitPath(const std::string& path) const = 0;
};

// Whether a name matches the wildcard "*." + extension as the directory
// search of Windows matches a long name: it ends in a dot and the extension,
// in any case, and the "*" may match nothing (".c" is a C source).
inline bool matchesExtension(std::string_view name, std::string_view extension) {
  return name.size() > extension.size() && name[name.size() - extension.size() - 1] == '.' &&
         endsWithNoCase(name, extension);
}

}  // namespace corvane

#endif  // CORVANE_PLATFORM_FILE_SYSTEM_H

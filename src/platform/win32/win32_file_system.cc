#include "platform/native_file_system.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "platform/save_policy.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
#include "text/text_utils.h"

namespace corvane {

namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
// The attributes that SetFileAttributes can give a file.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;

// The most old bytes an in-place rewrite keeps in memory to put back: the
// project files Corvane loads are at most 16 MiB, its makefiles far smaller.
constexpr LONGLONG kMostOldBytes = LONGLONG{64} << 20;

// Every kind of sharing, so that Corvane's own handles never stand in the
// way of another program (or of its own next step).
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Asks a function of the GetCurrentDirectoryA kind (buffer size in, length
// out, or the size needed when the buffer is too small) for its text.
template <typename Call>
std::string growingBufferText(Call call) {
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    const std::size_t needed = static_cast<std::size_t>(length) + 1;
    buffer.resize(needed > buffer.size() * 2 ? needed : buffer.size() * 2);
  }
  return {};
}

// A read that failed, with the system's words for why (without the line
// end and the full stop Windows gives them, so that they fit in a sentence).
FileContent readFailure(DWORD error) {
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string reason = length != 0 ? std::string(message, length)
                                   : "error " + std::to_string(error);
  LocalFree(message);
  while (!reason.empty() && std::strchr("\r\n .", reason.back()) != nullptr) reason.pop_back();
  return {ReadStatus::kFailed, {}, reason};
}

bool writeAll(HANDLE file, const char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const std::size_t left = count - done;
    const DWORD chunk = left > std::numeric_limits<DWORD>::max() / 2
                            ? std::numeric_limits<DWORD>::max() / 2
                            : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, bytes + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool seekTo(HANDLE file, std::size_t position) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(position);
  return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

bool readAll(HANDLE file, std::string& bytes) {
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1 << 20));
    if (!ReadFile(file, &bytes[filled], wanted, &got, nullptr) || got == 0) return false;
    filled += got;
  }
  return true;
}

UniqueFileHandle openExisting(const std::string& path) {
  return UniqueFileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A security descriptor that grants the user alone all access and takes
// nothing from the directory: the files a save makes beside the target are
// nobody else's to read while they are written, or should one be left.
class PrivateSecurity {
 public:
  PrivateSecurity() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.resize(size);
    const bool known = size != 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
    CloseHandle(token);
    if (!known) return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
    acl_.resize(aclSize);
    ACL* acl = reinterpret_cast<ACL*>(acl_.data());
    valid_ = InitializeAcl(acl, aclSize, ACL_REVISION) &&
             AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
  }
  PrivateSecurity(const PrivateSecurity&) = delete;
  PrivateSecurity& operator=(const PrivateSecurity&) = delete;

  bool valid() const { return valid_; }
  SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

 private:
  std::vector<unsigned char> user_;
  std::vector<unsigned char> acl_;
  SECURITY_DESCRIPTOR descriptor_ = {};
  SECURITY_ATTRIBUTES attributes_ = {};
  bool valid_ = false;
};

// The steps of a save (platform/save_policy.h) through the Win32 API. An
// old file is replaced only through ReplaceFile, which carries over what
// belongs to it (its security descriptor, named streams, attributes,
// creation time): a plain rename would drop them, so an old file that
// ReplaceFile cannot replace is rewritten in place instead.
class Win32SaveSteps : public SaveSteps {
 public:
  explicit Win32SaveSteps(std::string path) : path_(std::move(path)) {}

  SaveTarget examine() override {
    if (path_.empty()) return SaveTarget::kCannotOpen;
    oldAttributes_ = GetFileAttributesA(path_.c_str());
    if (oldAttributes_ != kNoAttributes &&
        (oldAttributes_ & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
      return SaveTarget::kCannotOpen;
    }
    UniqueFileHandle existing = openExisting(path_);
    if (!existing.valid()) {
      // Anything but absence (in use, denied, no such directory) is a file
      // that cannot be opened.
      return GetLastError() == ERROR_FILE_NOT_FOUND ? SaveTarget::kAbsent
                                                    : SaveTarget::kCannotOpen;
    }
    replacing_ = true;
    // A device such as NUL or a pipe is written to, never replaced.
    if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
      special_ = std::move(existing);
      return SaveTarget::kSpecial;
    }
    // A rename would leave a second hard link with the old content.
    BY_HANDLE_FILE_INFORMATION information;
    return GetFileInformationByHandle(existing.get(), &information) &&
                   information.nNumberOfLinks == 1
               ? SaveTarget::kReplaceable
               : SaveTarget::kInPlaceOnly;
  }

  // The name is short, so that it fits wherever the target's own fits. A
  // file made beside an existing one is private: the old file may be
  // readable by fewer than the directory's new files are, and ReplaceFile
  // gives the new one the old one's access. The temporary file of a new
  // file gets the access the file itself will have, which a rename keeps.
  Made create(File file) override {
    const PathParts parts = splitPathName(path_, true);
    const std::string stem = parts.drive + parts.directory + "corvane-" +
                             std::to_string(GetCurrentProcessId() % 100000) + "-";
    PrivateSecurity security;
    const bool restricted = replacing_ || file != File::kTemporary;
    if (restricted && !security.valid()) return Made::kFailed;
    std::string& name = names_[index(file)];
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
      name = stem + std::to_string(attempt) + (file == File::kTemporary ? ".tmp" : ".old");
      UniqueFileHandle made(CreateFileA(name.c_str(), GENERIC_WRITE, 0,
                                        restricted ? security.attributes() : nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
      if (made.valid()) {
        files_[index(file)] = std::move(made);
        return Made::kMade;
      }
      error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS) error = ERROR_FILE_EXISTS;
    }
    name.clear();
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ? Made::kRefused
                                                                         : Made::kFailed;
  }

  std::string name(File file) const override {
    return file == File::kTarget ? path_ : names_[index(file)];
  }

  bool openTarget(std::string& old) override {
    UniqueFileHandle& file = files_[index(File::kTarget)];
    file = openExisting(path_);
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        size.QuadPart > kMostOldBytes) {
      return false;
    }
    old.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    return seekTo(file.get(), 0) && readAll(file.get(), old);
  }

  // ReplaceFile carries over what the old file had.
  bool prepare(bool) override { return true; }
  bool complete(bool) override { return true; }

  bool write(File file, std::string_view bytes) override {
    const HANDLE handle = files_[index(file)].get();
    return seekTo(handle, 0) && writeAll(handle, bytes.data(), bytes.size());
  }
  bool cut(std::uint64_t size) override {
    const HANDLE handle = files_[index(File::kTarget)].get();
    return seekTo(handle, static_cast<std::size_t>(size)) && SetEndOfFile(handle);
  }
  bool flush(File file) override { return FlushFileBuffers(files_[index(file)].get()) != 0; }
  bool close(File file) override { return files_[index(file)].reset(); }

  // Without a backup name ReplaceFile may fail after the old file is gone;
  // the new one then takes the name by a rename. Hidden, system or archive
  // flags of the old file stay with the name (ReplaceFile does this too;
  // the rename after a failed one needs it).
  bool replace(bool replacing) override {
    const std::string& temporary = names_[index(File::kTemporary)];
    if (!replacing) {
      return MoveFileExA(temporary.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    const DWORD kept = oldAttributes_ & kKeptAttributes;
    SetFileAttributesA(temporary.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    if (ReplaceFileA(path_.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
      return true;
    }
    return GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
           GetFileAttributesA(path_.c_str()) == kNoAttributes &&
           MoveFileExA(temporary.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH);
  }

  // A temporary file that cannot be removed is emptied: the copy is private
  // as it was made, the temporary file may have the directory's access.
  bool remove(File file) override {
    files_[index(file)].reset();
    const std::string& name = names_[index(file)];
    if (DeleteFileA(name.c_str())) return true;
    if (file == File::kTemporary) {
      SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
      UniqueFileHandle emptied(CreateFileA(name.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                           TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return false;
  }

  // The renames are made with MOVEFILE_WRITE_THROUGH.
  void syncDirectory() override {}

  SaveResult writeToSpecial(std::string_view content) override {
    return writeAll(special_.get(), content.data(), content.size()) ? SaveResult::kSaved
                                                                     : SaveResult::kCannotWrite;
  }

 private:
  static std::size_t index(File file) { return static_cast<std::size_t>(file); }

  std::string path_;
  DWORD oldAttributes_ = kNoAttributes;
  bool replacing_ = false;  // an old file is there
  UniqueFileHandle special_;
  std::array<UniqueFileHandle, 3> files_;
  std::array<std::string, 3> names_;
};

// Which file a name stands for: its volume's serial number and its index
// there, which hard links and 8.3 names share. Nothing when it cannot be
// opened (not there, most often).
std::optional<BY_HANDLE_FILE_INFORMATION> identityOf(const std::string& path) {
  // No access to the content: a file in use by another program, sharing
  // nothing, still tells who it is.
  UniqueFileHandle file(CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
  return information;
}

bool sameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// The full path, so that ".\\x", "x" and "sub\\..\\x" compare alike.
std::string fullPathOf(const std::string& path) {
  const std::string full = growingBufferText([&path](char* buffer, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
  });
  return full.empty() ? path : full;
}

std::string lastPartOf(const std::string& path) {
  return splitPathName(path, true).name + splitPathName(path, true).extension;
}

// What firstSameFiles needs to know of a name, looked up once.
struct NameFound {
  std::string fullPath;
  std::optional<BY_HANDLE_FILE_INFORMATION> identity;
  // Of a file there with no other hard link: the last parts it is reached
  // by, its long name and its 8.3 name.
  std::vector<std::string> lastParts;
};

NameFound lookUpName(const std::string& name) {
  NameFound found{fullPathOf(name), identityOf(name), {}};
  if (found.identity && found.identity->nNumberOfLinks == 1) {
    for (const auto call : {GetLongPathNameA, GetShortPathNameA}) {
      const std::string spelled = growingBufferText([&found, call](char* buffer, DWORD size) {
        return call(found.fullPath.c_str(), buffer, size);
      });
      if (!spelled.empty()) found.lastParts.push_back(lastPartOf(spelled));
    }
  }
  return found;
}

// Whether the candidate names the file the name, looked up already, names.
bool sameAsFound(const NameFound& name, const std::string& candidate) {
  const std::string candidatePath = fullPathOf(candidate);
  if (equalNoCase(name.fullPath, candidatePath)) return true;
  // Names not there yet are the same only by their full paths; a file with
  // one link is reached only by its long or its 8.3 name.
  if (!name.identity) return false;
  if (!name.lastParts.empty()) {
    const std::string last = lastPartOf(candidatePath);
    if (std::none_of(name.lastParts.begin(), name.lastParts.end(),
                     [&last](const std::string& part) { return equalNoCase(part, last); })) {
      return false;
    }
  }
  const std::optional<BY_HANDLE_FILE_INFORMATION> other = identityOf(candidate);
  return other && sameIdentity(*name.identity, *other);
}

}  // namespace

std::string NativeFileSystem::currentDirectory() const {
  return growingBufferText(
      [](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::optional<DirectoryStamp> NativeFileSystem::directoryStamp() const {
  UniqueFileHandle directory(CreateFileA(".", FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!directory.valid() || !GetFileInformationByHandle(directory.get(), &information))
    return std::nullopt;
  const auto ticks = [](const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
  };
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  DirectoryStamp stamp;
  stamp.volume = information.dwVolumeSerialNumber;
  stamp.file = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
               information.nFileIndexLow;
  stamp.modified = ticks(information.ftLastWriteTime);
  stamp.taken = ticks(now);
  stamp.ticksPerSecond = 10000000;  // a FILETIME counts 100 ns
  // NTFS and ReFS mark a directory's time whenever an entry comes, goes or
  // is renamed; FAT keeps a directory's time as it was made.
  wchar_t fileSystem[MAX_PATH + 1] = {};
  stamp.marksChanges =
      GetVolumeInformationByHandleW(directory.get(), nullptr, 0, nullptr, nullptr, nullptr,
                                    fileSystem, MAX_PATH + 1) &&
      (std::wcscmp(fileSystem, L"NTFS") == 0 || std::wcscmp(fileSystem, L"ReFS") == 0);
  return stamp;
}

// Every entry, matched afterwards by its long name (see matchesExtension):
// a search for "*.cpp" itself would also match through the short 8.3 names
// ("a.cppx" is A~1.CPP).
std::vector<std::string> NativeFileSystem::readDirectory() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  UniqueFindHandle search(FindFirstFileExA("*", FindExInfoBasic, &entry, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search.valid()) return names;
  do {
    const std::string_view name = entry.cFileName;
    if (name != "." && name != "..") names.emplace_back(name);
  } while (FindNextFileA(search.get(), &entry));
  return names;
}

bool NativeFileSystem::exists(const std::string& path) const {
  return GetFileAttributesA(path.c_str()) != kNoAttributes;
}

bool NativeFileSystem::isWritable(const std::string& path) const {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != kNoAttributes &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

FileContent NativeFileSystem::readFile(const std::string& path, std::size_t maxBytes) const {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    // A missing directory on the way means as little a file as a missing
    // file; every other refusal (in use, denied, a directory) is a failure.
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
    return readFailure(error);
  }
  // Only files on a disk: a device (CON, a serial port) or a pipe would
  // wait for input or never end.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return {ReadStatus::kNotPlainFile, {}, {}};
  // The content grows a piece at a time as it arrives and stops at the
  // bound, whatever size the file claims.
  FileContent read{ReadStatus::kRead, {}, {}};
  char piece[64 * 1024];
  while (read.bytes.size() < maxBytes) {
    const auto wanted = static_cast<DWORD>(std::min(sizeof piece, maxBytes - read.bytes.size()));
    DWORD got = 0;
    if (!ReadFile(file.get(), piece, wanted, &got, nullptr)) return readFailure(GetLastError());
    if (got == 0) break;
    read.bytes.append(piece, got);
  }
  return read;
}

bool NativeFileSystem::sameFile(const std::string& a, const std::string& b) const {
  if (a.empty() || b.empty()) return false;
  return sameAsFound(lookUpName(a), b);
}

// Each name is looked up once; a candidate is opened only where it may be
// the same file, so that a check against thousands of sources takes as many
// lookups only for a name with more than one hard link.
std::vector<std::size_t> NativeFileSystem::firstSameFiles(
    const std::vector<std::string>& names, const std::vector<std::string>& candidates) const {
  std::vector<std::size_t> first(names.size(), candidates.size());
  for (std::size_t n = 0; n < names.size(); ++n) {
    if (names[n].empty()) continue;
    const NameFound found = lookUpName(names[n]);
    for (std::size_t c = 0; c < candidates.size() && first[n] == candidates.size(); ++c) {
      if (!candidates[c].empty() && sameAsFound(found, candidates[c])) first[n] = c;
    }
  }
  return first;
}

SaveOutcome NativeFileSystem::saveFile(const std::string& path, const std::string& content) {
  Win32SaveSteps steps(path);
  return saveThrough(steps, content);
}

std::unique_ptr<SaveSteps> makeNativeSaveSteps(const std::string& path) {
  return std::make_unique<Win32SaveSteps>(path);
}

// Windows reports the program's file as it was started: the first argument
// (startedAs_) adds nothing.
std::string NativeFileSystem::programPath() const {
  // GetModuleFileNameA returns the buffer size (not the size needed) when the
  // path does not fit; growingBufferText doubles the buffer then.
  return growingBufferText(
      [](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); });
}

PathParts NativeFileSystem::splitPath(const std::string& path) const {
  return splitPathName(path, true);
}

}  // namespace corvane

#include "platform/native_file_system.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <optional>

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

// A new, empty file beside the named one, opened for writing; its name ends
// up in `name`. The name is short, so that it fits wherever the target's
// own name fits.
UniqueFileHandle createBeside(const std::string& path, const char* suffix, std::string& name) {
  const PathParts parts = splitPathName(path, true);
  const std::string stem = parts.drive + parts.directory + "corvane-" +
                           std::to_string(GetCurrentProcessId() % 100000) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = stem + std::to_string(attempt) + suffix;
    UniqueFileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  name.clear();
  return UniqueFileHandle();
}

// What a save through a temporary file came to.
enum class ThroughTemporary {
  kSaved,        // the new content has the name
  kCannotWrite,  // the content could not be written; nothing changed
  kRefused,      // the new file could not take the name keeping everything
                 // the old one had (no new file allowed, ReplaceFile
                 // refused); nothing changed
};

// What a save through a temporary file that was not refused reports.
SaveResult resultOf(ThroughTemporary outcome) {
  return outcome == ThroughTemporary::kSaved ? SaveResult::kSaved : SaveResult::kCannotWrite;
}

// Puts the finished temporary file in the place of the old one. Only
// ReplaceFile carries over what belongs to the old file (its security
// descriptor, named streams, attributes, creation time): a plain rename
// would drop them, so an old file that ReplaceFile cannot replace is
// rewritten in place instead. Without a backup name ReplaceFile may fail
// after the old file is gone; the new one then takes the name by a rename.
ThroughTemporary putInPlace(const std::string& tempPath, const std::string& path,
                            bool replacing) {
  if (!replacing) {
    return MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0
               ? ThroughTemporary::kSaved
               : ThroughTemporary::kRefused;
  }
  if (ReplaceFileA(path.c_str(), tempPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                   nullptr, nullptr)) {
    return ThroughTemporary::kSaved;
  }
  if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
      GetFileAttributesA(path.c_str()) == kNoAttributes &&
      MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return ThroughTemporary::kSaved;
  }
  return ThroughTemporary::kRefused;
}

// Writes the content to a temporary file that then takes the name; for an
// existing file (oldAttributes given) through ReplaceFile.
ThroughTemporary writeAndRename(const std::string& path, const std::string& content,
                                DWORD oldAttributes) {
  const bool replacing = oldAttributes != kNoAttributes;
  std::string tempPath;
  UniqueFileHandle temp = createBeside(path, ".tmp", tempPath);
  if (!temp.valid()) return ThroughTemporary::kRefused;
  bool written = writeAll(temp.get(), content.data(), content.size()) &&
                 FlushFileBuffers(temp.get());
  written = temp.reset() && written;
  if (!written) {
    DeleteFileA(tempPath.c_str());
    return ThroughTemporary::kCannotWrite;
  }
  if (replacing) {
    // Hidden, system or archive flags of the old file stay with the name
    // (ReplaceFile does this too; the rename after a failed one needs it).
    const DWORD kept = oldAttributes & kKeptAttributes;
    SetFileAttributesA(tempPath.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  }
  const ThroughTemporary result = putInPlace(tempPath, path, replacing);
  if (result != ThroughTemporary::kSaved) DeleteFileA(tempPath.c_str());
  return result;
}

// Before a file is rewritten in place, a copy of its old bytes beside it,
// flushed to the disk, for a crash part way that nothing can put back;
// removed once the new bytes are on the disk. `name` is empty where the
// directory allows no new file. False when the copy could not be made whole.
bool makeCrashCopy(const std::string& path, const std::string& old, std::string& name) {
  UniqueFileHandle copy = createBeside(path, ".old", name);
  if (!copy.valid()) {
    const DWORD error = GetLastError();
    name.clear();
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
  }
  const bool whole =
      writeAll(copy.get(), old.data(), old.size()) && FlushFileBuffers(copy.get());
  if (copy.reset() && whole) return true;
  DeleteFileA(name.c_str());
  name.clear();
  return false;
}

bool writeFromStart(HANDLE file, const std::string& bytes) {
  return seekTo(file, 0) && writeAll(file, bytes.data(), bytes.size()) &&
         seekTo(file, bytes.size()) && SetEndOfFile(file) && FlushFileBuffers(file);
}

// Rewrites an open file in place: the new bytes over the old, then the end
// of the file moved to the new length and flushed. All the old bytes are
// kept, in memory and in a copy beside the file, to put the file back
// exactly when that fails.
SaveResult rewriteInPlace(const std::string& path, HANDLE file, const std::string& content) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kMostOldBytes) {
    return SaveResult::kCannotOpen;
  }
  std::string old(static_cast<std::size_t>(size.QuadPart), '\0');
  if (!seekTo(file, 0) || !readAll(file, old)) return SaveResult::kCannotOpen;
  std::string copy;
  if (!makeCrashCopy(path, old, copy)) return SaveResult::kCannotWrite;
  SaveResult result = SaveResult::kSaved;
  if (!writeFromStart(file, content)) {
    result = writeFromStart(file, old) ? SaveResult::kCannotWrite : SaveResult::kDamaged;
  }
  // The copy stays for the user when the file may hold neither content.
  if (!copy.empty() && result != SaveResult::kDamaged) DeleteFileA(copy.c_str());
  return result;
}

UniqueFileHandle openExisting(const std::string& path) {
  return UniqueFileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
  // Full paths, so that ".\\x", "x" and "sub\\..\\x" compare alike.
  const auto fullPath = [](const std::string& path) {
    const std::string full = growingBufferText([&path](char* buffer, DWORD size) {
      return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
    });
    return full.empty() ? path : full;
  };
  return equalNoCase(fullPath(a), fullPath(b));
}

SaveResult NativeFileSystem::saveFile(const std::string& path, const std::string& content) {
  if (path.empty()) return SaveResult::kCannotOpen;
  const DWORD oldAttributes = GetFileAttributesA(path.c_str());
  if (oldAttributes != kNoAttributes &&
      (oldAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return SaveResult::kCannotOpen;
  }
  UniqueFileHandle existing = openExisting(path);
  if (!existing.valid()) {
    // Absent: a new file. Anything else (in use, denied, no such
    // directory) is a file that cannot be opened.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return SaveResult::kCannotOpen;
    const ThroughTemporary outcome = writeAndRename(path, content, kNoAttributes);
    if (outcome != ThroughTemporary::kRefused) return resultOf(outcome);
    return SaveResult::kCannotOpen;
  }
  // A device such as NUL or a pipe is written to, never replaced.
  if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
    return writeAll(existing.get(), content.data(), content.size()) ? SaveResult::kSaved
                                                                     : SaveResult::kCannotWrite;
  }
  // A rename would leave a second hard link with the old content.
  BY_HANDLE_FILE_INFORMATION information;
  if (GetFileInformationByHandle(existing.get(), &information) &&
      information.nNumberOfLinks == 1) {
    existing.reset();
    const ThroughTemporary outcome = writeAndRename(path, content, oldAttributes);
    if (outcome != ThroughTemporary::kRefused) return resultOf(outcome);
    existing = openExisting(path);
    if (!existing.valid()) return SaveResult::kCannotOpen;
  }
  return rewriteInPlace(path, existing.get(), content);
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

#include "platform/win32/win32_file_system.h"

#include <limits>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/windows_path.h"

namespace corvane {

namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
// The attributes that SetFileAttributes can give a file.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;

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

bool writeAll(HANDLE file, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const std::size_t left = content.size() - done;
    const DWORD chunk = left > std::numeric_limits<DWORD>::max() / 2
                            ? std::numeric_limits<DWORD>::max() / 2
                            : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// A new, empty file beside the named one, opened for writing; its name ends
// up in tempPath. The name is the target's plus a suffix, so it is in the
// same directory whatever form the path has.
UniqueFileHandle createTempBeside(const std::string& path, std::string& tempPath) {
  const std::string stem = path + ".~" + std::to_string(GetCurrentProcessId()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = stem + std::to_string(attempt) + ".tmp";
    UniqueFileHandle file(CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  tempPath.clear();
  return UniqueFileHandle();
}

// Whether an existing file could be written and then replaced: it is no
// directory, not read-only, and no other program holds it in a way that
// forbids writing or renaming over it.
bool canReplace(const std::string& path, DWORD attributes) {
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
  UniqueFileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe.valid();
}

// Puts the finished temporary file in the place of the old one. ReplaceFile
// carries over what belongs to the old file (attributes, creation time,
// security); the plain rename is the fall-back where it is not supported.
bool putInPlace(const std::string& tempPath, const std::string& path, bool replacing) {
  if (replacing && ReplaceFileA(path.c_str(), tempPath.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  return MoveFileExA(tempPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

std::string Win32FileSystem::currentDirectory() const {
  return growingBufferText(
      [](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::vector<std::string> Win32FileSystem::listMatching(const std::string& extension) const {
  std::vector<std::string> names;
  const std::string pattern = "*." + extension;
  WIN32_FIND_DATAA entry;
  UniqueFindHandle search(FindFirstFileA(pattern.c_str(), &entry));
  if (!search.valid()) return names;
  do {
    // The search also matches through the short 8.3 names ("a.cppx" is
    // A~1.CPP); only long names that really end in the extension count.
    if (hasExtension(entry.cFileName, extension)) names.emplace_back(entry.cFileName);
  } while (FindNextFileA(search.get(), &entry));
  return names;
}

bool Win32FileSystem::exists(const std::string& path) const {
  return GetFileAttributesA(path.c_str()) != kNoAttributes;
}

bool Win32FileSystem::isWritable(const std::string& path) const {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != kNoAttributes &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) const {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    content.append(buffer, got);
  }
  return content;
}

SaveResult Win32FileSystem::saveFile(const std::string& path, const std::string& content) {
  const DWORD oldAttributes = GetFileAttributesA(path.c_str());
  const bool replacing = oldAttributes != kNoAttributes;
  if (replacing && !canReplace(path, oldAttributes)) return SaveResult::kCannotOpen;

  std::string tempPath;
  UniqueFileHandle temp = createTempBeside(path, tempPath);
  if (!temp.valid()) return SaveResult::kCannotOpen;

  bool written = writeAll(temp.get(), content) && FlushFileBuffers(temp.get());
  written = temp.reset() && written;
  if (written && replacing) {
    // Hidden, system or archive flags of the old file stay with the name
    // (ReplaceFile does this too; the rename needs it done beforehand).
    const DWORD kept = oldAttributes & kKeptAttributes;
    SetFileAttributesA(tempPath.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  }
  if (written && putInPlace(tempPath, path, replacing)) return SaveResult::kSaved;
  DeleteFileA(tempPath.c_str());
  return SaveResult::kCannotWrite;
}

std::string Win32FileSystem::programPath() const {
  // GetModuleFileNameA returns the buffer size (not the size needed) when the
  // path does not fit; growingBufferText doubles the buffer then.
  return growingBufferText(
      [](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); });
}

PathParts Win32FileSystem::splitPath(const std::string& path) const {
  return splitWindowsPath(path);
}

// Windows reports the program's file as it was started: the first argument
// adds nothing.
std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& /*startedAs*/) {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace corvane

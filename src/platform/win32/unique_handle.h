// Owns a Win32 file or search handle and closes it when it goes, so that no
// way out of a function leaks one.
#ifndef CORVANE_PLATFORM_WIN32_UNIQUE_HANDLE_H
#define CORVANE_PLATFORM_WIN32_UNIQUE_HANDLE_H

#include <utility>

#include "platform/win32/windows_api.h"

namespace corvane {

// Close is CloseHandle for files and FindClose for directory searches.
template <BOOL(WINAPI* Close)(HANDLE)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes now and tells whether closing succeeded (for files, the last
  // chance to hear about a failed write).
  bool reset() {
    bool closed = true;
    if (valid()) closed = Close(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

using UniqueFileHandle = UniqueHandle<CloseHandle>;
using UniqueFindHandle = UniqueHandle<FindClose>;

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_UNIQUE_HANDLE_H

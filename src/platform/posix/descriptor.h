// Owns a file descriptor and closes it on every way out of a function; and
// writes a whole buffer to a descriptor.
#ifndef CORVANE_PLATFORM_POSIX_DESCRIPTOR_H
#define CORVANE_PLATFORM_POSIX_DESCRIPTOR_H

#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "platform/posix/system_calls.h"

namespace corvane {

class Descriptor {
 public:
  // With `calls` given, the descriptor is closed through them.
  explicit Descriptor(int fd, SystemCalls* calls = nullptr) : fd_(fd), calls_(calls) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& other) noexcept : fd_(other.fd_), calls_(other.calls_) { other.fd_ = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      close();
      fd_ = other.fd_;
      calls_ = other.calls_;
      other.fd_ = -1;
    }
    return *this;
  }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether that succeeded: for a file just written,
  // the last word on whether the writes made it.
  bool close() {
    const bool closed = fd_ < 0 || (calls_ != nullptr ? calls_->close(fd_) : ::close(fd_)) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
  SystemCalls* calls_;
};

// Writes every byte with `write` (called as write(2) is), retrying short and
// interrupted writes; false when the descriptor takes no more.
template <typename Write>
bool writeAllWith(Write write, int fd, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t done = write(fd, bytes, count);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    count -= static_cast<std::size_t>(done);
  }
  return true;
}

// writeAllWith the system's write. Only calls that a signal handler may
// make, so that the handlers restoring the terminal or undoing a save can
// use it.
inline bool writeAll(int fd, const char* bytes, std::size_t count) {
  return writeAllWith(::write, fd, bytes, count);
}

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_DESCRIPTOR_H

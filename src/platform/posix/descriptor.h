// Owns a file descriptor and closes it on every way out of a function.
#ifndef CORVANE_PLATFORM_POSIX_DESCRIPTOR_H
#define CORVANE_PLATFORM_POSIX_DESCRIPTOR_H

#include <unistd.h>

namespace corvane {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether that succeeded: for a file just written,
  // the last word on whether the writes made it.
  bool close() {
    const bool closed = fd_ < 0 || ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_DESCRIPTOR_H

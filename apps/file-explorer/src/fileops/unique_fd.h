#pragma once

#include <unistd.h>

#include <utility>

namespace files::fileops {

/// Owns one file descriptor and closes it when discarded. Errors of close() on read-only or
/// directory descriptors carry no information we could act on, so they are ignored here;
/// writers that must know call `close_checked` instead.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  /// Closes now and reports the errno of a failed close (0 on success). A failed close of a
  /// file we wrote can mean the data never reached the disk (NFS, quota), so copies check it.
  int close_checked() {
    if (fd_ < 0) return 0;
    const int rc = ::close(std::exchange(fd_, -1));
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_ = -1;
};

}  // namespace files::fileops

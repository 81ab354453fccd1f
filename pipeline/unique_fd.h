// An open file descriptor that is closed when it goes, and writing a whole
// text to one.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

struct UniqueFd {
  int fd = -1;

  UniqueFd() = default;
  explicit UniqueFd(int opened) : fd(opened) {}
  UniqueFd(UniqueFd&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.fd, -1));
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  explicit operator bool() const { return fd >= 0; }
  /// Closes the descriptor held and holds `opened` instead; 0, or -1 when the close failed.
  int reset(int opened = -1) {
    int status = fd >= 0 ? close(fd) : 0;
    fd = opened;
    return status;
  }
};

/// Writes all of `text`, going on after a short write or an interrupt; false on an error.
inline bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

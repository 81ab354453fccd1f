// An open file descriptor that is closed when it goes.
#pragma once

#include <unistd.h>

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

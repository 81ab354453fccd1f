#include "support/root_powers.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

std::string setImmutable(const std::string& path, bool immutable) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return failure("open");
  }
  int flags = 0;
  std::string why;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
    why = failure("reading the file attributes");
  } else {
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    if (ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
      why = failure("setting the immutable attribute");
    }
  }
  close(fd);
  return why;
}

std::string bindMount(const std::string& source, const std::string& target) {
  static const std::string privateNamespace = []() -> std::string {
    if (unshare(CLONE_NEWNS) != 0) {
      return failure("a mount namespace of its own");
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return failure("private mounts");
    }
    return {};
  }();
  if (!privateNamespace.empty()) {
    return privateNamespace;
  }
  return mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0 ? std::string() : failure("bind mount");
}

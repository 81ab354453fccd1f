#include "support/root_powers.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::string setImmutable(const std::string& path, bool immutable) {
  // The paths come from the tests themselves and hold no quote.
  const std::string command = std::string("chattr ") + (immutable ? "+i '" : "-i '") + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0 ? std::string() : "chattr refused";
}

std::string bindMount(const std::string& source, const std::string& target) {
  static const int namespaceError =
      unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
  if (namespaceError != 0) {
    return std::string("no mount namespace of its own: ") + std::strerror(namespaceError);
  }
  if (mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    return std::string("no bind mount: ") + std::strerror(errno);
  }
  return {};
}

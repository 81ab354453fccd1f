// Entry point of talvo_s: owns the single run settings and constraint store.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "constraint/store.h"
#include "driver/run_control.h"
#include "settings/run_settings.h"

namespace {

// A closed standard descriptor would be taken by the next file opened (the
// input list, say) and the log would land in it: park /dev/null there first.
void guardStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1) {
      int opened = open("/dev/null", O_RDWR);
      if (opened >= 0 && opened != fd) {
        close(opened);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  guardStandardDescriptors();
  try {
    std::vector<std::string> args(argv, argv + argc);
    RunSettings settings;
    ConstraintStore store;
    return runTalvo(args, settings, store, runInShell);
  } catch (const std::bad_alloc&) {
    std::puts("talvo_s:Error:Short of memory");
    std::fflush(stdout);
    return -1;
  }
}

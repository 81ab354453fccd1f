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
// project's lock, say) and the log would land in it: park /dev/null there first.
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
    const int status = runTalvo(args, settings, store, runInShell, StopSignals::caught);
    if (const int signal = pendingStopSignal(); signal != 0) {
      endByStopSignal(signal);  // a calling shell or make sees the run killed, and stops too
    }
    return status;
  } catch (const std::bad_alloc&) {
    std::puts("talvo_s:Error:Short of memory");
    std::fflush(stdout);
    return -1;
  }
}

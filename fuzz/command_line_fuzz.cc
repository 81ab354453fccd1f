// The command-line walk over an argument vector built from the input: the
// bytes are split at NUL into arguments. Never crashes; whatever it reports
// is counted.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "settings/command_line.h"
#include "settings/consistency.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // The walk prints its messages on standard output; keep the fuzzer's log readable.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) {
    return 1;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{"talvo_s"};
  std::string current;
  for (size_t k = 0; k < size; ++k) {
    if (data[k] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[k]));
    }
  }
  args.push_back(current);
  RunSettings rs;
  parseCommandLine(rs, args);
  checkOptionConsistency(rs);
  return 0;
}

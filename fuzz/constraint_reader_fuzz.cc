// The constraint file reader with options and directives both on, then the
// applying step and the release, on arbitrary file contents.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "constraint/constraint.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // The reader and the applying step print on standard output.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) {
    return 1;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ConstraintStore store;
  setConstraintMode(store, 1, 1);
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (readConstraintText(store, text, "fuzz.ctf") == 0) {
    RunSettings rs;
    applyConstraintOptions(store, rs);
  }
  releaseConstraintStore(store);
  return 0;
}

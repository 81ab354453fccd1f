// parseTableSpec on arbitrary text: never crashes, and a rejected text leaves
// the setting exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/run_settings.h"
#include "settings/table_spec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  TableSetting before{7, 11, 13, 17};
  for (bool withAngle : {true, false}) {
    TableSetting t = before;
    int rc = parseTableSpec(text.c_str(), t.mode, t.size, t.bits, withAngle ? &t.angle : nullptr);
    if (rc != 0 && (t.mode != before.mode || t.size != before.size || t.bits != before.bits || t.angle != before.angle)) {
      std::abort();
    }
    if (rc == 0 && t.mode != 1 && t.mode != 2) {
      std::abort();
    }
    if (rc == 0 && t.mode == 2 && t.size != before.size &&
        (isTableSize(t.size) != 0 || isTableBits(t.bits) != 0)) {
      std::abort();
    }
  }
  return 0;
}

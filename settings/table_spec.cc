#include "settings/table_spec.h"

#include "settings/number.h"
#include "settings/tokens.h"

int isTableSize(int32_t value) {
  for (int32_t size = 64; size <= 4096; size *= 2) {
    if (value == size) {
      return 0;
    }
  }
  return -1;
}

int isTableBits(int32_t value) { return (value == 8 || value == 16 || value == 24 || value == 32) ? 0 : -1; }

int isTableAngle(int32_t value) { return (value == 90 || value == 180 || value == 360) ? 0 : -1; }

int parseTableSpec(std::string_view text, int32_t& mode, int32_t& size, int32_t& bits, int32_t* angle) {
  if (text == "off") {
    mode = 1;
    return 0;
  }
  if (text == "on") {
    mode = 2;
    return 0;
  }
  TokenCursor cursor{text};
  std::string_view sizeText = nextToken(cursor, " :");
  std::string_view bitsText = nextToken(cursor, ":");
  std::string_view angleText = angle != nullptr ? nextToken(cursor, ":") : std::string_view{};
  if (sizeText.empty() || bitsText.empty() || (angle != nullptr && angleText.empty())) {
    return -1;
  }
  int32_t newSize = toInt32(sizeText);
  int32_t newBits = toInt32(bitsText);
  int32_t newAngle = angle != nullptr ? toInt32(angleText) : 0;
  if (isTableSize(newSize) != 0 || isTableBits(newBits) != 0 || (angle != nullptr && isTableAngle(newAngle) != 0)) {
    return -1;
  }
  mode = 2;
  size = newSize;
  bits = newBits;
  if (angle != nullptr) {
    *angle = newAngle;
  }
  return 0;
}

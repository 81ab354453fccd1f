// Math-table specifications: "off", "on" or "<size>:<bits>[:<angle>]".
#pragma once

#include <cstdint>
#include <string_view>

/// Parses the text of a table option into the fields of one table setting.
/// `angle` is required and checked when given, ignored in the text otherwise.
/// Returns 0, or -1 and leaves every field as it was.
int parseTableSpec(std::string_view text, int32_t& mode, int32_t& size, int32_t& bits, int32_t* angle);

/// Each returns 0 for an accepted value, -1 otherwise.
int isTableSize(int32_t value);
int isTableBits(int32_t value);
int isTableAngle(int32_t value);

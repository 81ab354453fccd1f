// Decimal number reading shared by the option handlers and the constraint file.
#pragma once

#include <cstdint>
#include <string_view>

/// Reads a base-10 integer like strtol(text, nullptr, 10): leading white
/// space and one sign are allowed, reading stops at the first non-digit, text
/// without digits gives 0, and the result saturates at the int32 limits.
int32_t toInt32(std::string_view text);

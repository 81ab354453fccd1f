// The options whose value is one of a few keywords, and the code each
// keyword stands for in the run settings. The command line and the
// constraint file read the keywords; applying a constraint file echoes them.
#pragma once

#include <cstdint>
#include <string_view>

/// A keyword value and the code stored for it.
struct KeywordCode {
  std::string_view keyword;
  int32_t code;
};

enum class KeywordMatch {
  kWholeValue,      // the value must equal the keyword
  kFirstCharacter,  // only the first character counts; the rest is ignored
};

// Where several keywords share a code, the first one is the echoed one.
inline constexpr KeywordCode kRoundingModes[] = {{"t", 1}, {"r", 0}, {"e", 2}, {"c", 3}, {"f", 4}};
inline constexpr KeywordCode kOverflowModes[] = {{"i", 1}, {"s", 0}};
inline constexpr KeywordCode kSqrtTableModes[] = {{"on", 2}, {"off", 1}, {"1", 2}, {"2", 3}};
inline constexpr KeywordCode kFdpModes[] = {{"y", 1}, {"Y", 1}, {"n", 0}, {"N", 0}, {"m", 2}, {"M", 2}};
inline constexpr KeywordCode kGrunLevels[] = {{"0", 0}, {"1", 1}, {"2", 2}};

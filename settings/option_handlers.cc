#include "settings/option_handlers.h"

#include <algorithm>
#include <string_view>

#include "settings/report.h"
#include "settings/number.h"
#include "settings/tokens.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool beginsWithDigit(std::string_view text) { return !text.empty() && isDigit(text.front()); }

// "option : '<argument>' <phrase>", the argument shown whole.
void warnAboutRange(RunSettings& rs, std::string_view argument, std::string_view phrase) {
  std::string message = "option : '";
  message.append(argument).append("' ").append(phrase);
  reportWarning(rs, message);
}

// Brings a bit size back into 0..64: too large becomes 64, too small the
// default 32. `shown` is the argument the warning names.
void limitBitSize(RunSettings& rs, int32_t& bits, std::string_view shown, std::string_view tooLarge,
                  std::string_view tooSmall) {
  if (bits > 64) {
    warnAboutRange(rs, shown, tooLarge);
    bits = 64;
  } else if (bits < 0) {
    warnAboutRange(rs, shown, tooSmall);
    bits = 32;
  }
}

}  // namespace

size_t takeMaximumBits(RunSettings& rs, const OptionRow& /*row*/, std::span<const std::string> args, size_t index) {
  size_t current = index;
  if (index + 1 < args.size() && beginsWithDigit(args[index + 1])) {
    current = index + 1;
    rs.max = toInt32(args[current]);
    if (rs.maxtGiven == 0) {
      rs.maxt = rs.max;  // before the range check: "-max 70" leaves maxt at 70
    }
  }
  // Also catches a value that came from the constraint file.
  limitBitSize(rs, rs.max, args[current], "is too large(Maximum bitsize can allow [0-64]).",
               "is too small(Maximum bitsize can allow [0-64]).");
  return current;
}

size_t takeMaximumTBits(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index) {
  size_t current = index;
  if (index + 1 < args.size() && beginsWithDigit(args[index + 1])) {
    current = index + 1;
    std::string_view digits = args[current];
    if (digits.back() == 'd') {
      rs.maxtSuffix = 'd';
      digits.remove_suffix(1);
    }
    if (std::all_of(digits.begin(), digits.end(), isDigit)) {
      rs.maxt = toInt32(digits);
      rs.maxtGiven = 1;
    } else {
      reportError(rs, row.message);
    }
  }
  limitBitSize(rs, rs.maxt, args[current], "is too large(Maximum-T bitsize can allow [0-64]).",
               "is too small(Maximum-T bitsize can allow [0-64]).");
  return current;
}

size_t takeBitList(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index) {
  if (index + 1 >= args.size()) {
    reportError(rs, row.message);
    return index;
  }
  const std::string& value = args[index + 1];
  TokenCursor cursor{value};
  for (std::string_view piece = nextToken(cursor, " :,\t"); !piece.empty(); piece = nextToken(cursor, " :,\t")) {
    if (toInt32(piece) < 1) {
      reportError(rs, row.message);
      return index + 1;
    }
  }
  rs.bx_bits = value;
  return index + 1;
}

size_t takeDefinition(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index) {
  const std::string& option = args[index];
  if (option.size() > row.name.size()) {
    appendDefinition(rs, std::string_view(option).substr(row.name.size()));
    return index;
  }
  if (index + 1 >= args.size()) {
    reportError(rs, row.message);
    return index;
  }
  if (args[index + 1].starts_with('-')) {
    reportError(rs, row.message);
  } else {
    appendDefinition(rs, args[index + 1]);
  }
  return index + 1;
}

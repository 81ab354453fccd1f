// The command-line options as data: one row per option, saying what kind of
// value it takes, which setting it writes and what it reports for a bad or a
// missing value. The walk (command_line.cc) reads the rows; only the options
// no row kind can describe have a hand-written handler (option_handlers.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/keyword_codes.h"
#include "settings/run_settings.h"

struct OptionRow;

/// A hand-written option: gets its own index and returns the index of the
/// last argument it consumed (its own index when it took nothing).
using OptionHandler = size_t (*)(RunSettings& rs, const OptionRow& row, std::span<const std::string> args,
                                 size_t index);

/// One setting a flag option writes and the value written (1 or 0 for a bool).
struct FlagAssignment {
  std::variant<bool RunSettings::*, int32_t RunSettings::*> setting;
  int32_t value = 1;
};

constexpr FlagAssignment turnOn(bool RunSettings::*setting) { return {setting, 1}; }
constexpr FlagAssignment turnOff(bool RunSettings::*setting) { return {setting, 0}; }
constexpr FlagAssignment assign(int32_t RunSettings::*setting, int32_t value) { return {setting, value}; }

/// An option without a value; unused assignments stay empty.
struct Flag {
  std::array<FlagAssignment, 3> assignments;
};

/// What becomes of a value that is no keyword of the option.
enum class Rejected {
  kError,        // reported and consumed
  kLeftForWalk,  // not consumed, no message: the walk looks at it again
};

struct Keyword {
  int32_t RunSettings::*setting;
  std::span<const KeywordCode> codes;
  KeywordMatch match;
  Rejected rejected;
};

/// The numbers a numeric option accepts; a rejected value is reported,
/// consumed, and leaves the setting as it was.
enum class NumberRange {
  kAny,             // every number
  kNegativeAsZero,  // every number, a negative one stored as 0
  kGhbitWidth,      // 2, 4, 8, 16, 32 or 64
  kOneOrMore,       // 1 or more
  kStackSize,       // 1,024,000 or more
};

/// The widths kGhbitWidth accepts, also offered by the shell completion.
inline constexpr int32_t kGhbitWidths[] = {2, 4, 8, 16, 32, 64};

struct Number {
  std::array<int32_t RunSettings::*, 3> settings;  // unused entries stay null
  NumberRange range;
};

/// A text value, stored unchanged whatever it looks like.
struct Text {
  std::variant<std::string RunSettings::*, std::optional<std::string> RunSettings::*> setting;
};

/// A math-table value ("off", "on" or numbers), read by parseTableSpec.
struct Table {
  TableSetting RunSettings::*setting;
  bool withAngle;
};

/// A path list option: the value is appended.
struct PathList {
  std::vector<std::string> RunSettings::*setting;
};

/// "-ctf": its value, the constraint file, was taken before the walk.
struct SkipValue {};

struct Special {
  OptionHandler handler;
};

using OptionValue = std::variant<Flag, Keyword, Number, Text, Table, PathList, SkipValue, Special>;

/// What happens when the option is the last argument and its value is missing.
enum class OnMissing {
  kEnd,    // the walk ends without a message
  kError,  // the option's message is reported (then the walk ends)
};

enum class NameMatch {
  kWhole,   // the whole argument is the option name
  kPrefix,  // any argument that begins with the name (only "-D")
};

// The fields are in the order the rows are written in, not packed.
struct OptionRow {  // NOLINT(clang-analyzer-optin.performance.Padding)
  std::string_view name;
  OptionValue value;
  OnMissing missing = OnMissing::kEnd;
  std::string_view message = {};  // for a bad value, and a missing one with kError
  NameMatch nameMatch = NameMatch::kWhole;
};

/// Every option the command line accepts, in the order of the walk's tables.
std::span<const OptionRow> commandLineOptions();

/// The names of every option the command line accepts ("-D" included).
std::vector<std::string> commandLineOptionNames();

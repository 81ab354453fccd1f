#include "settings/command_line.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <variant>

#include "settings/report.h"
#include "settings/number.h"
#include "settings/option_table.h"
#include "settings/table_spec.h"

namespace {

template <class... Kinds>
struct Overloaded : Kinds... {
  using Kinds::operator()...;
};
template <class... Kinds>
Overloaded(Kinds...) -> Overloaded<Kinds...>;

const OptionRow* findOption(std::span<const OptionRow> table, std::string_view argument) {
  for (const OptionRow& row : table) {
    if (row.nameMatch == NameMatch::kWhole ? argument == row.name : argument.starts_with(row.name)) {
      return &row;
    }
  }
  return nullptr;
}

void applyFlag(RunSettings& rs, const Flag& flag) {
  for (const FlagAssignment& assignment : flag.assignments) {
    std::visit(Overloaded{
                   [&](bool RunSettings::*setting) {
                     if (setting != nullptr) {
                       rs.*setting = assignment.value != 0;
                     }
                   },
                   [&](int32_t RunSettings::*setting) {
                     if (setting != nullptr) {
                       rs.*setting = assignment.value;
                     }
                   },
               },
               assignment.setting);
  }
}

const KeywordCode* findKeyword(const Keyword& keyword, std::string_view value) {
  for (const KeywordCode& code : keyword.codes) {
    bool matches = keyword.match == KeywordMatch::kWholeValue ? value == code.keyword
                                                              : !value.empty() && value.front() == code.keyword.front();
    if (matches) {
      return &code;
    }
  }
  return nullptr;
}

// Returns the index of the last argument taken: the value's, or the option's
// own when the value is left for the walk.
size_t applyKeyword(RunSettings& rs, const OptionRow& row, const Keyword& keyword, size_t valueIndex,
                    std::string_view value) {
  if (const KeywordCode* code = findKeyword(keyword, value)) {
    rs.*keyword.setting = code->code;
    return valueIndex;
  }
  if (keyword.rejected == Rejected::kLeftForWalk) {
    return valueIndex - 1;
  }
  reportError(rs, row.message);
  return valueIndex;
}

bool acceptNumber(NumberRange range, int32_t& number) {
  switch (range) {
    case NumberRange::kAny:
      return true;
    case NumberRange::kNegativeAsZero:
      number = number < 0 ? 0 : number;
      return true;
    case NumberRange::kGhbitWidth:
      return std::ranges::find(kGhbitWidths, number) != std::end(kGhbitWidths);
    case NumberRange::kOneOrMore:
      return number >= 1;
    case NumberRange::kStackSize:
      return number > 1023999;
  }
  return false;
}

void applyNumber(RunSettings& rs, const OptionRow& row, const Number& number, std::string_view value) {
  int32_t parsed = toInt32(value);
  if (!acceptNumber(number.range, parsed)) {
    reportError(rs, row.message);
    return;
  }
  for (int32_t RunSettings::*setting : number.settings) {
    if (setting != nullptr) {
      rs.*setting = parsed;
    }
  }
}

void applyText(RunSettings& rs, const Text& text, const std::string& value) {
  std::visit([&](auto setting) { rs.*setting = value; }, text.setting);
}

void applyTable(RunSettings& rs, const OptionRow& row, const Table& table, const std::string& value) {
  TableSetting& setting = rs.*table.setting;
  if (parseTableSpec(value, setting.mode, setting.size, setting.bits, table.withAngle ? &setting.angle : nullptr) !=
      0) {
    reportError(rs, row.message);
  }
}

// Applies one option found at `index`; returns the index of the last
// argument it took.
size_t applyOption(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index) {
  if (const auto* special = std::get_if<Special>(&row.value)) {
    return special->handler(rs, row, args, index);
  }
  if (const auto* flag = std::get_if<Flag>(&row.value)) {
    applyFlag(rs, *flag);
    return index;
  }
  // Every other kind takes the next argument, whatever it looks like.
  const size_t valueIndex = index + 1;
  if (valueIndex >= args.size()) {
    if (row.missing == OnMissing::kError) {
      reportError(rs, row.message);
    }
    return index;
  }
  const std::string& value = args[valueIndex];
  return std::visit(Overloaded{
                        [&](const Keyword& keyword) { return applyKeyword(rs, row, keyword, valueIndex, value); },
                        [&](const Number& number) {
                          applyNumber(rs, row, number, value);
                          return valueIndex;
                        },
                        [&](const Text& text) {
                          applyText(rs, text, value);
                          return valueIndex;
                        },
                        [&](const Table& table) {
                          applyTable(rs, row, table, value);
                          return valueIndex;
                        },
                        [&](const PathList& list) {
                          (rs.*list.setting).push_back(value);
                          return valueIndex;
                        },
                        [&](const SkipValue&) { return valueIndex; },
                        [&](const auto&) { return index; },  // Flag and Special: handled above
                    },
                    row.value);
}

// An argument that names no option: a mistyped option or an input file.
void takeOtherArgument(RunSettings& rs, const std::string& argument) {
  if (argument.starts_with('-')) {
    reportError(rs, "option : '" + argument + "' No such option.");
  } else if (argument.starts_with("./")) {
    // ".//a.c" is "a.c", not the absolute "/a.c": the name stays in the project.
    std::string_view name = std::string_view(argument).substr(2);
    name.remove_prefix(std::min(name.find_first_not_of('/'), name.size()));
    // "./-x.c" keeps its "./": bare, the tools would read the name as an option.
    appendInputFile(rs, name.starts_with('-') ? "./" + std::string(name) : std::string(name));
  } else {
    appendInputFile(rs, argument);
  }
}

}  // namespace

void parseCommandLine(RunSettings& rs, const std::vector<std::string>& args) {
  parseCommandLine(rs, args, commandLineOptions());
}

void parseCommandLine(RunSettings& rs, const std::vector<std::string>& args, std::span<const OptionRow> table) {
  for (size_t index = 1; index < args.size(); ++index) {
    if (const OptionRow* row = findOption(table, args[index])) {
      index = applyOption(rs, *row, args, index);
    } else {
      takeOtherArgument(rs, args[index]);
    }
  }
}

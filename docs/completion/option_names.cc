// Prints the command-line options from the parser's own table, so that the
// shell completion is generated from it and cannot drift from it.
//   option_names          every name, one per line
//   option_names valued   only the options that take a value
//   option_names values   one line per option whose value is one of a fixed
//                         set: the name, then the values to offer (for a
//                         keyword read by its first character, that character
//                         in lower case, once; for a math table its words)
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/option_table.h"

namespace {

// The values of a row that takes one of a fixed set; none for any other row.
std::vector<std::string> offeredValues(const OptionValue& value) {
  std::vector<std::string> values;
  if (const auto* number = std::get_if<Number>(&value); number != nullptr && number->range == NumberRange::kGhbitWidth) {
    for (int32_t width : kGhbitWidths) {
      values.push_back(std::to_string(width));
    }
  }
  if (std::holds_alternative<Table>(value)) {
    values = {"off", "on"};  // or numbers, too many to offer
  }
  const auto* keywordRow = std::get_if<Keyword>(&value);
  if (keywordRow == nullptr) {
    return values;
  }
  const Keyword& keyword = *keywordRow;
  for (const KeywordCode& code : keyword.codes) {
    std::string value(code.keyword);
    if (keyword.match == KeywordMatch::kFirstCharacter) {
      value = std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(value.at(0)))));
    }
    if (std::find(values.begin(), values.end(), value) == values.end()) {
      values.push_back(value);
    }
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  for (const OptionRow& row : commandLineOptions()) {
    std::string line(row.name);
    if (mode == "values") {
      const std::vector<std::string> values = offeredValues(row.value);
      if (values.empty()) {
        continue;
      }
      for (const std::string& value : values) {
        line += ' ' + value;
      }
    } else if (mode == "valued" && std::holds_alternative<Flag>(row.value)) {
      continue;
    }
    std::puts(line.c_str());
  }
  return 0;
}

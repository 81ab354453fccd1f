// Prints the command-line option names from the parser's own table, so that
// the shell completion is generated from it and cannot drift from it.
//   option_names          every name, one per line
//   option_names valued   only the options that take a value
#include <cstdio>
#include <string_view>
#include <variant>

#include "settings/option_table.h"

int main(int argc, char** argv) {
  const bool valuedOnly = argc > 1 && std::string_view(argv[1]) == "valued";
  for (const OptionRow& row : commandLineOptions()) {
    if (valuedOnly && std::holds_alternative<Flag>(row.value)) {
      continue;
    }
    std::printf("%.*s\n", static_cast<int>(row.name.size()), row.name.data());
  }
  return 0;
}

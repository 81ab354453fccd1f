// Prints the command-line options from the parser's own table, so that the
// shell completion is generated from it and cannot drift from it.
//   option_names          every name, one per line
//   option_names valued   only the options that take a value
//   option_names values   one line per option whose value is one of a fixed
//                         set: the name, then the values to offer (for a
//                         keyword read by its first character, that character
//                         in lower case, once; for a math table its words)
//   option_names tools    the options that change a tool's command line,
//                         given alone or after options that do; the manual
//                         marks every other one "Recorded only"
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "pipeline/pipeline.h"
#include "settings/command_line.h"
#include "settings/option_table.h"

namespace {

using Args = std::vector<std::string>;

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

// The tool lines of a run with `args` after the program path, or none when
// an argument was refused or is left as an input file. Standard output is
// not written: the walk and the pipeline print to it.
Args toolLines(const Args& args) {
  Args argv = {"talvo_s"};
  argv.insert(argv.end(), args.begin(), args.end());
  RunSettings rs;
  // As run control does before the walk: the first "-ctf" names the constraint file.
  if (auto ctf = std::find(args.begin(), args.end(), "-ctf"); ctf != args.end() && ctf + 1 != args.end()) {
    rs.ctf = *(ctf + 1);
  }
  parseCommandLine(rs, argv);
  Args lines;
  if (rs.errorCount == 0 && rs.warningCount == 0 && rs.inputFiles.empty()) {
    runPipeline(rs, [&](const std::string& line) { return lines.push_back(line), 0; });
  }
  return lines;
}

// The option alone when it takes no value, else with each value it offers,
// or with a number most options take.
std::vector<Args> tries(const OptionRow& row) {
  const std::string name(row.name);
  if (std::holds_alternative<Flag>(row.value)) {
    return {{name}};
  }
  std::vector<Args> options;
  for (const std::string& value : offeredValues(row.value)) {
    options.push_back({name, value});
  }
  return options.empty() ? std::vector<Args>{{name, "16"}} : options;
}

// An option changes a tool line when some context, a run with options that
// do so themselves, gives other lines with it than without it. Contexts of
// up to two such options find every one: "-En" matters only after "-algoc -Ec".
std::vector<std::string> optionsReachingTools() {
  std::vector<Args> contexts = {{}};
  std::vector<Args> reaching;
  for (int round = 0; round < 3; ++round) {
    std::vector<Args> found;
    for (const OptionRow& row : commandLineOptions()) {
      for (const Args& option : tries(row)) {
        const auto changes = [&](const Args& context) {
          Args args = context;
          args.insert(args.end(), option.begin(), option.end());
          const Args lines = toolLines(args);
          return !lines.empty() && lines != toolLines(context);
        };
        if (std::any_of(contexts.begin(), contexts.end(), changes)) {
          found.push_back(option);
          break;
        }
      }
    }
    reaching = std::move(found);
    std::vector<Args> longer = {{}};
    for (const Args& context : contexts) {
      for (const Args& option : reaching) {
        longer.push_back(context);
        longer.back().insert(longer.back().end(), option.begin(), option.end());
      }
    }
    contexts = std::move(longer);
  }
  std::vector<std::string> names;
  names.reserve(reaching.size());
  for (const Args& option : reaching) {
    names.push_back(option.front());
  }
  return names;
}

// optionsReachingTools() with standard output sent to /dev/null meanwhile.
std::vector<std::string> optionsReachingToolsQuietly() {
  std::fflush(stdout);
  const int output = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  dup2(null, STDOUT_FILENO);
  close(null);
  std::vector<std::string> names = optionsReachingTools();
  std::fflush(stdout);
  dup2(output, STDOUT_FILENO);
  close(output);
  return names;
}

// One line per option row as `mode` asks (every name, "valued" or "values").
std::vector<std::string> rowLines(std::string_view mode) {
  std::vector<std::string> lines;
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
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  for (const std::string& line : mode == "tools" ? optionsReachingToolsQuietly() : rowLines(mode)) {
    std::puts(line.c_str());
  }
  return 0;
}

// Substitute C reader: checks that every C file and the standard include
// directory exist, records the run in lurin.cfi and leaves the preprocessed
// text "<file>.p" beside each C file (the driver removes it at the end).
#include <filesystem>

#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call = tool::invocation(
      argc, argv, "lurin", "-notitle -o <dir>/lurin.cfi <C-files> -i <stdinclude> [-d <macro>]... [-i <path>]...");
  tool::expectWord(call, 0, "-notitle");
  tool::expectWord(call, 1, "-o");
  const std::string& output = tool::operand(call, 2, "output file after -o");
  size_t k = 3;
  std::vector<std::string> sources;
  for (; k < call.args.size() && call.args[k] != "-i"; ++k) {
    sources.push_back(call.args[k]);
  }
  if (sources.empty()) {
    tool::usageError(call, "no C files");
  }
  tool::expectWord(call, k, "-i");
  const std::string& stdinclude = tool::operand(call, k + 1, "standard include directory after -i");
  if (!std::filesystem::is_directory(stdinclude)) {
    tool::fail(call, "cannot find the standard include directory '" + stdinclude + "'");
  }
  std::vector<std::string> record{"stdinclude " + stdinclude};
  for (k += 2; k < call.args.size(); k += 2) {
    const std::string& option = call.args[k];
    if (option != "-d" && option != "-i") {
      tool::usageError(call, "unexpected '" + option + "'");
    }
    record.push_back((option == "-d" ? "define " : "include ") + tool::operand(call, k + 1, "value after " + option));
  }
  std::vector<std::string> texts;
  for (const std::string& source : sources) {
    texts.push_back(tool::readText(call, source));
    record.push_back("source " + source);
  }
  for (size_t i = 0; i < sources.size(); ++i) {
    tool::writeText(call, sources[i] + ".p", "# 1 \"" + sources[i] + "\"\n" + texts[i]);
  }
  tool::writeWorkFile(call, output, "talvo-cfi 1", record);
  return 0;
}

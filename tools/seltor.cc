// Substitute include-file tool. Reading mode: records the #include lines of
// every C file in infoinclude.icd. Writing mode: puts them back in front of
// each elaborated file, writing "<elaborated name without .c><suffix>".
#include "tools/common.h"

namespace {

int readIncludes(const tool::Invocation& call) {
  const std::string& icd = tool::operand(call, 2, "include file after -inc");
  if (call.args.size() < 4) {
    tool::usageError(call, "no C files");
  }
  std::vector<std::string> record;
  for (size_t k = 3; k < call.args.size(); ++k) {
    const std::string& source = call.args[k];
    record.push_back("source " + source);
    std::istringstream text(tool::readText(call, source));
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("#include", 0) == 0) {
        record.push_back("header " + line);
      }
    }
  }
  tool::writeWorkFile(call, icd, "talvo-icd 1", record);
  return 0;
}

int writeIncludes(const tool::Invocation& call) {
  const std::string& icd = tool::operand(call, 2, "include file after -inc");
  size_t k = 3;
  std::vector<std::string> outputs;
  for (; k < call.args.size() && call.args[k] != "-s"; ++k) {
    outputs.push_back(call.args[k]);
  }
  tool::expectWord(call, k, "-s");
  const std::string& suffix = tool::operand(call, k + 1, "suffix after -s");
  tool::expectWord(call, k + 2, "-add");
  if (call.args.size() > k + 4) {
    tool::usageError(call, "more than one header after -add");
  }
  const std::string extra = call.args.size() == k + 4 ? call.args[k + 3] : "";
  // One block per C file, in the order the files were read.
  std::vector<std::vector<std::string>> headers;
  for (const std::string& line : tool::readWorkFile(call, icd, "talvo-icd 1")) {
    if (line.rfind("source ", 0) == 0) {
      headers.emplace_back();
    } else if (line.rfind("header ", 0) == 0 && !headers.empty()) {
      headers.back().push_back(line.substr(7));
    }
  }
  if (headers.size() != outputs.size()) {
    tool::fail(call, icd + " records " + std::to_string(headers.size()) + " C files, the command line names " +
                         std::to_string(outputs.size()));
  }
  for (size_t i = 0; i < outputs.size(); ++i) {
    const std::string& elaborated = outputs[i];
    std::string text;
    for (const std::string& header : headers[i]) {
      text += header + '\n';
    }
    if (!extra.empty()) {
      text += "#include <" + extra + ">\n";
    }
    text += tool::readText(call, elaborated);
    const bool dotC = elaborated.size() > 2 && elaborated.compare(elaborated.size() - 2, 2, ".c") == 0;
    tool::writeText(call, (dotC ? elaborated.substr(0, elaborated.size() - 2) : elaborated) + suffix, text);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const tool::Invocation call = tool::invocation(
      argc, argv, "seltor",
      "-read -inc <info>/infoinclude.icd <C-files> | -write -inc <info>/infoinclude.icd <elaborated files> -s "
      "<suffix> -add [<header>]");
  if (call.args.empty() || (call.args[0] != "-read" && call.args[0] != "-write")) {
    tool::usageError(call, "expected -read or -write");
  }
  tool::expectWord(call, 1, "-inc");
  return call.args[0] == "-read" ? readIncludes(call) : writeIncludes(call);
}

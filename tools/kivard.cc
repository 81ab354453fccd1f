// Substitute graph-to-C elaborator: writes "<prefix><C file>" for every C
// file of the elaborated graph: the source without its #include lines, marked.
#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call =
      tool::invocation(argc, argv, "kivard", "-notitle <dir>/elb_lurin.cdfg -mfile <dir>/elb_");
  tool::expectWord(call, 0, "-notitle");
  const std::string& graphPath = tool::operand(call, 1, "elaborated graph file");
  tool::expectWord(call, 2, "-mfile");
  const std::string& prefix = tool::operand(call, 3, "name prefix after -mfile");
  if (call.args.size() > 4) {
    tool::usageError(call, "unexpected '" + call.args[4] + "'");
  }
  const std::vector<std::string> graph = tool::readWorkFile(call, graphPath, "talvo-cdfg 1");
  if (tool::valuesOf(graph, "elaborated") != std::vector<std::string>{"yes"}) {
    tool::fail(call, "'" + graphPath + "' is not an elaborated graph");
  }
  for (const std::string& source : tool::valuesOf(graph, "source")) {
    // The #include lines stay out: the include writer puts them back.
    std::istringstream lines(tool::readText(call, source));
    std::string text;
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("#include", 0) != 0) {
        text += line + '\n';
      }
    }
    const std::filesystem::path output = prefix + source;
    std::error_code ignored;
    std::filesystem::create_directories(output.parent_path(), ignored);
    std::string marked = "/* " + source + ", elaborated by the substitute kivard */\n";
    marked += text;
    tool::writeText(call, output.string(), marked);
  }
  return 0;
}

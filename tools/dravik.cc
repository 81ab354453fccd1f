// Substitute C-to-graph converter: turns lurin.cfi into the graph lurin.cdfg.
#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call =
      tool::invocation(argc, argv, "dravik", "-pf -notitle -o <dir>/lurin.cdfg <dir>/lurin.cfi [-ip <path>]...");
  tool::expectWord(call, 0, "-pf");
  tool::expectWord(call, 1, "-notitle");
  tool::expectWord(call, 2, "-o");
  const std::string& output = tool::operand(call, 3, "graph file after -o");
  const std::string& input = tool::operand(call, 4, "reader file");
  std::vector<std::string> graph;
  for (size_t k = 5; k < call.args.size(); k += 2) {
    tool::expectWord(call, k, "-ip");
    graph.push_back("include " + tool::operand(call, k + 1, "path after -ip"));
  }
  for (const std::string& source : tool::valuesOf(tool::readWorkFile(call, input, "talvo-cfi 1"), "source")) {
    graph.push_back("source " + source);
  }
  tool::writeWorkFile(call, output, "talvo-cdfg 1", graph);
  return 0;
}

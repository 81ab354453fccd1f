// Substitute pre-elaboration: combines the graph and the check information
// into the elaborated graph elb_lurin.cdfg.
#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call = tool::invocation(
      argc, argv, "nuvar", "<graph> <check info> <elaborated graph> [-pointer] [-p_tvar <prefix>] [-p_cvar <prefix>]");
  const std::string& graphPath = tool::operand(call, 0, "graph file");
  const std::string& infoPath = tool::operand(call, 1, "check information file");
  const std::string& output = tool::operand(call, 2, "elaborated graph file");
  std::vector<std::string> graph{"elaborated yes"};
  for (size_t k = 3; k < call.args.size(); ++k) {
    const std::string& word = call.args[k];
    if (word == "-pointer") {
      graph.emplace_back("pointer yes");
    } else if (word == "-p_tvar" || word == "-p_cvar") {
      graph.push_back(word.substr(1) + " " + tool::operand(call, ++k, "prefix after " + word));
    } else {
      tool::usageError(call, "unexpected '" + word + "'");
    }
  }
  const std::vector<std::string> info = tool::readWorkFile(call, infoPath, "talvo-inf 1");
  for (const std::string& target : tool::valuesOf(info, "target")) {
    graph.push_back("target " + target);
  }
  for (const std::string& source : tool::valuesOf(tool::readWorkFile(call, graphPath, "talvo-cdfg 1"), "source")) {
    graph.push_back("source " + source);
  }
  tool::writeWorkFile(call, output, "talvo-cdfg 1", graph);
  return 0;
}

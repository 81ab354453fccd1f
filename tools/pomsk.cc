// Substitute instance dump: lists the instances of the elaborated graph on
// standard output. It takes no arguments and reads the graph at its fixed place.
#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call = tool::invocation(argc, argv, "pomsk", "(no arguments)");
  if (!call.args.empty()) {
    tool::usageError(call, "unexpected '" + call.args[0] + "'");
  }
  const std::vector<std::string> graph = tool::readWorkFile(call, "zel_work/elb/elb_lurin.cdfg", "talvo-cdfg 1");
  for (const std::string& source : tool::valuesOf(graph, "source")) {
    std::printf("pomsk: instance %s\n", source.c_str());
  }
  return 0;
}

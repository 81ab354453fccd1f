// Substitute checker: reads a graph, writes an information file naming the
// output kind and whether checking was on.
#include <set>

#include "tools/common.h"

int main(int argc, char** argv) {
  const tool::Invocation call = tool::invocation(
      argc, argv, "talvoChk",
      "<graph> <info> [-nochk] [-nopv] -dsp|-algoc|-ansic [-ctf <file>] [-mev] [-Ec] [-avar_max_size <n>]");
  const std::string& graphPath = tool::operand(call, 0, "graph file");
  const std::string& infoPath = tool::operand(call, 1, "information file");
  const std::set<std::string> flags{"-nochk", "-nopv", "-mev", "-Ec"};
  std::vector<std::string> info{"graph " + graphPath};
  std::string kind;
  bool check = true;
  for (size_t k = 2; k < call.args.size(); ++k) {
    const std::string& word = call.args[k];
    if (word == "-dsp" || word == "-algoc" || word == "-ansic") {
      if (!kind.empty()) {
        tool::usageError(call, "two output kinds");
      }
      kind = word.substr(1);
    } else if (word == "-ctf") {
      const std::string& file = tool::operand(call, ++k, "constraint file after -ctf");
      tool::readText(call, file);
      info.push_back("constraint " + file);
    } else if (word == "-avar_max_size") {
      const std::string& size = tool::operand(call, ++k, "size after -avar_max_size");
      if (size.find_first_not_of("0123456789") != std::string::npos || size == "0") {
        tool::usageError(call, "bad size '" + size + "'");
      }
      info.push_back("avar_max_size " + size);
    } else if (flags.count(word) != 0) {
      check = check && word != "-nochk";
      info.push_back("option " + word);
    } else {
      tool::usageError(call, "unexpected '" + word + "'");
    }
  }
  if (kind.empty()) {
    tool::usageError(call, "no output kind");
  }
  info.push_back("target " + kind);
  info.push_back(check ? "check on" : "check off");
  for (const std::string& source : tool::valuesOf(tool::readWorkFile(call, graphPath, "talvo-cdfg 1"), "source")) {
    info.push_back("source " + source);
  }
  tool::writeWorkFile(call, infoPath, "talvo-inf 1", info);
  return 0;
}

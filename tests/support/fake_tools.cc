#include "support/fake_tools.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// The script of one fake. NAME and LOG are filled in; the log path comes from
// mkdtemp and holds no single quote.
std::string fakeScript(const std::string& name, const std::string& logPath) {
  std::string text =
      "#!/bin/sh\n"
      "# Recording fake of NAME for the talvo_s tests.\n"
      "log='LOG'\n"
      "{ printf '%s' NAME; for a in \"$@\"; do printf '\\t%s' \"$a\"; done; printf '\\n'; } >>\"$log\"\n"
      "n=$(cut -f1 \"$log\" | grep -cx NAME)\n"
      "for f in $FAKE_HOLD; do\n"
      "  case $f in NAME|NAME:$n) : >\"$FAKE_GATE.waiting\"; while [ ! -e \"$FAKE_GATE\" ]; do sleep 0.05; done ;; esac\n"
      "done\n"
      "for f in $FAKE_KILL; do\n"
      "  case $f in NAME|NAME:$n) kill -KILL $$ ;; esac\n"
      "done\n"
      "for f in $FAKE_FAIL; do\n"
      "  case $f in NAME|NAME:$n) exit \"${FAKE_STATUS:-1}\" ;; esac\n"
      "done\n"
      "exit 0\n";
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"NAME", name}, {"LOG", logPath}}) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
      text.replace(at, key.size(), value);
    }
  }
  return text;
}

std::vector<std::string> logLines(const FakeTools& fakes) {
  std::ifstream in(fakes.logPath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

const std::vector<std::string>& fakeToolNames() {
  static const std::vector<std::string> names{"lurin", "dravik", "talvoChk", "seltor", "nuvar", "pomsk", "kivard"};
  return names;
}

FakeTools installFakeTools(Scratch& scratch) {
  FakeTools fakes{scratch.root() + "/fakebin", scratch.root() + "/fake_tools.log"};
  fs::create_directories(fakes.binDir);
  for (const std::string& name : fakeToolNames()) {
    std::string path = fakes.binDir + "/" + name;
    std::ofstream(path) << fakeScript(name, fakes.logPath);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  }
  if (!std::ofstream(fakes.logPath, std::ios::trunc)) {
    throw std::runtime_error("cannot create " + fakes.logPath);
  }
  std::string& path = scratch.env()["PATH"];
  path = path.empty() ? fakes.binDir : fakes.binDir + ":" + path;
  return fakes;
}

std::vector<std::vector<std::string>> fakeToolArgv(const FakeTools& fakes) {
  std::vector<std::vector<std::string>> runs;
  for (const std::string& line : logLines(fakes)) {
    std::vector<std::string> argv;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) {
      argv.push_back(field);
    }
    if (!line.empty() && line.back() == '\t') {
      argv.emplace_back();  // getline drops a final empty field
    }
    runs.push_back(argv);
  }
  return runs;
}

std::vector<std::string> fakeToolCalls(const FakeTools& fakes) {
  std::vector<std::string> calls;
  for (const auto& argv : fakeToolArgv(fakes)) {
    std::string call;
    for (const std::string& word : argv) {
      call += (call.empty() ? "" : " ") + word;
    }
    calls.push_back(call);
  }
  return calls;
}

std::vector<std::string> fakeToolsRun(const FakeTools& fakes) {
  std::vector<std::string> names;
  for (const auto& argv : fakeToolArgv(fakes)) {
    names.push_back(argv.empty() ? "" : argv[0]);
  }
  return names;
}

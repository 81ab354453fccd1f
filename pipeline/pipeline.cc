#include "pipeline/pipeline.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "pipeline/commands.h"
#include "pipeline/work_directory.h"

namespace {

constexpr const char* kWork = kWorkDirectory;
constexpr const char* kElb = kElaborationDirectory;
constexpr const char* kGraph = "lurin.cdfg";
constexpr const char* kElaboratedGraph = "elb_lurin.cdfg";
constexpr const char* kCheckInfo = "checkInput.inf";
constexpr const char* kElaborationInfo = "elaboration.inf";
constexpr const char* kIncludeInfo = "infoinclude.icd";

using Composer = std::string (*)(RunSettings&);

// One tool step: whether it runs at all in this run, and its line.
struct PipelineStep {
  bool (*runs)(const RunSettings&);
  Composer compose;
};

bool always(const RunSettings& /*rs*/) { return true; }
bool dumpRequested(const RunSettings& rs) { return rs.instanceDump == 1; }

std::string readerLine(RunSettings& rs) { return composeReaderCommand(rs, kElb); }
std::string graphLine(RunSettings& rs) { return composeGraphCommand(rs, kElb); }
std::string firstCheckLine(RunSettings& rs) {
  return composeCheckerCommand(rs, kElb, kGraph, kWork, kCheckInfo, false);
}
std::string includeReadLine(RunSettings& rs) { return composeIncludeReadCommand(kWork, kIncludeInfo, rs.inputFiles); }
std::string preElaborationLine(RunSettings& rs) {
  return composePreElaborationCommand(rs, kElb, kGraph, kWork, kCheckInfo, kElb, kElaboratedGraph);
}
std::string dumpLine(RunSettings& /*rs*/) { return composeDumpCommand(); }
std::string elaborationLine(RunSettings& /*rs*/) { return composeElaborationCommand(kElb); }
std::string secondCheckLine(RunSettings& rs) {
  return composeCheckerCommand(rs, kElb, kElaboratedGraph, kWork, kElaborationInfo, true);
}
std::string includeWriteLine(RunSettings& rs) {
  return composeIncludeWriteCommand(kWork, kIncludeInfo, kElb, "elb_", rs.inputFiles, "_elb.c", "");
}

constexpr PipelineStep kCheckingSteps[] = {
    {always, readerLine},
    {always, graphLine},
    {always, firstCheckLine},
    {always, includeReadLine},
};

constexpr PipelineStep kElaborationSteps[] = {
    {always, preElaborationLine}, {dumpRequested, dumpLine},  {always, elaborationLine},
    {always, secondCheckLine},    {always, includeWriteLine},
};

// Prints the phase heading, then runs its steps until one fails.
template <size_t N>
int32_t runPhase(RunSettings& rs, const CommandRunner& runner, const char* heading, const PipelineStep (&steps)[N],
                 int32_t failure) {
  std::puts(heading);
  std::fflush(stdout);
  for (const PipelineStep& step : steps) {
    if (step.runs(rs) && runCommand(rs, step.compose(rs), runner) != 0) {
      return failure;
    }
  }
  return 0;
}

}  // namespace

int32_t runPipeline(RunSettings& rs, const CommandRunner& runner) {
  if (int32_t result = runPhase(rs, runner, ">>> -s :Checking and analyzing C-files.", kCheckingSteps, -2);
      result != 0) {
    return result;
  }
  return runPhase(rs, runner, ">>>     Elaborating C-files.", kElaborationSteps, -3);
}

int32_t removeTemporaryFiles(const RunSettings& rs) {
  // Unlinked by name, without a shell: no name is split or globbed. An empty
  // name (read back from a list) has none: ".p" is no file of the run.
  int32_t failures = 0;
  for (const std::string& file : rs.inputFiles) {
    if (file.empty()) {
      continue;
    }
    const std::string temporary = file + ".p";
    if (unlink(temporary.c_str()) != 0 && errno != ENOENT) {
      failures |= 1;
    }
  }
  return failures;
}

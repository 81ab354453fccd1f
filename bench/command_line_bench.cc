// The command-line walk: a typical option-heavy line, and a long list of
// input files (each one is compared with every option name before it is
// taken as a file).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "settings/command_line.h"
#include "settings/consistency.h"
#include "settings/run_settings.h"

namespace {

const std::vector<std::string>& typicalLine() {
  static const std::vector<std::string> args = {
      "talvo_s", "-algoc",       "-D",   "N=4",   "-DDEBUG",    "-ip",       "include",  "-max",    "40",
      "-maxt",   "20d",          "-rnd", "e",     "-ovf",       "s",         "-O1",      "-fdp",    "yes",
      "-ghbit",  "16",           "-p",   "out_",  "-n_mathtbl", "256:16:90", "-bx_bits", "8,16:32", "-a_stack",
      "2048000", "-stack_check", "a.c",  "./b.c", "c.c"};
  return args;
}

void BM_ParseTypicalLine(benchmark::State& state) {
  const std::vector<std::string>& args = typicalLine();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    RunSettings rs;
    parseCommandLine(rs, args);
    benchmark::DoNotOptimize(rs.inputFiles.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(args.size() - 1));
}
BENCHMARK(BM_ParseTypicalLine);

void BM_ParseManyInputFiles(benchmark::State& state) {
  std::vector<std::string> args = {"talvo_s"};
  for (int64_t n = 0; n < state.range(0); ++n) {
    args.push_back("src/module_" + std::to_string(n) + ".c");
  }
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    RunSettings rs;
    parseCommandLine(rs, args);
    benchmark::DoNotOptimize(rs.inputFiles.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseManyInputFiles)->Arg(100)->Arg(10000);

void BM_CheckConsistency(benchmark::State& state) {
  RunSettings rs;
  parseCommandLine(rs, typicalLine());
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    benchmark::DoNotOptimize(checkOptionConsistency(rs));
  }
}
BENCHMARK(BM_CheckConsistency);

}  // namespace

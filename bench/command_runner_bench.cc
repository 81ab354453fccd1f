// The cost of starting one tool: runInShell as a run uses it (stop signals
// caught, so SIGCHLD and they are held back while the tool runs and taken
// with sigwaitinfo; posix_spawn of /bin/sh in the driver's process group; a
// non-blocking waitpid for the shell and whatever the line leaves behind)
// against system() on the same line. The two take turns in blocks, so drift
// in the machine's speed cancels out; the verdict is the median of the paired
// block ratios (goal: within 2 %). A line longer than one argument, which
// goes through an anonymous file, is timed on its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "pipeline/command_runner.h"

namespace {

// Nanoseconds per call of `run` over `calls` calls.
template <typename Run>
double nanosecondsPerCall(int calls, Run run) {
  const auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < calls; ++k) {
    if (run() != 0) {
      std::abort();
    }
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / calls;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void BM_RunInShellAgainstSystem(benchmark::State& state) {
  if (catchStopSignals() != 0) {
    std::abort();
  }
  const char* line = "true tool -o zel_work/elb/lurin.cfi a.c b.c";
  const int calls = 100;
  const int blocks = static_cast<int>(state.range(0));
  std::vector<double> system;
  std::vector<double> runner;
  std::vector<double> ratios;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    for (int block = 0; block < blocks; ++block) {
      system.push_back(nanosecondsPerCall(calls, [&] { return std::system(line); }));
      runner.push_back(nanosecondsPerCall(calls, [&] { return runInShell(line); }));
      ratios.push_back(runner.back() / system.back());
    }
  }
  state.counters["system_us"] = median(system) / 1000;
  state.counters["runInShell_us"] = median(runner) / 1000;
  state.counters["ratio_pct"] = (median(ratios) - 1) * 100;
}

void BM_RunInShellLongLine(benchmark::State& state) {
  std::string line = "true";
  while (line.size() < 200 * 1024) {
    line += " source_100000_with_a_forty_character_n.c";
  }
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    benchmark::DoNotOptimize(runInShell(line));
  }
}

}  // namespace

BENCHMARK(BM_RunInShellAgainstSystem)->Arg(40)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunInShellLongLine)->Unit(benchmark::kMillisecond);

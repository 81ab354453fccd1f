// The removal of "<input>.p" at the end of a run, for 5,000 input files of
// 40-character names: one unlink per file, against one "rm -f" shell per
// file as a plain shell loop would do it (measured on 500 files, per file).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"

namespace fs = std::filesystem;

namespace {

std::string benchRoot() {
  std::string pattern = (fs::temp_directory_path() / "talvo_tmpfiles_bench.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  return pattern;
}

// Names of 40 characters, ".c" included, below `root`.
std::vector<std::string> inputNames(const std::string& root, int64_t count) {
  std::vector<std::string> names;
  for (int64_t i = 0; i < count; ++i) {
    std::string name = "input_file_" + std::to_string(100000 + i);
    name += "_of_the_benchmark";
    name.resize(38, 'x');
    name += ".c";
    names.push_back(root + "/" + name);
  }
  return names;
}

void createTemporaries(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    int fd = open((name + ".p").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) {
      close(fd);
    }
  }
}

void BM_RemoveTemporaryFiles(benchmark::State& state) {
  const std::string root = benchRoot();
  RunSettings rs;
  rs.inputFiles = inputNames(root, state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    createTemporaries(rs.inputFiles);
    state.ResumeTiming();
    if (removeTemporaryFiles(rs) != 0) {
      state.SkipWithError("a removal failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  fs::remove_all(root);
}

void BM_ShellPerFile(benchmark::State& state) {
  const std::string root = benchRoot();
  const std::vector<std::string> names = inputNames(root, state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    createTemporaries(names);
    state.ResumeTiming();
    for (const std::string& name : names) {
      if (std::system(("rm -f " + name + ".p").c_str()) != 0) {
        state.SkipWithError("rm failed");
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  fs::remove_all(root);
}

}  // namespace

BENCHMARK(BM_RemoveTemporaryFiles)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShellPerFile)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(3);

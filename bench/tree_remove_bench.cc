// removeTree against "rm -rf" on the same fresh tree: 100,000 files in 1,000
// directories (10 top directories of 99 subdirectories each, 100 files per
// directory). The tree is built anew, untimed, before every iteration.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "pipeline/remove_tree.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopDirectories = 10;
constexpr int kSubdirectoriesEach = 99;
constexpr int kFilesPerDirectory = 100;

std::string benchRoot() {
  std::string pattern = (fs::temp_directory_path() / "talvo_tree_bench.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  return pattern;
}

void fillDirectory(const std::string& dir) {
  fs::create_directory(dir);
  for (int f = 0; f < kFilesPerDirectory; ++f) {
    std::string file = dir + "/elb_file_" + std::to_string(f) + ".c";
    int fd = open(file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) {
      (void)write(fd, "x\n", 2);
      close(fd);
    }
  }
}

// 10 + 10 * 99 = 1,000 directories, 100,000 files.
void buildTree(const std::string& tree) {
  fs::create_directory(tree);
  for (int t = 0; t < kTopDirectories; ++t) {
    std::string top = tree + "/top" + std::to_string(t);
    fillDirectory(top);
    for (int s = 0; s < kSubdirectoriesEach; ++s) {
      fillDirectory(top + "/sub" + std::to_string(s));
    }
  }
}

template <typename Remove>
void timeRemoval(benchmark::State& state, Remove remove) {
  const std::string root = benchRoot();
  const std::string tree = root + "/zel_work";
  for (auto _ : state) {
    state.PauseTiming();
    buildTree(tree);
    state.ResumeTiming();
    remove(tree);
    state.PauseTiming();
    if (fs::exists(tree)) {
      state.SkipWithError("the tree is still there");
    }
    state.ResumeTiming();
  }
  state.counters["files"] = kTopDirectories * (1 + kSubdirectoriesEach) * kFilesPerDirectory;
  fs::remove_all(root);
}

void BM_RemoveTree(benchmark::State& state) {
  timeRemoval(state, [](const std::string& tree) { removeTree(tree + "/"); });
}

void BM_RmRf(benchmark::State& state) {
  timeRemoval(state, [](const std::string& tree) {
    // The tree path comes from mkdtemp and holds no quote.
    if (std::system(("rm -rf '" + tree + "'").c_str()) != 0) {
      throw std::runtime_error("rm -rf failed");
    }
  });
}

}  // namespace

BENCHMARK(BM_RemoveTree)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RmRf)->Unit(benchmark::kMillisecond)->Iterations(5);

// removeTree against "rm -rf" on the same fresh trees: 100,000 files in 1,000
// directories (10 top directories of 99 subdirectories each, 100 files per
// directory), and a chain of 5,000 directories, one file in each. A tree is
// built anew, untimed, before every iteration.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
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
constexpr int kDeepLevels = 5000;

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
      const bool written = write(fd, "x\n", 2) == 2;
      close(fd);
      if (!written) {
        throw std::runtime_error("cannot write " + file);
      }
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

// 5,000 nested directories: deeper than a path may be long, so each level is
// made relative to the one above.
void buildDeepTree(const std::string& tree) {
  fs::create_directory(tree);
  int fd = open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < kDeepLevels && fd >= 0; ++level) {
    int file = openat(fd, "elb_file.c", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (file >= 0) {
      close(file);
    }
    mkdirat(fd, "d", 0755);
    int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  if (fd >= 0) {
    close(fd);
  }
}

template <typename Build, typename Remove>
void timeRemoval(benchmark::State& state, Build build, Remove remove) {
  const std::string root = benchRoot();
  const std::string tree = root + "/zel_work";
  for (auto _ : state) {
    state.PauseTiming();
    build(tree);
    state.ResumeTiming();
    remove(tree);
    state.PauseTiming();
    if (fs::exists(tree)) {
      state.SkipWithError("the tree is still there");
    }
    state.ResumeTiming();
  }
  removeTree(root);
}

void removeWithRemoveTree(const std::string& tree) { removeTree(tree + "/"); }

void removeWithRmRf(const std::string& tree) {
  // The tree path comes from mkdtemp and holds no quote.
  if (std::system(("rm -rf '" + tree + "'").c_str()) != 0) {
    throw std::runtime_error("rm -rf failed");
  }
}

void BM_RemoveTree(benchmark::State& state) { timeRemoval(state, buildTree, removeWithRemoveTree); }
void BM_RmRf(benchmark::State& state) { timeRemoval(state, buildTree, removeWithRmRf); }
void BM_RemoveTreeDeep(benchmark::State& state) { timeRemoval(state, buildDeepTree, removeWithRemoveTree); }
void BM_RmRfDeep(benchmark::State& state) { timeRemoval(state, buildDeepTree, removeWithRmRf); }

}  // namespace

BENCHMARK(BM_RemoveTree)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RmRf)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RemoveTreeDeep)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RmRfDeep)->Unit(benchmark::kMillisecond)->Iterations(5);

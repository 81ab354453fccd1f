// The driver's own file-system work in one run, in-process: the project
// lock, the reset of zel_work/ with its input list, and the removal of the
// temporary files, in a scratch project under $TMPDIR (or /tmp). Set TMPDIR
// to a disk directory or to /dev/shm to compare the two.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pipeline/pipeline.h"
#include "pipeline/remove_tree.h"
#include "pipeline/work_directory.h"

namespace {

void BM_WorkDirectoryOfARun(benchmark::State& state) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string project = std::string(tmpdir != nullptr ? tmpdir : "/tmp") + "/talvo_wd_bench.XXXXXX";
  if (mkdtemp(project.data()) == nullptr) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(project);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    RunSettings rs;
    rs.inputFiles = {"a.c", "b.c"};
    UniqueFd lock;
    if (lockProjectDirectory(rs, lock) != 0 || prepareInputList(rs) != 0) {
      state.SkipWithError("the work directory could not be prepared");
      break;
    }
    removeTemporaryFiles(rs);
  }
  std::filesystem::current_path(previous);
  removeTree(project);
}

}  // namespace

BENCHMARK(BM_WorkDirectoryOfARun)->Unit(benchmark::kMicrosecond)->Iterations(1000);

// Reading constraint files as a run does (options on, directives off):
// a mixed file of option and directive lines at 10 MB and 100 MB, the
// cost of ten times the file, one physical line of 64 MB, and one comment
// line of 64 MB and of 1 GB against ordinary lines. The files are
// generated into a scratch directory under /tmp and removed at exit. Peak
// memory is the maximum resident set of a child process that reads the file
// once, next to that of a child reading an empty file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "constraint/constraint.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMegabyte = std::size_t{1} << 20;

// One block of a typical file: both sections, comments, a continued line,
// CR LF endings. Only options that replace their value, so the store stays
// the same size however often the block repeats.
const char* const kBlock =
    "# tuning for the filter stage\n"
    "$def_start_option\n"
    "-max 16\n"
    "-maxt 24d\n"
    "-p prefix_\n"
    "-rnd t\n"
    "-ovf s\n"
    "-O1\n"
    "-fdp y\n"
    "-n_mathtbl 256:16:90\n"
    "-n_tantbl 512 24\n"
    "-erate 0.5:m\n"
    "-bx_bits 8,16,32,40\n"
    "-simple_mode 1\r\n"
    "-ghbit 16\r\n"
    "-avar_max_size 32\n"
    "-p_tvar tv_ \\\n"
    "    // continued\n"
    "$end_start_option\n"
    "$def_directive\n"
    "module filter.c fir_stage prefix=fir_ evfunc=fir_eval\n"
    "scale filter.c fir_stage acc 24\n"
    "int filter.c fir_stage index range 0 to 63;\n"
    "unroll filter.c fir_stage loop\n"
    "input filter.c fir_stage sample\n"
    "$end_directive\n";

// The scratch directory and the files in it, made on first use.
struct Files {
  fs::path directory;
  std::map<std::string, fs::path> made;

  Files() {
    std::string pattern = "/tmp/constraint_read_bench.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    directory = pattern;
  }
  ~Files() {
    std::error_code ignored;
    fs::remove_all(directory, ignored);
  }
  Files(const Files&) = delete;
  Files& operator=(const Files&) = delete;

  const fs::path& mixed(std::size_t megabytes) {
    std::string name = "mixed_" + std::to_string(megabytes) + ".ctf";
    if (made.count(name) == 0) {
      std::ofstream out(directory / name, std::ios::binary);
      std::string chunk;
      while (chunk.size() < kMegabyte) {
        chunk += kBlock;
      }
      for (std::size_t written = 0; written < megabytes * kMegabyte; written += chunk.size()) {
        out << chunk;
      }
      made[name] = directory / name;
    }
    return made[name];
  }

  // One physical line: a directive (accepted unseen in a run) or an option
  // line whose value the store keeps a copy of.
  const fs::path& longLine(std::size_t megabytes, bool option) {
    std::string name = (option ? "option_line_" : "directive_line_") + std::to_string(megabytes) + ".ctf";
    if (made.count(name) == 0) {
      std::ofstream out(directory / name, std::ios::binary);
      out << (option ? "$def_start_option\n-D " : "$def_directive\nint filter.c fir_stage v ");
      std::string chunk(kMegabyte, 'm');
      for (std::size_t i = 0; i < megabytes; ++i) {
        out << chunk;
      }
      out << "\n";
      made[name] = directory / name;
    }
    return made[name];
  }

  // One comment line, skipped as it streams by.
  const fs::path& commentLine(std::size_t megabytes) {
    std::string name = "comment_line_" + std::to_string(megabytes) + ".ctf";
    if (made.count(name) == 0) {
      std::ofstream out(directory / name, std::ios::binary);
      out << "# ";
      std::string chunk(kMegabyte, 'c');
      for (std::size_t i = 0; i < megabytes; ++i) {
        out << chunk;
      }
      out << "\n$def_start_option\n-max 16\n";
      made[name] = directory / name;
    }
    return made[name];
  }

  const fs::path& empty() {
    if (made.count("empty.ctf") == 0) {
      std::ofstream out(directory / "empty.ctf");
      made["empty.ctf"] = directory / "empty.ctf";
    }
    return made["empty.ctf"];
  }
};

Files& files() {
  static Files instance;
  return instance;
}

int readAsARun(const fs::path& path) {
  ConstraintStore store;
  setConstraintMode(store, 0, 1);
  int status = readConstraintFile(store, path.string());
  releaseConstraintStore(store);
  return status;
}

// The maximum resident set, in MB, of a child that reads the file once.
double childPeakMegabytes(const fs::path& path) {
  std::fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    _exit(readAsARun(path) == 0 ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double secondsToRead(const fs::path& path) {
  auto start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(readAsARun(path));
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void readBenchmark(benchmark::State& state, const fs::path& path) {
  const auto bytes = static_cast<int64_t>(fs::file_size(path));
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    if (readAsARun(path) != 0) {
      state.SkipWithError("the file was not accepted");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["peak_rss_MB"] = childPeakMegabytes(path);
  state.counters["empty_file_rss_MB"] = childPeakMegabytes(files().empty());
}

void BM_ReadMixedFile(benchmark::State& state) {
  readBenchmark(state, files().mixed(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ReadMixedFile)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOneLongDirectiveLine(benchmark::State& state) {
  readBenchmark(state, files().longLine(static_cast<std::size_t>(state.range(0)), false));
}
BENCHMARK(BM_ReadOneLongDirectiveLine)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOneLongOptionLine(benchmark::State& state) {
  readBenchmark(state, files().longLine(static_cast<std::size_t>(state.range(0)), true));
}
BENCHMARK(BM_ReadOneLongOptionLine)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOneLongCommentLine(benchmark::State& state) {
  readBenchmark(state, files().commentLine(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ReadOneLongCommentLine)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();

double bestSecondsPerByte(const fs::path& path) {
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    best = std::min(best, secondsToRead(path));
  }
  return best / static_cast<double>(fs::file_size(path));
}

// A 64 MB comment line against 64 MB of ordinary lines (the mixed file): the
// ratio of the best times per byte (the benchmark fails itself above 1.2).
void BM_CommentLineAgainstOrdinaryLines(benchmark::State& state) {
  double ratio = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    ratio = bestSecondsPerByte(files().commentLine(64)) / bestSecondsPerByte(files().mixed(64));
  }
  state.counters["time_per_byte_ratio"] = ratio;
  if (ratio > 1.2) {
    state.SkipWithError("a comment line costs more per byte than ordinary lines");
  }
}
BENCHMARK(BM_CommentLineAgainstOrdinaryLines)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ten times the file: the best of several reads of each size, and their ratio
// (linear reading gives about 10; more than 11 would mean work that grows
// faster than the file).
void BM_TenfoldFile(benchmark::State& state) {
  const fs::path& small = files().mixed(10);
  const fs::path& large = files().mixed(100);
  double ratio = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused by design
    double smallBest = 1e9;
    double largeBest = 1e9;
    for (int i = 0; i < 5; ++i) {
      smallBest = std::min(smallBest, secondsToRead(small));
      largeBest = std::min(largeBest, secondsToRead(large));
    }
    ratio = largeBest / smallBest;
  }
  state.counters["time_ratio_100MB_to_10MB"] = ratio;
  if (ratio > 11) {
    state.SkipWithError("ten times the file cost more than eleven times the time");
  }
}
BENCHMARK(BM_TenfoldFile)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

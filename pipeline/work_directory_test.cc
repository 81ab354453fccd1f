// The work directory on a real disk: the tree removal (links never followed,
// mounts never entered, any depth), the reset, the input list written and
// read back with "-na", what happens when the disk refuses, and the removal
// of temporary files.
#include "pipeline/work_directory.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"
#include "pipeline/remove_tree.h"
#include "support/root_powers.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path().empty() ? "." : path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t entriesIn(const fs::path& directory) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

// Runs `body` with the soft limit of a resource lowered.
template <typename Body>
void withLimit(int resource, rlim_t limit, Body body) {
  rlimit saved{};
  getrlimit(resource, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = limit;
  setrlimit(resource, &lowered);
  body();
  setrlimit(resource, &saved);
}

TEST(RemoveTree, RemovesEverythingAndNoLinksTarget) {
  Scratch scratch;
  InProject inProject(scratch);
  for (const char* file : {"tree/a", "tree/.b", "tree/a.", "tree/..c", "tree/d1/d2/d3/deep", "outside/keep.c"}) {
    writeFile(file, "x");
  }
  fs::create_directories("tree/empty/inner");
  fs::create_directory_symlink(fs::current_path() / "outside", "tree/d1/link");
  fs::create_symlink("nowhere", "tree/dangling");
  ASSERT_EQ(mkfifo("tree/fifo", 0644), 0);
  EXPECT_EQ(removeTree("tree/"), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status("tree")));
  for (const char* path : {"tree/", "tree"}) {  // a link in place of the tree goes, not its target
    fs::create_directory_symlink("outside", "tree");
    EXPECT_EQ(removeTree(path), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status("tree"))) << path;
  }
  EXPECT_EQ(readFile("outside/keep.c"), "x");
  EXPECT_EQ(removeTree("outside/keep.c"), 0);  // a plain file is not a tree
  EXPECT_EQ(removeTree("missing"), 0);
  EXPECT_TRUE(fs::exists("outside/keep.c"));
}

TEST(RemoveTree, RemovesATreeDeeperThanTheDescriptorsItMayOpen) {
  Scratch scratch;
  InProject inProject(scratch);
  fs::path deepest = "tree";
  for (int level = 0; level < 120; ++level) {
    deepest /= "d";
  }
  writeFile(deepest / "leaf", "x");
  withLimit(RLIMIT_NOFILE, 16, [] { EXPECT_EQ(removeTree("tree"), 0); });
  EXPECT_FALSE(fs::exists("tree"));
}

RunSettings withFiles(std::vector<std::string> files, bool na = false) {
  RunSettings rs;
  rs.inputFiles = std::move(files);
  rs.na = na;
  return rs;
}

const std::string kPretreatment = "Error : The pretreatment is not performed.\n";

std::string prepareCapturing(RunSettings& rs, int32_t& status) {
  testing::internal::CaptureStdout();
  status = prepareInputList(rs);
  return testing::internal::GetCapturedStdout();
}

TEST(PrepareInputList, ResetsTheWorkDirectoryAndWritesTheList) {
  Scratch scratch;
  InProject inProject(scratch);
  writeFile("zel_work/old.inf", "x");
  writeFile("zel_work/elb/deep/er/elb_old.c", "x");
  RunSettings rs = withFiles({"a.c", "b.c"});
  const mode_t previous = umask(022);
  EXPECT_EQ(prepareInputList(rs), 0);
  umask(previous);
  EXPECT_EQ(readFile("zel_work/input.lst"), "a.c;b.c;");
  EXPECT_EQ(entriesIn("zel_work"), 2U);  // elb/ and input.lst
  EXPECT_EQ(entriesIn("zel_work/elb"), 0U);
  for (const auto& [path, mode] : {std::pair{"zel_work", 040755U}, {"zel_work/elb", 040755U}, {"zel_work/input.lst", 0100644U}}) {
    struct stat info {};
    ASSERT_EQ(lstat(path, &info), 0);
    EXPECT_EQ(info.st_mode, mode) << path;
  }
}

// "-na": what stands in the place of the list, and what follows.
struct NaRow {
  const char* name;
  std::function<void()> place;
  int32_t status;
  std::vector<std::string> inputFiles;
};

TEST(PrepareInputList, NaTakesOnlyAListThatIsARegularFileAndReadsWhole) {
  const auto list = [](const char* text) {
    return [text] { writeFile("zel_work/input.lst", text); };
  };
  const std::vector<std::string> mine = {"c.c", "d.c"};
  const NaRow rows[] = {
      {"no work directory", [] { fs::remove_all("zel_work"); }, -1, mine},
      {"no list: written from the command line", [] {}, 0, mine},
      {"a list of two", list("a.c;b.c;"), 0, {"a.c", "b.c"}},
      {"an empty list", list(""), 0, {}},
      {"a last name without its semicolon", list("a.c;b.c"), 0, {"a.c"}},
      {"a directory", [] { fs::create_directories("zel_work/input.lst"); }, -1, mine},
      {"a named pipe", [] { mkfifo("zel_work/input.lst", 0644); }, -1, mine},
      {"a file whose read fails", [] { fs::create_symlink("/proc/self/mem", "zel_work/input.lst"); }, -1, mine},
  };
  for (const NaRow& row : rows) {
    Scratch scratch;
    InProject inProject(scratch);
    writeFile("zel_work/elb/kept", "kept");
    row.place();
    RunSettings rs = withFiles(mine, true);
    int32_t status = 0;
    const std::string out = prepareCapturing(rs, status);
    EXPECT_EQ(out, status == 0 ? "" : kPretreatment) << row.name;
    EXPECT_EQ(status, row.status) << row.name;
    EXPECT_EQ(rs.inputFiles, row.inputFiles) << row.name;
    if (status == 0) {
      EXPECT_EQ(readFile("zel_work/elb/kept"), "kept") << row.name;
      EXPECT_EQ(parseInputList(readFile("zel_work/input.lst")), row.inputFiles) << row.name;
    }
  }
}

// Something the reset cannot delete: the run stops rather than work on top
// of it, and the thing itself stays as it was.
struct ResetObstacle {
  const char* name;
  std::function<std::string()> place;  // empty when placed, else why it cannot be
  std::function<void()> lift;
  const char* survivor;
  const char* content;
};

TEST(PrepareInputList, ARunNeverWorksOnTopOfWhatTheResetLeft) {
  const ResetObstacle obstacles[] = {
      {"a file in place of the work directory", [] { writeFile("zel_work", "in the way"); return std::string(); },
       [] {}, "zel_work", "in the way"},
      {"an immutable file deep in the tree",
       [] {
         writeFile("zel_work/elb/d/e/kept.c", "old");
         writeFile("zel_work/elb/d/gone.c", "old");
         return setImmutable("zel_work/elb/d/e/kept.c", true);
       },
       [] { setImmutable("zel_work/elb/d/e/kept.c", false); }, "zel_work/elb/d/e/kept.c", "old"},
      {"an earlier list that cannot be deleted",
       [] {
         writeFile("zel_work/input.lst", "old.c;");
         return setImmutable("zel_work/input.lst", true);
       },
       [] { setImmutable("zel_work/input.lst", false); }, "zel_work/input.lst", "old.c;"},
      {"a directory mounted inside the work directory",
       [] {
         writeFile("outside/precious.c", "keep");
         fs::create_directories("zel_work/elb/mounted");
         return bindMount("outside", "zel_work/elb/mounted");
       },
       [] { umount2("zel_work/elb/mounted", MNT_DETACH); }, "outside/precious.c", "keep"},
  };
  std::string skipped;
  for (const ResetObstacle& obstacle : obstacles) {
    Scratch scratch;
    InProject inProject(scratch);
    if (std::string why = obstacle.place(); !why.empty()) {
      skipped += std::string(obstacle.name) + " (" + why + "); ";
      continue;
    }
    RunSettings rs = withFiles({"new.c"});
    int32_t status = 0;
    EXPECT_EQ(prepareCapturing(rs, status), kPretreatment) << obstacle.name;
    EXPECT_EQ(status, -1) << obstacle.name;
    EXPECT_EQ(readFile(obstacle.survivor), obstacle.content) << obstacle.name;
    obstacle.lift();
  }
  if (!skipped.empty()) {
    GTEST_SKIP() << "not on this machine: " << skipped;
  }
}

TEST(PrepareInputList, AListThatCannotBeWrittenWholeLeavesNoList) {
  Scratch scratch;
  InProject inProject(scratch);
  RunSettings rs = withFiles({std::string(64 * 1024, 'n') + ".c"});
  int32_t status = 0;
  std::string out;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  withLimit(RLIMIT_FSIZE, 4096, [&] { out = prepareCapturing(rs, status); });  // as a disk that fills up
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(out, kPretreatment);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(entriesIn("zel_work"), 1U);  // elb/ alone
}

TEST(InputList, EveryNameEndsAtItsSemicolon) {
  EXPECT_EQ(formatInputList({"a.c", "", "b c.c"}), "a.c;;b c.c;");
  EXPECT_EQ(parseInputList("a;;x;y.c;\n;tail"), (std::vector<std::string>{"a", "", "x", "y.c", "\n"}));
}

TEST(TemporaryFiles, RemovesExactlyEachInputsDotPWithoutAShell) {
  Scratch scratch;
  InProject inProject(scratch);
  for (const char* file : {"a.c.p", "my file.c.p", "my", "file.c.p", "*.c.p", "other.c.p", "sub/x.c.p"}) {
    writeFile(file, "x");
  }
  fs::create_directories("d.c.p/inside");  // a directory is not unlinked: a failure, but the rest go
  RunSettings rs = withFiles({"d.c", "a.c", "my file.c", "*.c", "sub/x.c", "missing.c"});
  EXPECT_NE(removeTemporaryFiles(rs), 0);
  for (const char* gone : {"a.c.p", "my file.c.p", "*.c.p", "sub/x.c.p"}) {
    EXPECT_FALSE(fs::exists(gone)) << gone;
  }
  for (const char* kept : {"my", "file.c.p", "other.c.p", "d.c.p/inside"}) {
    EXPECT_TRUE(fs::exists(kept)) << kept;
  }
  EXPECT_EQ(removeTemporaryFiles(withFiles({"a.c", "missing.c"})), 0);
}

}  // namespace

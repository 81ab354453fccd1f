// The work directory on a real disk: the tree removal (links never followed,
// mounts never entered, any depth), the reset, the input list written and
// read back with "-na", a disk that refuses, and the temporary files.
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

#include "pipeline/pipeline.h"
#include "pipeline/remove_tree.h"
#include "support/root_powers.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace {

// Runs `body` with the soft limit of a resource lowered.
template <typename Body>
void withLimit(int resource, rlim_t limit, Body body) {
  rlimit saved{};
  getrlimit(resource, &saved);
  rlimit lowered{limit, saved.rlim_max};
  setrlimit(resource, &lowered);
  body();
  setrlimit(resource, &saved);
}

TEST(RemoveTree, RemovesATreeOfAnyDepthButNeverWhatALinkPointsTo) {
  Scratch scratch;
  InProject inProject(scratch);
  std::string deepest = "tree";
  for (int level = 0; level < 120; ++level) {
    deepest += "/d";
  }
  for (const std::string& file :
       std::vector<std::string>{"tree/.b", "tree/a.", "tree/..c", deepest + "/leaf", "outside/keep.c"}) {
    writeFile(file, "x");
  }
  fs::create_directory_symlink(fs::current_path() / "outside", "tree/d/link");
  fs::create_symlink("nowhere", "tree/dangling");
  ASSERT_EQ(mkfifo("tree/fifo", 0644), 0);
  withLimit(RLIMIT_NOFILE, 16, [] { EXPECT_FALSE(removeTree("tree/")); });  // fewer descriptors than levels
  EXPECT_FALSE(fs::exists(fs::symlink_status("tree")));
  for (const char* path : {"tree/", "tree"}) {  // a link in place of the tree goes, not its target
    fs::create_directory_symlink("outside", "tree");
    EXPECT_FALSE(removeTree(path));
    EXPECT_FALSE(fs::exists(fs::symlink_status("tree"))) << path;
  }
  EXPECT_FALSE(removeTree("outside/keep.c") || removeTree("missing"));  // a plain file is not a tree
  EXPECT_EQ(readFile("outside/keep.c"), "x");
}

// A directory mounted inside the tree is not entered, whichever source tells
// its mount; where none tells, the walk deletes nothing at all.
TEST(RemoveTree, NeverEntersAMountWhicheverSourceTellsIt) {
  using enum MountIdSource;
  for (const std::vector<MountIdSource>& sources :
       std::vector<std::vector<MountIdSource>>{{fileHandle}, {fdinfo}, {}}) {
    Scratch scratch;
    InProject inProject(scratch);
    writeFile("outside/kept.c", "old");
    writeFile("tree/mounted/x", "x");
    writeFile("tree/file", "x");
    if (const std::string why = bindMount("outside", "tree/mounted"); !why.empty()) {
      GTEST_SKIP() << why;
    }
    const PathProblem why = sources.empty() ? PathProblem{"tree", "lies on a mount that cannot be told"}
                                            : PathProblem{"tree/mounted", "is on another file system"};
    EXPECT_EQ(removeTree("tree", sources), why);
    EXPECT_EQ(readFile("outside/kept.c"), "old");
    EXPECT_EQ(fs::exists("tree/file"), sources.empty());
    umount2("tree/mounted", MNT_DETACH);
  }
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

// What stands in zel_work/ before a run, and what follows: "-na" takes only a
// list that is a regular file and reads whole; a run never works on top of
// what the reset could not delete, that thing stays as it was, and the
// refusal names it and says why.
struct Before {
  const char* name;
  bool na;
  std::function<std::string()> place;     // empty when placed, else why it cannot be here
  const char* refusal;                    // the line before the error, else nullptr when the run goes on
  std::vector<std::string> inputFiles{};  // after a run that goes on
  const char* survivor = nullptr;         // holds "old" after a refusal
};

std::string placed(const std::function<void()>& place) { return place(), std::string(); }
std::string immutable(const char* path) { return writeFile(path, "old"), setImmutable(path, true); }
std::string readOnly(const char* directory) {
  writeFile(std::string(directory) + "/kept.c", "old");
  fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
  return geteuid() == 0 ? "root deletes in a read-only directory" : "";
}

TEST(PrepareInputList, NeverTakesOrLeavesStaleData) {
  const std::vector<std::string> mine = {"c.c", "d.c"};
  // clang-format off
  const Before rows[] = {
      {"a stale tree: reset, the list written", false,
       [] { return placed([] { writeFile("zel_work/elb/deep/er/elb_old.c", "x"); }); }, nullptr, mine},
      {"-na, elb/, no list: written from the command line", true,
       [] { return placed([] { mkdir("zel_work/elb", 0755); }); }, nullptr, mine},
      {"-na, a list", true, [] { return placed([] { writeFile("zel_work/input.lst", "a.c;;x;y.c;\n;tail"); }); },
       nullptr, {"a.c", "", "x", "y.c", "\n"}},
      {"-na, a named pipe", true, [] { return placed([] { mkfifo("zel_work/input.lst", 0644); }); },
       "'zel_work/input.lst' is not a regular file"},
      {"-na, a file whose read fails", true,
       [] { return placed([] { fs::create_symlink("/proc/self/mem", "zel_work/input.lst"); }); },
       "'zel_work/input.lst' cannot be read: Input/output error"},
      {"a file in place of the work directory", false,
       [] { return placed([] { fs::remove_all("zel_work"), writeFile("zel_work", "old"); }); },
       "'zel_work' cannot be created: File exists", {}, "zel_work"},
      {"an immutable file deep in the tree", false, [] { return immutable("zel_work/elb/d/kept.c"); },
       "'zel_work/elb/d/kept.c' cannot be removed: Operation not permitted", {}, "zel_work/elb/d/kept.c"},
      {"a read-only directory deep in the tree", false, [] { return readOnly("zel_work/elb/r"); },
       "'zel_work/elb/r/kept.c' cannot be removed: Permission denied", {}, "zel_work/elb/r/kept.c"},
      {"a directory mounted on the work directory", false,
       [] { return writeFile("outside/kept.c", "old"), bindMount("outside", "zel_work"); },
       "'zel_work' is on another file system", {}, "outside/kept.c"},
  };
  // clang-format on
  std::string skipped;
  std::error_code ignored;
  for (const Before& row : rows) {
    Scratch scratch;
    InProject inProject(scratch);
    writeFile("zel_work/kept", "kept");  // and no elb/, which "-na" makes
    if (std::string why = row.place(); !why.empty()) {
      skipped += std::string(row.name) + " (" + why + "); ";
      continue;
    }
    RunSettings rs = withFiles(mine, row.na);
    int32_t status = 0;
    const std::string out = prepareCapturing(rs, status);
    const bool goesOn = row.refusal == nullptr;
    EXPECT_EQ(out, goesOn ? "" : ">>> " + std::string(row.refusal) + ".\n" + kPretreatment) << row.name;
    EXPECT_EQ(status, goesOn ? 0 : -1) << row.name;
    EXPECT_EQ(rs.inputFiles, goesOn ? row.inputFiles : mine) << row.name;
    if (goesOn) {  // only "-na" keeps the work directory, and makes elb/; the list holds the names the run goes on with
      EXPECT_EQ(parseInputList(readFile("zel_work/input.lst")), row.inputFiles) << row.name;
      EXPECT_EQ(fs::exists("zel_work/kept"), row.na && fs::is_directory("zel_work/elb")) << row.name;
    } else if (row.survivor != nullptr) {
      EXPECT_EQ(readFile(row.survivor), "old") << row.name;
    }
    setImmutable("zel_work/elb/d/kept.c", false);
    fs::permissions("zel_work/elb/r", fs::perms::owner_all, ignored);
    umount2("zel_work", MNT_DETACH);
  }
  // The rows that ran still count: the ones this machine cannot set up are
  // named, and the guard they share is reached by another row as root or not.
  if (!skipped.empty()) {
    std::printf("rows not run on this machine: %s\n", skipped.c_str());
  }
}

// A file the run reads that really lies inside zel_work/ is not reset away,
// however it is named: the run is refused and the file stays.
void expectRefusedFor(const std::string& name, bool constraintFile = false) {
  RunSettings rs = withFiles(constraintFile ? std::vector<std::string>{"a.c"} : std::vector<std::string>{"a.c", name});
  rs.ctf = constraintFile ? std::optional(name) : std::nullopt;
  int32_t status = 0;
  EXPECT_EQ(prepareCapturing(rs, status),
            ">>> '" + name + "' lies inside zel_work/, which the reset empties.\n" + kPretreatment);
  EXPECT_EQ(readFile("zel_work/elb/kept"), "kept") << name;
}

// In a project too deep to be spelt from "/": through ".." and a link, by a
// second path (/proc/self/cwd), and through a bind mount of the project.
TEST(PrepareInputList, RefusesToResetAwayAFileTheRunReadsHoweverItIsNamed) {
  Scratch scratch;
  InProject inProject(scratch);
  const std::string level(250, 'd');
  for (int depth = 0; depth < 20; ++depth) {
    fs::create_directory(level), fs::current_path(level);
  }
  fs::create_directory("zel_work"), fs::create_directory("zel_work/elb"), fs::create_directory("sub");
  std::ofstream("zel_work/elb/kept") << "kept";
  fs::create_symlink("zel_work/elb/kept", "link.ctf");
  expectRefusedFor("sub/../link.ctf", true);
  expectRefusedFor("/proc/self/cwd/zel_work/elb/kept");
  if (std::string why = bindMount(".", "sub"); !why.empty()) {
    GTEST_SKIP() << "the bind mount: " << why;
  }
  expectRefusedFor("sub/zel_work/elb/kept");
  umount2("sub", MNT_DETACH);
}

// A project directory that cannot be read cannot be locked: the run is
// refused with the reason rather than run beside another.
TEST(LockProjectDirectory, RefusesAProjectDirectoryItCannotRead) {
  Scratch scratch;
  fs::permissions(scratch.root(), fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(scratch.project(),
                  fs::perms::owner_write | fs::perms::owner_exec | fs::perms::others_write | fs::perms::others_exec);
  InProject inProject(scratch);
  EXPECT_EXIT(
      {
        dup2(2, 1);
        RunSettings rs;
        UniqueFd lock;
        std::exit((geteuid() != 0 || setuid(65534) == 0) && lockProjectDirectory(rs, lock) == -1 ? 0 : 1);
      },
      testing::ExitedWithCode(0),
      ">>> '" + scratch.project() + "' cannot be locked: Permission denied.\n" + kPretreatment);
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
  EXPECT_EQ(out, ">>> 'zel_work/input.lst' cannot be written: File too large.\n" + kPretreatment);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(std::distance(fs::directory_iterator("zel_work"), fs::directory_iterator()), 1);  // elb/ alone
}

TEST(TemporaryFiles, RemovesExactlyEachInputsDotPWithoutAShell) {
  Scratch scratch;
  InProject inProject(scratch);
  for (const char* file : {"a.c.p", "my file.c.p", "my", "file.c.p", "*.c.p", ".p", "sub/x.c.p", "d.c.p/in"}) {
    writeFile(file, "x");
  }
  RunSettings rs = withFiles({"d.c", "a.c", "my file.c", "*.c", "sub/x.c", "missing.c", ""});
  EXPECT_NE(removeTemporaryFiles(rs), 0);  // the directory d.c.p is not unlinked, but the rest go
  for (const char* gone : {"a.c.p", "my file.c.p", "*.c.p", "sub/x.c.p"}) {
    EXPECT_FALSE(fs::exists(gone)) << gone;
  }
  for (const char* kept : {"my", "file.c.p", ".p", "d.c.p/in"}) {
    EXPECT_TRUE(fs::exists(kept)) << kept;
  }
  EXPECT_EQ(removeTemporaryFiles(withFiles({"missing.c"})), 0);
}

}  // namespace

// The work directory on a real disk: reset, tree removal (links never
// followed, mounts never entered, any depth), the input list written and
// read back with "-na", and what happens when the disk refuses.
#include "pipeline/work_directory.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"
#include "pipeline/remove_tree.h"
#include "support/root_powers.h"

namespace fs = std::filesystem;

namespace {

// A fresh directory that is the current directory for the test's lifetime.
class ScratchCwd {
 public:
  ScratchCwd() : previous_(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "talvo_wd.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    fs::current_path(root_);
  }
  ~ScratchCwd() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  ScratchCwd(const ScratchCwd&) = delete;
  ScratchCwd& operator=(const ScratchCwd&) = delete;
  const fs::path& root() const { return root_; }

 private:
  fs::path previous_;
  fs::path root_;
};

void writeFile(const fs::path& path, const std::string& text) {
  if (path.has_parent_path()) {
    fs::create_directories(path.parent_path());
  }
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> names(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

struct ListRow {
  const char* text;
  std::vector<std::string> expected;
};

TEST(InputList, ReadBackRowByRow) {
  const ListRow rows[] = {
      {"a.c;b.c;", names({"a.c", "b.c"})},
      {"", {}},
      {"a.c;b.c", names({"a.c"})},            // the last name lacks its ";": lost
      {"only", {}},                           // no ";" at all
      {"a;;b;", names({"a", "", "b"})},       // an empty entry is an empty name
      {"x;y.c;", names({"x", "y.c"})},        // a name written as "x;y.c" splits
      {"a b.c;\n;", names({"a b.c", "\n"})},  // blanks and line ends are characters like others
  };
  for (const ListRow& row : rows) {
    EXPECT_EQ(parseInputList(row.text), row.expected) << '"' << row.text << '"';
  }
}

TEST(InputList, FormatIsEveryNameWithItsSemicolon) {
  EXPECT_EQ(formatInputList(names({"a.c", "b.c"})), "a.c;b.c;");
  EXPECT_EQ(formatInputList({}), "");
  EXPECT_EQ(formatInputList(names({""})), ";");
}

TEST(InputList, AnEntryOfAnyLengthIsReadBackWhole) {
  const std::string longName = std::string(5000, 'n') + ".c";
  EXPECT_EQ(parseInputList("a.c;" + longName + ";b.c;"), names({"a.c", longName.c_str(), "b.c"}));
  const std::string edge(2047, 'e');
  const std::string over(2048, 'o');
  EXPECT_EQ(parseInputList(edge + ";" + over + ";"), names({edge.c_str(), over.c_str()}));
}

TEST(RemoveTree, RemovesNestedContentAndTheDirectory) {
  ScratchCwd cwd;
  writeFile("tree/a", "1");
  writeFile("tree/.hidden", "2");
  writeFile("tree/..dots", "3");
  writeFile("tree/a.", "3");
  writeFile("tree/.b", "3");
  writeFile("tree/d1/d2/d3/deep", "4");
  fs::create_directories("tree/empty/inner");
  fs::create_symlink("a", "tree/link-to-file");
  fs::create_symlink("nowhere", "tree/dangling");
  ASSERT_EQ(mkfifo("tree/fifo", 0644), 0);
  EXPECT_EQ(removeTree((cwd.root() / "tree").string()), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status("tree")));
}

// Lowers the soft limit of a resource for the scope; restored when it goes.
class ResourceLimit {
 public:
  ResourceLimit(int resource, rlim_t limit) : resource_(resource) {
    getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(resource_, &lowered);
  }
  ~ResourceLimit() { setrlimit(resource_, &saved_); }
  ResourceLimit(const ResourceLimit&) = delete;
  ResourceLimit& operator=(const ResourceLimit&) = delete;

 private:
  int resource_;
  rlimit saved_{};
};

TEST(RemoveTree, RemovesATreeDeeperThanTheDescriptorsItMayOpen) {
  ScratchCwd cwd;
  fs::path deepest = "tree";
  for (int level = 0; level < 120; ++level) {
    deepest /= "d";
  }
  writeFile(deepest / "leaf", "x");
  writeFile("tree/d/sibling", "x");
  ResourceLimit descriptors(RLIMIT_NOFILE, 16);
  EXPECT_EQ(removeTree("tree"), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status("tree")));
}

TEST(RemoveTree, AcceptsATrailingSlashAndMissingPaths) {
  ScratchCwd cwd;
  writeFile("tree/sub/f", "x");
  EXPECT_EQ(removeTree("tree/"), 0);
  EXPECT_FALSE(fs::exists("tree"));
  EXPECT_EQ(removeTree("tree/"), 0);
  EXPECT_EQ(removeTree("no/such/path"), 0);
}

TEST(RemoveTree, LeavesAPlainFileAtThePathAlone) {
  ScratchCwd cwd;
  writeFile("file", "keep");
  EXPECT_EQ(removeTree("file"), 0);
  EXPECT_EQ(readFile("file"), "keep");
}

TEST(RemoveTree, NeverFollowsALinkInsideTheTree) {
  ScratchCwd cwd;
  writeFile("outside/precious.c", "keep");
  writeFile("outside/sub/also.c", "keep too");
  writeFile("zel_work/elb/mine", "x");
  fs::create_directory_symlink(cwd.root() / "outside", "zel_work/link");
  fs::create_directory_symlink("../../outside/sub", "zel_work/elb/relative");
  EXPECT_EQ(resetWorkDirectory(), 0);
  EXPECT_TRUE(fs::is_empty("zel_work/elb"));
  EXPECT_FALSE(fs::exists(fs::symlink_status("zel_work/link")));
  EXPECT_EQ(readFile("outside/precious.c"), "keep");
  EXPECT_EQ(readFile("outside/sub/also.c"), "keep too");
}

TEST(RemoveTree, RemovesALinkAtThePathButNotItsTarget) {
  ScratchCwd cwd;
  writeFile("target/precious.c", "keep");
  fs::create_directory_symlink("target", "tree");
  for (const char* path : {"tree/", "tree"}) {
    if (!fs::exists(fs::symlink_status("tree"))) {
      fs::create_directory_symlink("target", "tree");
    }
    EXPECT_EQ(removeTree(path), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status("tree"))) << path;
    EXPECT_EQ(readFile("target/precious.c"), "keep") << path;
  }
}

TEST(WorkDirectory, ResetWipesEverythingAndMakesBothDirectories0755) {
  ScratchCwd cwd;
  writeFile("zel_work/old.inf", "x");
  writeFile("zel_work/elb/deep/er/elb_old.c", "x");
  const mode_t previous = umask(022);
  EXPECT_EQ(resetWorkDirectory(), 0);
  umask(previous);
  EXPECT_TRUE(fs::is_empty("zel_work/elb"));
  EXPECT_EQ(std::distance(fs::directory_iterator("zel_work"), fs::directory_iterator()), 1);
  for (const char* dir : {"zel_work", "zel_work/elb"}) {
    struct stat info {};
    ASSERT_EQ(lstat(dir, &info), 0) << dir;
    EXPECT_TRUE(S_ISDIR(info.st_mode)) << dir;
    EXPECT_EQ(info.st_mode & 07777, 0755U) << dir;
  }
}

TEST(WorkDirectory, ResetReplacesALinkedWorkDirectoryByARealOne) {
  ScratchCwd cwd;
  writeFile("elsewhere/keep.c", "keep");
  writeFile("elsewhere/elb/keep.c", "keep");
  fs::create_directory_symlink("elsewhere", "zel_work");
  EXPECT_EQ(resetWorkDirectory(), 0);
  EXPECT_FALSE(fs::is_symlink("zel_work"));
  EXPECT_TRUE(fs::is_directory("zel_work/elb"));
  EXPECT_EQ(readFile("elsewhere/keep.c"), "keep");
  EXPECT_EQ(readFile("elsewhere/elb/keep.c"), "keep");
}

RunSettings settingsWith(std::vector<std::string> files) {
  RunSettings rs;
  rs.inputFiles = std::move(files);
  return rs;
}

TEST(PrepareInputList, WritesExactlyTheNamesWithSemicolons) {
  ScratchCwd cwd;
  writeFile("zel_work/stale.lst", "x");
  RunSettings rs = settingsWith(names({"a.c", "b.c"}));
  const mode_t previous = umask(022);
  EXPECT_EQ(prepareInputList(rs), 0);
  umask(previous);
  EXPECT_EQ(readFile("zel_work/input.lst"), "a.c;b.c;");
  struct stat info {};
  ASSERT_EQ(stat("zel_work/input.lst", &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644U);
  EXPECT_EQ(std::distance(fs::directory_iterator("zel_work"), fs::directory_iterator()), 2);  // elb/, input.lst
  EXPECT_TRUE(fs::is_directory("zel_work/elb"));
  EXPECT_EQ(rs.inputFiles, names({"a.c", "b.c"}));
}

TEST(PrepareInputList, WithoutNaAnEarlierListIsReplaced) {
  ScratchCwd cwd;
  writeFile("zel_work/input.lst", "old.c;");
  RunSettings rs = settingsWith(names({"new.c"}));
  EXPECT_EQ(prepareInputList(rs), 0);
  EXPECT_EQ(readFile("zel_work/input.lst"), "new.c;");
  EXPECT_EQ(rs.inputFiles, names({"new.c"}));
}

TEST(PrepareInputList, FailsWhenTheWorkDirectoryCannotBeMade) {
  ScratchCwd cwd;
  writeFile("zel_work", "a file in the way");
  RunSettings rs = settingsWith(names({"a.c"}));
  testing::internal::CaptureStdout();
  EXPECT_EQ(prepareInputList(rs), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error : The pretreatment is not performed.\n");
  EXPECT_EQ(readFile("zel_work"), "a file in the way");
}

TEST(PrepareInputList, FailsInAProjectDirectoryThatIsGone) {
  ScratchCwd cwd;
  fs::create_directory("gone");
  fs::current_path("gone");
  fs::remove(cwd.root() / "gone");
  RunSettings rs = settingsWith(names({"a.c"}));
  testing::internal::CaptureStdout();
  EXPECT_EQ(prepareInputList(rs), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error : The pretreatment is not performed.\n");
}

std::string prepareCapturing(RunSettings& rs, int32_t& status) {
  testing::internal::CaptureStdout();
  status = prepareInputList(rs);
  return testing::internal::GetCapturedStdout();
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
    ScratchCwd cwd;
    if (std::string why = obstacle.place(); !why.empty()) {
      skipped += std::string(obstacle.name) + " (" + why + "); ";
      continue;
    }
    RunSettings rs = settingsWith(names({"new.c"}));
    int32_t status = 0;
    EXPECT_EQ(prepareCapturing(rs, status), "Error : The pretreatment is not performed.\n") << obstacle.name;
    EXPECT_EQ(status, -1) << obstacle.name;
    EXPECT_EQ(rs.inputFiles, names({"new.c"})) << obstacle.name;
    EXPECT_EQ(readFile(obstacle.survivor), obstacle.content) << obstacle.name;
    obstacle.lift();
  }
  if (!skipped.empty()) {
    GTEST_SKIP() << "not on this machine: " << skipped;
  }
}

// With "-na", whatever is in the place of the list and is no regular file,
// or cannot be read, stops the run: no hang, no abort, no names taken.
TEST(PrepareInputList, NaTakesOnlyARegularFileThatReadsWhole) {
  const std::pair<const char*, std::function<void()>> places[] = {
      {"a directory", [] { fs::create_directories("zel_work/input.lst"); }},
      {"a named pipe", [] { ASSERT_EQ(mkfifo("zel_work/input.lst", 0644), 0); }},
      {"a file whose read fails", [] { fs::create_symlink("/proc/self/mem", "zel_work/input.lst"); }},
  };
  for (const auto& [name, place] : places) {
    ScratchCwd cwd;
    fs::create_directories("zel_work/elb");
    place();
    RunSettings rs = settingsWith(names({"new.c"}));
    rs.na = true;
    int32_t status = 0;
    EXPECT_EQ(prepareCapturing(rs, status), "Error : The pretreatment is not performed.\n") << name;
    EXPECT_EQ(status, -1) << name;
    EXPECT_EQ(rs.inputFiles, names({"new.c"})) << name;
  }
}

TEST(PrepareInputList, AListThatCannotBeWrittenWholeLeavesNoList) {
  ScratchCwd cwd;
  RunSettings rs = settingsWith({std::string(64 * 1024, 'n') + ".c"});
  int32_t status = 0;
  std::string out;
  {
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ResourceLimit fileSize(RLIMIT_FSIZE, 4096);  // as a disk that fills up
    out = prepareCapturing(rs, status);
    std::signal(SIGXFSZ, previous);
  }
  EXPECT_EQ(out, "Error : The pretreatment is not performed.\n");
  EXPECT_EQ(status, -1);
  EXPECT_EQ(std::distance(fs::directory_iterator("zel_work"), fs::directory_iterator()), 1);  // elb/ alone
}

TEST(TemporaryFiles, RemovesExactlyEachInputsDotPWithoutAShell) {
  ScratchCwd cwd;
  for (const char* file : {"a.c.p", "my file.c.p", "my", "file.c.p", "*.c.p", "other.c.p", "sub/x.c.p", "b.c"}) {
    writeFile(file, "x");
  }
  RunSettings rs = settingsWith(names({"a.c", "my file.c", "*.c", "sub/x.c", "missing.c", "b.c"}));
  EXPECT_EQ(removeTemporaryFiles(rs), 0);
  for (const char* gone : {"a.c.p", "my file.c.p", "*.c.p", "sub/x.c.p"}) {
    EXPECT_FALSE(fs::exists(gone)) << gone;
  }
  for (const char* kept : {"my", "file.c.p", "other.c.p", "b.c"}) {
    EXPECT_TRUE(fs::exists(kept)) << kept;
  }
}

TEST(TemporaryFiles, AFileThatCannotBeRemovedIsAFailureButTheRestGo) {
  ScratchCwd cwd;
  fs::create_directories("d.c.p/inside");  // a directory is not unlinked
  writeFile("e.c.p", "x");
  RunSettings rs = settingsWith(names({"d.c", "e.c"}));
  EXPECT_NE(removeTemporaryFiles(rs), 0);
  EXPECT_TRUE(fs::exists("d.c.p/inside"));
  EXPECT_FALSE(fs::exists("e.c.p"));
}

}  // namespace

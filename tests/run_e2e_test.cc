// talvo_s as a user runs it, on the substitute tools: the example project
// traced end to end, a failure in each phase, thousands of files, two runs
// in one directory, and what only the binary shows (exit statuses, standard
// output closed or full, memory running short, a constraint file on a pipe).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace {

using namespace expected;  // NOLINT(google-build-using-namespace): the log texts

// Puts a script of the tool's name first on PATH.
void shadowTool(Scratch& scratch, const std::string& tool, const std::string& body) {
  const std::string script = scratch.root() + "/shadow/" + tool;
  writeFile(script, "#!/bin/sh\n" + body + "\n");
  fs::permissions(script, fs::perms::owner_all);
  scratch.env()["PATH"] = scratch.root() + "/shadow:" + scratch.env()["PATH"];
}

TEST(Run, TheExampleProjectTracedEndToEnd) {
  Scratch scratch;
  const std::string source = TALVO_SOURCE_DIR;
  fs::copy(source + "/examples/project", scratch.project(), fs::copy_options::recursive);
  scratch.env()["TALVO"] = source + "/examples/talvo_root";
  scratch.env()["TVM"] = "1";
  scratch.env()["TVPOMSK"] = "1";
  const ProcessResult result = scratch.run({"-ctf", "filter.ctf", "filter.c", "gain.c"});
  EXPECT_EQ(normaliseDates(result.out), readFile(source + "/tests/example.log"));
  EXPECT_EQ(result.err, "");  // nothing of its own on stderr; in the sanitizer build, no leak either
  EXPECT_EQ(result.exitCode, 0);
  const std::string listing =
      "find zel_work -type f | LC_ALL=C sort | while read -r f; do echo \"== $f\"; cat \"$f\"; "
      "done | sed \"s|$TALVO|\\$TALVO|\"";  // every work file, in name order
  EXPECT_EQ(runProcess({"/bin/sh", "-c", listing}, {.cwd = scratch.project(), .env = scratch.env()}).out,
            readFile(source + "/tests/example.work"));
}

TEST(Run, TheSubstituteToolsRefuseLinesOfAnotherShape) {
  Scratch scratch;
  for (const char* line :
       {"lurin -notitle -o o.cfi a.c", "lurin -notitle -o o.cfi a.c -i . -x y", "dravik -pf -notitle -o g r -x P",
        "dravik -pX -notitle -o g r", "seltor -read -inc i.icd", "seltor -write -inc i.icd x.c -s _e.c -add a b",
        "seltor -inc i.icd", "nuvar g i o -x", "kivard -notitle g -mfile p x", "talvoChk g i -dsp -algoc",
        "talvoChk g i", "talvoChk g i -dsp -avar_max_size 0", "pomsk x"}) {
    EXPECT_EQ(runProcess({"/bin/sh", "-c", line}, {.cwd = scratch.project(), .env = scratch.env()}).exitCode, 2)
        << line;
  }
}

TEST(Run, AFailingToolStopsItsPhaseAndTheRunEndsInOrder) {
  for (const auto& [tool, status, log] : {std::tuple{"dravik", 254, kChecking + kStopped},
                                          std::tuple{"kivard", 253, kChecking + kElaborating + kStopped}}) {
    Scratch scratch;
    scratch.write("a.c", "float a;\n");
    scratch.write("a.c.p", "");
    shadowTool(scratch, tool, "exit 9");
    const ProcessResult result = scratch.run({"a.c"});
    EXPECT_EQ(result.exitCode, status) << tool;
    EXPECT_EQ(normaliseDates(result.out), kBanner + echo(" a.c") + log) << tool;
    EXPECT_FALSE(scratch.exists("a.c.p")) << tool;
  }
}

TEST(Run, ThousandsOfFilesRunThroughLinesLongerThanOneArgumentMayBe) {
  Scratch scratch;
  std::vector<std::string> files;
  std::string list;
  for (int i = 0; i < 5000; ++i) {
    files.push_back("source_" + std::to_string(100000 + i) + "_with_a_forty_character_n.c");  // 40 x 5,000
    scratch.write(files.back(), "float f" + std::to_string(i) + ";\n");
    list += files.back() + ";";
  }
  const ProcessResult result = scratch.run(files);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(scratch.read("zel_work/input.lst"), list);
  EXPECT_TRUE(scratch.exists("zel_work/elb/elb_" + files.back().substr(0, 38) + "_elb.c"));
}

TEST(Run, ASecondRunInTheDirectoryWaitsForTheFirstToEnd) {
  Scratch scratch;
  scratch.write("a.c", "float a;\n");
  scratch.write("b.c", "float b;\n");
  const std::string gate = scratch.root() + "/gate";
  shadowTool(scratch, "lurin",
             ": >" + gate + ".waiting; while [ ! -e " + gate + " ]; do sleep 0.05; done; exec " + TALVO_TOOLS_DIR +
                 "/lurin \"$@\"");
  const std::string secondLog = scratch.root() + "/second.out";
  const std::string waiting = ">>> Waiting for another run in this directory to end.\n";
  std::ofstream{secondLog};
  ProcessResult first;
  std::thread firstRun([&] { first = scratch.run({"a.c"}); });
  EXPECT_TRUE(waitForText(gate + ".waiting", ""));
  std::thread secondRun([&] { scratch.run({"b.c"}, {.stdoutPath = secondLog}); });
  EXPECT_TRUE(waitForText(secondLog, waiting));
  std::ofstream{gate};
  firstRun.join();
  secondRun.join();
  EXPECT_EQ(normaliseDates(first.out), kBanner + echo(" a.c") + kChecking + kElaborating + kFinished);
  EXPECT_EQ(normaliseDates(readFile(secondLog)),
            kBanner + echo(" b.c") + waiting + kChecking + kElaborating + kFinished);
  EXPECT_EQ(scratch.read("zel_work/input.lst"), "b.c;");
}

TEST(Run, MemoryRunningShortEndsTheRunInOrder) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit allows";
#else
  Scratch scratch;
  scratch.write("c.ctf", "$def_start_option\n-D " + std::string(48 << 20, 'm') + "\n");
  const ProcessResult result = scratch.run({"-ctf", "c.ctf", "a.c"}, {.addressSpaceLimit = 64L << 20});
  EXPECT_EQ(normaliseDates(result.out), kBanner + checking("c.ctf") + "talvo_s:Error:Short of memory\n");
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_EQ(result.termSignal, 0);
#endif
}

TEST(Run, TheConstraintHeadingShowsBeforeAPipeIsOpened) {
  Scratch scratch;
  const std::string log = scratch.root() + "/run.out";
  const std::string pipe = scratch.project() + "/c.ctf";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  std::ofstream{log};
  ProcessResult result;
  std::thread run([&] { result = scratch.run({"-ctf", "c.ctf"}, {.stdoutPath = log}); });
  EXPECT_TRUE(waitForText(log, checking("c.ctf")));
  std::ofstream(pipe) << "$def_start_option\n-max 9\n";  // its writer lets the run go on
  run.join();
  EXPECT_EQ(result.exitCode, 255);  // no input files
}

}  // namespace

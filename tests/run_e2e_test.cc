// talvo_s as a user runs it, on the substitute tools: the example project
// traced end to end, a failure in each phase, thousands of files, two runs
// in one directory, runs stopped by signals, and what only the binary shows
// (exit statuses, memory running short, a constraint file on a pipe).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
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

// Puts `script` first on PATH under the name of every tool; it finds the
// real tool as "$TOOLS/${0##*/}".
void replaceTools(Scratch& scratch, const std::string& script) {
  writeFile(scratch.root() + "/replaced/script", script);
  fs::permissions(scratch.root() + "/replaced/script", fs::perms::owner_all);
  for (const char* tool : {"lurin", "dravik", "talvoChk", "seltor", "nuvar", "pomsk", "kivard"}) {
    fs::create_symlink("script", scratch.root() + "/replaced/" + tool);
  }
  scratch.env()["TOOLS"] = TALVO_TOOLS_DIR;
  scratch.env()["PATH"] = scratch.root() + "/replaced:" + scratch.env()["PATH"];
}

const std::string kSource = TALVO_SOURCE_DIR;
const std::vector<std::string> kExampleRun = {"-ctf", "filter.ctf", "filter.c", "gain.c"};

// The example project in the scratch project, with the environment of its golden log.
void copyExample(Scratch& scratch) {
  fs::copy(kSource + "/examples/project", scratch.project(), fs::copy_options::recursive);
  scratch.env()["TALVO"] = kSource + "/examples/talvo_root";
  scratch.env()["TVM"] = "1";
  scratch.env()["TVPOMSK"] = "1";
}

// The output of a shell line run in the project.
std::string shellOutput(Scratch& scratch, const std::string& line) {
  return runProcess({"/bin/sh", "-c", line}, {.cwd = scratch.project(), .env = scratch.env()}).out;
}

// Every work file with its content, in name order.
std::string workListing(Scratch& scratch) {
  return shellOutput(scratch,
                     "find zel_work -type f | LC_ALL=C sort | while read -r f; do echo \"== $f\"; cat \"$f\"; "
                     "done | sed \"s|$TALVO|\\$TALVO|\"");
}

TEST(Run, TheExampleProjectTracedEndToEnd) {
  Scratch scratch;
  copyExample(scratch);
  const ProcessResult result = scratch.run(kExampleRun);
  EXPECT_EQ(normaliseDates(result.out), readFile(kSource + "/tests/example.log"));
  EXPECT_EQ(result.err, "");  // nothing of its own on stderr; in the sanitizer build, no leak either
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(workListing(scratch), readFile(kSource + "/tests/example.work"));
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

// The lock is held by every process of a run: after kill -9 of the first
// driver its lurin still works, and the second run waits for it.
TEST(Run, ASecondRunInTheDirectoryWaitsForEveryProcessOfTheFirst) {
  Scratch scratch;
  scratch.write("a.c", "float a;\n");
  scratch.write("b.c", "float b;\n");
  const std::string gate = scratch.root() + "/gate";
  shadowTool(scratch, "lurin",
             ": >" + gate + ".waiting; while [ ! -e " + gate + " ]; do sleep 0.05; done; exec " + TALVO_TOOLS_DIR +
                 "/lurin \"$@\"");
  const ProcessResult first = scratch.run({"a.c"}, {.started = [&](pid_t pid) {
                                            waitForText(gate + ".waiting", "");
                                            kill(pid, SIGKILL);
                                          }});
  EXPECT_EQ(first.termSignal, SIGKILL);
  const std::string secondLog = scratch.root() + "/second.out";
  const std::string waiting = ">>> Waiting for another run in this directory to end.\n";
  std::ofstream{secondLog};
  std::thread secondRun([&] { scratch.run({"b.c"}, {.stdoutPath = secondLog}); });
  EXPECT_TRUE(waitForText(secondLog, waiting));
  std::ofstream{gate};
  secondRun.join();
  EXPECT_EQ(normaliseDates(readFile(secondLog)),
            kBanner + echo(" b.c") + waiting + kChecking + kElaborating + kFinished);
  EXPECT_EQ(scratch.read("zel_work/input.lst"), "b.c;");
}

// A stop signal while lurin runs, sent to the driver or to its whole process
// group: lurin gets it, the run ends as a stopped one (the ".p" files gone,
// nothing in TMPDIR) and the driver then dies of that signal.
TEST(Run, AStopSignalEndsTheRunInOrderAndThenTheDriver) {
  struct Row {
    int signal;
    bool toGroup;
    int files;  // 1,100 make lines too long for one argument
  };
  for (const Row& row :
       {Row{SIGTERM, true, 1100}, Row{SIGHUP, false, 1}, Row{SIGINT, false, 1}, Row{SIGQUIT, true, 1}}) {
    Scratch scratch;
    std::vector<std::string> files;
    std::string echoed;
    for (int i = 0; i < row.files; ++i) {
      files.push_back("source_" + std::to_string(1000 + i) + std::string(90, 'n') + ".c");
      scratch.write(files.back() + ".p", "");
      echoed += " " + files.back();
    }
    const std::string started = scratch.root() + "/started";
    shadowTool(scratch, "lurin", ": >" + started + "; for i in $(seq 200); do sleep 0.05; done");
    fs::create_directory(scratch.env()["TMPDIR"] = scratch.root() + "/tmp");
    const ProcessResult result = scratch.run(files, {.ownGroup = true, .started = [&](pid_t pid) {
                                                       waitForText(started, "");
                                                       kill(row.toGroup ? -pid : pid, row.signal);
                                                     }});
    EXPECT_EQ(result.termSignal, row.signal);
    EXPECT_EQ(normaliseDates(result.out), kBanner + echo(echoed) + kChecking + kStopped) << row.signal;
    EXPECT_EQ(shellOutput(scratch, "ls -A | grep -c -v zel_work; ls -A \"$TMPDIR\""), "0\n") << row.signal;
  }
}

// File names reach every tool as themselves, one argument each, and nothing
// in a name runs. The tool arguments of a run on a safe name are the
// reference: what is made from it is made alike from every other name.
TEST(Run, FileNamesReachTheToolsAsThemselves) {
  const auto argumentsOfRun = [](const std::string& name) {
    Scratch scratch;
    replaceTools(scratch, "#!/bin/sh\nprintf '%s\\0' \"${0##*/}\" \"$@\" >>\"$RECORD\"; echo >>\"$RECORD\"\n");
    scratch.env()["RECORD"] = scratch.root() + "/record";
    scratch.env()["TALVO"] = kSource + "/examples/talvo_root";
    for (const std::string& file : {name, name + ".ctf", std::string("other.c")}) {
      scratch.write(file, "");
    }
    scratch.run({"-ctf", "./" + name + ".ctf", "./" + name});
    return readFile(scratch.root() + "/record") + (scratch.exists("PWNED") ? "and PWNED" : "");
  };
  const std::string safe = argumentsOfRun("safe.c");
  for (const std::string name :
       {"my filter.c", "a$(touch PWNED).c", "a`touch PWNED`.c", "a;touch PWNED;.c", "it's.c", "*.c", "new\nline.c", "-lead.c"}) {
    EXPECT_EQ(argumentsOfRun(name), std::regex_replace(safe, std::regex("safe\\.c"), name)) << name;
  }
}

// Fifty runs of the example, each killed at a random moment, each followed
// by a clean run: nothing outside zel_work/ changes, nothing stays in TMPDIR,
// no tool ever works beside another run's, and every clean run is fresh.
TEST(Run, RunsKilledAtRandomMomentsLeaveNothingBehind) {
  Scratch scratch;
  copyExample(scratch);
  fs::create_directory(scratch.env()["TMPDIR"] = scratch.root() + "/tmp");
  // Each tool leaves a mark named by its pid and start time; a tool that
  // finds the mark of one still running is working beside it (the marks of
  // tools that ended are cleared away).
  replaceTools(scratch, R"sh(#!/bin/sh
started() { cut -d' ' -f3,22 /proc/$1/stat 2>/dev/null; }
for mark in "$MARKS"/*; do
  pid=${mark##*/}; pid=${pid%.*}
  case $(started $pid) in [!Z]*" ${mark##*.}") echo "$0 $mark" >>"$MARKS.overlap" ;; *) rm -f "$mark" ;; esac
done
: >"$MARKS/$$.$(started $$ | cut -d' ' -f2)"
sleep 0.03
exec "$TOOLS/${0##*/}" "$@"
)sh");
  const std::string marks = scratch.env()["MARKS"] = scratch.root() + "/marks";
  fs::create_directories(marks);
  const std::string outside = "find . -path ./zel_work -prune -o -type f -exec md5sum {} + | sort";
  const std::string before = shellOutput(scratch, outside);
  std::mt19937 random(1);
  for (int run = 0; run < 50; ++run) {
    scratch.run(kExampleRun, {.started = [&](pid_t pid) {
                  std::this_thread::sleep_for(std::chrono::microseconds(random() % 250000));
                  kill(pid, random() % 2 == 0 ? SIGTERM : SIGKILL);
                }});
    EXPECT_EQ(scratch.run(kExampleRun).exitCode, 0) << run;
    EXPECT_EQ(workListing(scratch), readFile(kSource + "/tests/example.work")) << run;
  }
  EXPECT_EQ(shellOutput(scratch, outside), before);
  EXPECT_TRUE(fs::is_empty(scratch.env()["TMPDIR"]));
  EXPECT_FALSE(fs::exists(marks + ".overlap")) << readFile(marks + ".overlap");
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

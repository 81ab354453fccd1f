// talvo_s as a user runs it, on the substitute tools: the example project
// traced end to end, two runs in one directory, runs stopped by signals,
// file names the shell would read, and what only the binary shows (the
// tools' own checks, a closed standard output, memory running short).
#include <gtest/gtest.h>

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

// Puts a script of the tool's name (every tool's without one) first on PATH;
// the real tool is "$TOOLS/${0##*/}".
void shadowTool(Scratch& scratch, const std::string& tool, const std::string& body) {
  const std::string shadow = scratch.root() + "/shadow";
  for (const char* name : {"lurin", "dravik", "talvoChk", "seltor", "nuvar", "pomsk", "kivard"}) {
    if (tool.empty() || tool == name) {
      writeFile(shadow + "/" + name, "#!/bin/sh\n" + body + "\n");
      fs::permissions(shadow + "/" + name, fs::perms::owner_all);
    }
  }
  scratch.env()["TOOLS"] = TALVO_TOOLS_DIR;
  scratch.env()["PATH"] = shadow + ":" + scratch.env()["PATH"];
}

const std::string kSource = TALVO_SOURCE_DIR;
const std::vector<std::string> kExampleRun = {"-ctf", "filter.ctf", "filter.c", "gain.c"};

// `count` source names; 1,100 of them make lines too long for one argument.
std::vector<std::string> sourceNames(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("source_" + std::to_string(1000 + i) + std::string(90, 'n') + ".c");
  }
  return names;
}

// The example project in the scratch project, with the environment of its golden log.
void copyExample(Scratch& scratch) {
  fs::copy(kSource + "/examples/project", scratch.project(), fs::copy_options::recursive);
  scratch.env()["TALVO"] = kSource + "/examples/talvo_root";
  scratch.env()["TVM"] = "1";
  scratch.env()["TVPOMSK"] = "1";
}

// A shell line run in the project.
ProcessResult inShell(Scratch& scratch, const std::string& line) {
  return runProcess({"/bin/sh", "-c", line}, {.cwd = scratch.project(), .env = scratch.env()});
}

// Every work file with its content, in name order.
std::string workListing(Scratch& scratch) {
  const std::string listing =
      "find zel_work -type f | LC_ALL=C sort | while read -r f; do echo \"== $f\"; cat \"$f\"; done | "
      "sed \"s|$TALVO|\\$TALVO|\"";
  return inShell(scratch, listing).out;
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
       {"lurin -notitle -o o.cfi a.c", "lurin -notitle -o o.cfi a.c -i . -x y", "lurin -notitle -o o.cfi a.c -i",
        "kivard X g -mfile p", "dravik -pf -notitle -o g r -x P", "dravik -pX -notitle -o g r",
        "seltor -read -inc i.icd", "seltor -write -inc i.icd x.c -s _e.c -add a b", "seltor -inc i.icd",
        "nuvar g i o -x", "kivard -notitle g -mfile p x", "talvoChk g i -dsp -algoc", "talvoChk g i",
        "talvoChk g i -dsp -avar_max_size 0", "pomsk x"}) {
    EXPECT_EQ(inShell(scratch, line).exitCode, 2) << line;
  }
  // The right shape: one C file, which is missing.
  EXPECT_EQ(inShell(scratch, "seltor -read -inc i.icd a.c").exitCode, 1);
}

// What a caller leaves the run does not reach its files or its waits: a
// closed standard output is kept closed to the run's own files (the tools get
// one they can write to), and an ignored SIGCHLD does not hide the tools'
// statuses.
TEST(Run, WhatTheCallerLeavesTheRunIsPutRight) {
  for (const char* caller : {"exec >&- && exec \"$0\" a.c", "trap '' CHLD && exec \"$0\" a.c"}) {
    Scratch scratch;
    scratch.write("a.c", "float a;\n");
    shadowTool(scratch, "lurin", "echo lurin speaks && exec \"$TOOLS/lurin\" \"$@\"");
    const ProcessResult result =
        runProcess({"/bin/bash", "-c", caller, TALVO_S_BINARY}, {.cwd = scratch.project(), .env = scratch.env()});
    EXPECT_EQ(result.exitCode, 0) << caller << result.out;
  }
}

// The lock is held by every process of a run: after kill -9 of the first
// driver its lurin still works, and the second run waits for it.
TEST(Run, ASecondRunInTheDirectoryWaitsForEveryProcessOfTheFirst) {
  Scratch scratch;
  scratch.write("a.c", "float a;\n");
  scratch.write("b.c", "float b;\n");
  const std::string gate = scratch.root() + "/gate";
  shadowTool(scratch, "lurin",
             ": >" + gate + ".waiting; while [ ! -e " + gate + " ]; do sleep 0.05; done; exec \"$TOOLS/lurin\" \"$@\"");
  const ProcessResult first = scratch.run({"a.c"}, {.started = [&](pid_t pid) {
                                            waitForText(gate + ".waiting", "");
                                            kill(pid, SIGKILL);
                                          }});
  EXPECT_EQ(first.termSignal, SIGKILL);
  const std::string waiting = ">>> Waiting for another run in this directory to end.\n";
  const ProcessResult second = scratch.run({"b.c"}, {.started = [&](pid_t pid) {
                                             const std::string output = "/proc/" + std::to_string(pid) + "/fd/1";
                                             EXPECT_TRUE(waitForText(output, waiting));
                                             std::ofstream{gate};
                                           }});
  EXPECT_EQ(normaliseDates(second.out), kBanner + echo(" b.c") + waiting + kChecking + kElaborating + kFinished);
  EXPECT_EQ(scratch.read("zel_work/input.lst"), "b.c;");
}

// A stop signal while lurin runs, sent to the driver or to its whole process
// group: lurin gets it and, for SIGTERM and SIGHUP, spends a second finishing
// its output (the first input's ".p" among it); the run ends as a stopped one
// only after that (the ".p" files gone, nothing in TMPDIR), and the driver
// then dies of the signal.
TEST(Run, AStopSignalEndsTheRunInOrderAfterTheToolAndThenTheDriver) {
  struct Row {
    int signal;
    bool toGroup;
    int files;
  };
  for (const Row& row : {Row{SIGTERM, false, 1100}, Row{SIGTERM, true, 1}, Row{SIGHUP, false, 1}, Row{SIGHUP, true, 1},
                         Row{SIGINT, false, 1}, Row{SIGQUIT, true, 1}}) {
    Scratch scratch;
    const std::vector<std::string> files = sourceNames(row.files);
    const std::string mark = scratch.root() + "/mark";  // what lurin did
    shadowTool(scratch, "lurin",
               "trap 'sleep 1; : >" + files[0] + ".p; echo finished >>" + mark + "; exit 1' TERM HUP; echo started >" +
                   mark + "; for i in $(seq 200); do sleep 0.05; done");
    fs::create_directory(scratch.env()["TMPDIR"] = scratch.root() + "/tmp");
    const ProcessResult result = scratch.run(files, {.ownGroup = true, .started = [&](pid_t pid) {
                                                       waitForText(mark, "started");
                                                       kill(row.toGroup ? -pid : pid, row.signal);
                                                     }});
    EXPECT_EQ(result.termSignal, row.signal);
    EXPECT_EQ(normaliseDates(result.out.substr(result.out.find(kChecking))), kChecking + kStopped) << row.signal;
    EXPECT_EQ(inShell(scratch, "ls -A | grep -c -v zel_work; ls -A \"$TMPDIR\"").out, "0\n") << row.signal;
    EXPECT_EQ(readFile(mark), row.signal == SIGTERM || row.signal == SIGHUP ? "started\nfinished\n" : "started\n");
  }
}

// What the runner cannot do, it says in a line of its own, and the phase
// fails: a line too long for one argument without /proc to read it through,
// and a /bin/sh that cannot be started. Each in a mount namespace of its own.
TEST(Run, TheRunnersOwnFailuresSayWhy) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root for a mount namespace without /proc and with /bin/sh unusable";
  }
  for (const auto& [change, line] : {std::pair{"umount -l /proc",
                                               ">>> A command line too long for one argument cannot be handed to the "
                                               "shell: '/proc/<PID>/fd/<FD>' cannot be opened: No such file or "
                                               "directory.\n"},
                                     std::pair{"mount --bind /dev/null \"$(readlink -f /bin/sh)\"",
                                               ">>> /bin/sh cannot be started: Permission denied.\n"}}) {
    Scratch scratch;
    std::vector<std::string> argv = sourceNames(1100);
    argv.insert(argv.begin(), {"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                               change + std::string(" && exec \"$0\" \"$@\""), TALVO_S_BINARY});
    const ProcessResult result = runProcess(argv, {.cwd = scratch.project(), .env = scratch.env()});
    const std::string out = std::regex_replace(result.out, std::regex("/proc/[0-9]+/fd/[0-9]+"), "/proc/<PID>/fd/<FD>");
    EXPECT_EQ(normaliseDates(out.substr(out.find(kChecking))), kChecking + line + kStopped);
#if !defined(__SANITIZE_ADDRESS__)  // whose leak check at the end cannot work without /proc and exits with 1
    EXPECT_EQ(result.exitCode, 254);
#endif
  }
}

// File names reach every tool as themselves, one argument each, and nothing
// in a name runs. The tool arguments of a run on a safe name are the
// reference: what is made from it is made alike from every other name.
TEST(Run, FileNamesReachTheToolsAsThemselves) {
  const auto argumentsOfRun = [](const std::string& name) {
    Scratch scratch;
    shadowTool(scratch, "", "printf '%s\\0' \"${0##*/}\" \"$@\" >>\"$RECORD\"; echo >>\"$RECORD\"");
    scratch.env()["RECORD"] = scratch.root() + "/record";
    scratch.env()["TALVO"] = kSource + "/examples/talvo_root";
    for (const std::string& file : {name, name + ".ctf", std::string("other.c")}) {
      scratch.write(file, "");
    }
    scratch.run({"-ctf", "./" + name + ".ctf", "./" + name});
    return readFile(scratch.root() + "/record") + (scratch.exists("PWNED") ? "and PWNED" : "");
  };
  const std::string safe = argumentsOfRun("safe.c");
  for (const std::string name : {"my filter.c", "a$(touch PWNED).c", "a`touch PWNED`.c", "a&&touch PWNED&&.c", "it's.c",
                                 "*.c", "new\nline.c"}) {
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
  // Every tool holds a lock of the test's own while it works; a tool that
  // cannot take it is working beside another run's.
  shadowTool(scratch, "",
             "exec 9>>\"$MARK\"\nflock -n 9 || echo \"$0\" >>\"$MARK.overlap\"\nsleep 0.03\n"
             "exec \"$TOOLS/${0##*/}\" \"$@\"");
  const std::string mark = scratch.env()["MARK"] = scratch.root() + "/mark";
  const std::string outside = "find . -path ./zel_work -prune -o -type f -exec md5sum {} + | sort";
  const std::string before = inShell(scratch, outside).out;
  std::mt19937 random(1);
  for (int run = 0; run < 50; ++run) {
    scratch.run(kExampleRun, {.started = [&](pid_t pid) {
                  std::this_thread::sleep_for(std::chrono::microseconds(random() % 250000));
                  kill(pid, random() % 2 == 0 ? SIGTERM : SIGKILL);
                }});
    EXPECT_EQ(scratch.run(kExampleRun).exitCode, 0) << run;
    EXPECT_EQ(workListing(scratch), readFile(kSource + "/tests/example.work")) << run;
  }
  EXPECT_EQ(inShell(scratch, outside).out, before);
  EXPECT_TRUE(fs::is_empty(scratch.env()["TMPDIR"]));
  EXPECT_FALSE(fs::exists(mark + ".overlap")) << readFile(mark + ".overlap");
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

}  // namespace

// Recording stand-ins for the seven tools of the pipeline, for end-to-end tests.
//
//   Scratch scratch;
//   FakeTools fakes = installFakeTools(scratch);   // fakes first on PATH in scratch.env()
//   scratch.env()["FAKE_FAIL"] = "talvoChk:2";      // optional: make a run fail
//   ProcessResult result = scratch.run({"a.c"});
//   EXPECT_EQ(fakeToolCalls(fakes)[0], "lurin -notitle -o zel_work/elb/lurin.cfi a.c -i ...");
//
// Each fake (lurin, dravik, talvoChk, seltor, nuvar, pomsk, kivard) is a tiny
// shell script in <scratch root>/fakebin. It appends one line to the log file
// (its name, then each argument after a tab) and then exits with status 0,
// unless the environment of the run says otherwise:
//
//   FAKE_FAIL    blank-separated entries "tool" (every run of that tool) or
//                "tool:N" (its N-th run, counted from 1): exit with FAKE_STATUS
//   FAKE_STATUS  the failing exit status, default 1
//   FAKE_KILL    entries as for FAKE_FAIL: the tool kills itself with SIGKILL
//   FAKE_HOLD    entries as for FAKE_FAIL: the tool creates "$FAKE_GATE.waiting"
//                and waits until the file $FAKE_GATE exists
//
// A fake does not look at or write any file other than the log; tests that
// need work files create them themselves.
#pragma once

#include <string>
#include <vector>

#include "support/scratch.h"

struct FakeTools {
  std::string binDir;   // the directory of the seven scripts, first on PATH
  std::string logPath;  // one line per tool run, in run order
};

/// The names of the seven tools, in pipeline order (pomsk, the optional one, included).
const std::vector<std::string>& fakeToolNames();

/// Writes the seven fakes into <scratch root>/fakebin, empties the log and
/// puts the directory first on PATH in scratch.env().
FakeTools installFakeTools(Scratch& scratch);

/// One entry per tool run, in order: the tool name followed by each argument,
/// joined by single blanks ("dravik -pf -notitle -o zel_work/elb/lurin.cdfg ...").
std::vector<std::string> fakeToolCalls(const FakeTools& fakes);

/// The same runs as argument vectors (element 0 is the tool name); use it
/// where argument boundaries matter, e.g. for names holding blanks.
std::vector<std::vector<std::string>> fakeToolArgv(const FakeTools& fakes);

/// Only the tool names of the runs, in order.
std::vector<std::string> fakeToolsRun(const FakeTools& fakes);

// The pipeline through the binary: the tool lines as traced and as the tools
// receive them, the order of the steps, the phase statuses, the work
// directory and the input list, the removal of temporary files; with
// recording fakes and with the substitute tools on the example project.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/expected_output.h"
#include "support/fake_tools.h"
#include "support/process.h"
#include "support/scratch.h"

namespace fs = std::filesystem;

namespace {

using namespace expected;  // NOLINT(google-build-using-namespace): the log texts

// The eight lines of a default run with a.c and b.c, exactly as composed.
const std::vector<std::string> kDefaultLines = {
    "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude  ",
    "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi ",
    "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev ",
    "seltor -read -inc zel_work/infoinclude.icd a.c b.c ",
    "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer ",
    "kivard -notitle zel_work/elb/elb_lurin.cdfg -mfile zel_work/elb/elb_  ",
    "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -dsp -mev ",
    "seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_a.c zel_work/elb/elb_b.c -s _elb.c -add  ",
};

// What a tool receives from a line: the shell drops the trailing blanks.
std::string received(std::string line) {
  while (!line.empty() && line.back() == ' ') {
    line.pop_back();
  }
  for (size_t at = line.find("  "); at != std::string::npos; at = line.find("  ")) {
    line.erase(at, 1);
  }
  return line;
}

// A project with a.c, b.c and their leftover temporary files, and the fakes.
struct FakeProject {
  Scratch scratch;
  FakeTools fakes = installFakeTools(scratch);
  FakeProject() {
    for (const char* file : {"a.c", "b.c", "a.c.p", "b.c.p"}) {
      scratch.write(file, "int x;\n");
    }
  }
};

TEST(PipelineRun, DefaultRunTracesEightExactLinesInOrder) {
  FakeProject project;
  project.scratch.env()["TVM"] = "1";
  ProcessResult result = project.scratch.run({"a.c", "b.c"});
  std::string expected = kBanner + echo(" a.c b.c") + kChecking;
  for (size_t i = 0; i < kDefaultLines.size(); ++i) {
    expected += (i == 4 ? kElaborating : "") + trace(kDefaultLines[i]);
  }
  EXPECT_EQ(normaliseDates(result.out), expected + kFinished);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  std::vector<std::string> expectedCalls;
  for (const std::string& line : kDefaultLines) {
    expectedCalls.push_back(received(line));
  }
  std::vector<std::string> calls = fakeToolCalls(project.fakes);
  for (std::string& call : calls) {  // the shell expanded $TALVO
    size_t at = call.find(project.scratch.talvoRoot());
    if (at != std::string::npos) {
      call.replace(at, project.scratch.talvoRoot().size(), "$TALVO");
    }
  }
  EXPECT_EQ(calls, expectedCalls);
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "a.c;b.c;");
  EXPECT_FALSE(project.scratch.exists("a.c.p"));
  EXPECT_FALSE(project.scratch.exists("b.c.p"));
}

TEST(PipelineRun, WithoutTraceOnlyTheHeadingsAndTheEndLine) {
  for (const char* tvm : {"1 ", "0", "", "11"}) {
    FakeProject project;
    project.scratch.env()["TVM"] = tvm;
    ProcessResult result = project.scratch.run({"a.c", "b.c"});
    EXPECT_EQ(normaliseDates(result.out), kBanner + echo(" a.c b.c") + kChecking + kElaborating + kFinished)
        << '"' << tvm << '"';
    EXPECT_EQ(fakeToolsRun(project.fakes).size(), 8U) << '"' << tvm << '"';
  }
}

TEST(PipelineRun, InstanceDumpRunsPomskBetweenPreElaborationAndElaboration) {
  FakeProject project;
  project.scratch.env()["TVPOMSK"] = "1";
  project.scratch.env()["TVM"] = "1";
  ProcessResult result = project.scratch.run({"a.c", "b.c"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(fakeToolsRun(project.fakes), (std::vector<std::string>{"lurin", "dravik", "talvoChk", "seltor", "nuvar",
                                                                   "pomsk", "kivard", "talvoChk", "seltor"}));
  EXPECT_NE(normaliseDates(result.out).find(trace(kDefaultLines[4]) + trace("pomsk ") + trace(kDefaultLines[5])),
            std::string::npos);
}

// One failing step: which fake fails, which tools ran, the exit status.
struct FailureRow {
  const char* fail;
  const char* instanceDump;
  size_t toolsRun;
  int exitCode;
};

TEST(PipelineRun, EachFailingStepStopsThePipelineWithItsPhaseStatus) {
  const std::vector<std::string> order{"lurin", "dravik", "talvoChk", "seltor", "nuvar",
                                       "pomsk", "kivard", "talvoChk", "seltor"};
  const FailureRow rows[] = {
      {"lurin", "0", 1, 254}, {"dravik", "0", 2, 254}, {"talvoChk:1", "0", 3, 254}, {"seltor:1", "0", 4, 254},
      {"nuvar", "0", 5, 253}, {"kivard", "0", 6, 253}, {"talvoChk:2", "0", 7, 253}, {"seltor:2", "0", 8, 253},
      {"pomsk", "1", 6, 253}, {"kivard", "1", 7, 253}, {"talvoChk:2", "1", 8, 253}, {"seltor:2", "1", 9, 253},
  };
  for (const FailureRow& row : rows) {
    FakeProject project;
    project.scratch.env()["FAKE_FAIL"] = row.fail;
    project.scratch.env()["FAKE_STATUS"] = "3";
    project.scratch.env()["TVPOMSK"] = row.instanceDump;
    ProcessResult result = project.scratch.run({"a.c", "b.c"});
    const std::string where = std::string(row.fail) + " TVPOMSK=" + row.instanceDump;
    EXPECT_EQ(result.exitCode, row.exitCode) << where;
    std::vector<std::string> expected;
    for (const std::string& tool : order) {
      if (tool != "pomsk" || std::string(row.instanceDump) == "1") {
        expected.push_back(tool);
      }
    }
    expected.resize(row.toolsRun);
    EXPECT_EQ(fakeToolsRun(project.fakes), expected) << where;
    EXPECT_EQ(normaliseDates(result.out),
              kBanner + echo(" a.c b.c") + kChecking + (row.exitCode == 253 ? kElaborating : "") + kStopped)
        << where;
    EXPECT_FALSE(project.scratch.exists("a.c.p")) << where;
    EXPECT_FALSE(project.scratch.exists("b.c.p")) << where;
  }
}

TEST(PipelineRun, AFailingCommandIsStillTracedFirst) {
  FakeProject project;
  project.scratch.env()["TVM"] = "1";
  project.scratch.env()["FAKE_FAIL"] = "dravik";
  ProcessResult result = project.scratch.run({"a.c", "b.c"});
  EXPECT_EQ(normaliseDates(result.out),
            kBanner + echo(" a.c b.c") + kChecking + trace(kDefaultLines[0]) + trace(kDefaultLines[1]) + kStopped);
  EXPECT_EQ(result.exitCode, 254);
}

TEST(PipelineRun, AToolMissingFromThePathFailsItsPhase) {
  for (const auto& [missing, exitCode] : {std::pair<const char*, int>{"talvoChk", 254}, {"kivard", 253}}) {
    FakeProject project;
    fs::remove(project.fakes.binDir + "/" + missing);
    ProcessResult result = project.scratch.run({"a.c", "b.c"});
    EXPECT_EQ(result.exitCode, exitCode) << missing;
    EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;  // the shell's own complaint
    EXPECT_EQ(normaliseDates(result.out).substr(normaliseDates(result.out).size() - kStopped.size()), kStopped);
  }
}

TEST(PipelineRun, AToolKilledByASignalFailsItsPhase) {
  for (const auto& [killed, exitCode] : {std::pair<const char*, int>{"seltor:1", 254}, {"nuvar", 253}}) {
    FakeProject project;
    project.scratch.env()["FAKE_KILL"] = killed;
    ProcessResult result = project.scratch.run({"a.c", "b.c"});
    EXPECT_EQ(result.exitCode, exitCode) << killed;
    EXPECT_EQ(result.termSignal, 0) << killed;
    EXPECT_FALSE(project.scratch.exists("a.c.p")) << killed;
  }
}

// One option row: the arguments, the step whose line changes, the line.
struct OptionRow {
  std::vector<std::string> args;
  size_t step;
  std::string line;
};

TEST(PipelineRun, OptionsReachTheirToolLines) {
  const OptionRow rows[] = {
      {{"-D", "X=1", "-DY"},
       0,
       "lurin -notitle -o zel_work/elb/lurin.cfi a.c -i $TALVO/libtalvo/include/stdinclude -d X=1 -d Y  "},
      {{"-ip", "P", "-ip", "Q"},
       0,
       "lurin -notitle -o zel_work/elb/lurin.cfi a.c -i $TALVO/libtalvo/include/stdinclude -i P -i Q  "},
      {{"-ip", "P", "-ip", "Q"},
       1,
       "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi -ip P -ip Q "},
      {{"-ansic"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
      {{"-ansic"}, 4, "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg "},
      {{"-algoc", "-Ec"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev -Ec "},
      {{"-algoc", "-Ec"}, 6, "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -algoc -mev -Ec "},
      {{"-algoc", "-Ec"}, 4, "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg "},
      {{"-algoc", "-bx_mode"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
      {{"-Ec"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
      {{"-dsp", "-bx_mode"},
       4,
       "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer "},
      {{"-amdl"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp "},
      {{"-avar_max_size", "16"},
       2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev -avar_max_size 16 "},
      {{"-avar_max_size", "0"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
      {{"-s_nopv"}, 6, "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -nopv -dsp -mev "},
      {{"-p_tvar", "t_", "-p_cvar", "c_"},
       4,
       "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer -p_tvar t_ -p_cvar "
       "c_ "},
      {{"-ctf", "empty.ctf"}, 2, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -ctf empty.ctf -mev "},
  };
  for (const OptionRow& row : rows) {
    FakeProject project;
    project.scratch.write("empty.ctf", "# nothing but a comment\n");
    project.scratch.env()["TVM"] = "1";
    std::vector<std::string> args = row.args;
    args.emplace_back("a.c");
    ProcessResult result = project.scratch.run(args);
    std::string shown;
    for (const std::string& arg : row.args) {
      shown += " " + arg;
    }
    EXPECT_EQ(result.exitCode, 0) << shown << "\n" << result.out;
    EXPECT_NE(normaliseDates(result.out).find(trace(row.line)), std::string::npos) << shown << "\n" << result.out;
    ASSERT_GT(fakeToolCalls(project.fakes).size(), row.step) << shown;
    std::string call = fakeToolCalls(project.fakes)[row.step];
    if (size_t at = call.find(project.scratch.talvoRoot()); at != std::string::npos) {
      call.replace(at, project.scratch.talvoRoot().size(), "$TALVO");
    }
    EXPECT_EQ(call, received(row.line)) << shown;
  }
}

TEST(PipelineRun, ARefusedOptionCombinationRunsNoTool) {
  FakeProject project;
  ProcessResult result = project.scratch.run({"-algoc", "-Ec", "-bx_mode", "a.c"});
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_TRUE(fakeToolsRun(project.fakes).empty());
  EXPECT_FALSE(project.scratch.exists("zel_work"));
  EXPECT_TRUE(project.scratch.exists("a.c.p"));  // no removal before the pipeline
}

TEST(PipelineRun, ANameWithABlankReachesTheToolsAsTwoWords) {
  FakeProject project;
  project.scratch.write("my file.c.p", "x");
  project.scratch.write("my", "x");
  project.scratch.write("file.c.p", "x");
  ProcessResult result = project.scratch.run({"my file.c"});
  EXPECT_EQ(result.exitCode, 0);
  const auto argv = fakeToolArgv(project.fakes);
  ASSERT_EQ(argv.size(), 8U);
  EXPECT_EQ(argv[3], (std::vector<std::string>{"seltor", "-read", "-inc", "zel_work/infoinclude.icd", "my", "file.c"}));
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "my file.c;");
  EXPECT_FALSE(project.scratch.exists("my file.c.p"));
  EXPECT_TRUE(project.scratch.exists("my"));
  EXPECT_TRUE(project.scratch.exists("file.c.p"));
}

TEST(WorkDirectoryRun, ResetWipesNestedContentAndLeavesOnlyTheList) {
  FakeProject project;
  project.scratch.write("zel_work/old.inf", "old");
  project.scratch.write("zel_work/elb/a/b/c/elb_old.c", "old");
  ProcessResult result = project.scratch.run({"a.c", "b.c"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(project.scratch.exists("zel_work/old.inf"));
  EXPECT_FALSE(project.scratch.exists("zel_work/elb/a"));
  EXPECT_TRUE(fs::is_empty(project.scratch.project() + "/zel_work/elb"));
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "a.c;b.c;");
}

TEST(WorkDirectoryRun, ALinkedWorkDirectoryIsReplacedAndItsTargetKept) {
  FakeProject project;
  const std::string target = project.scratch.root() + "/elsewhere";
  fs::create_directories(target + "/elb");
  std::ofstream(target + "/precious.c") << "keep";
  std::ofstream(target + "/elb/precious.c") << "keep";
  fs::create_directory_symlink(target, project.scratch.project() + "/zel_work");
  fs::create_directory_symlink(target, project.scratch.root() + "/elsewhere-too");
  ProcessResult result = project.scratch.run({"a.c"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(fs::is_symlink(project.scratch.project() + "/zel_work"));
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "a.c;");
  EXPECT_TRUE(fs::exists(target + "/precious.c"));
  EXPECT_TRUE(fs::exists(target + "/elb/precious.c"));
  EXPECT_FALSE(fs::exists(target + "/input.lst"));
}

TEST(WorkDirectoryRun, AWorkDirectoryThatCannotBeMadeIsAPretreatmentError) {
  FakeProject project;
  project.scratch.write("zel_work", "a file in the way");
  ProcessResult result = project.scratch.run({"a.c"});
  EXPECT_EQ(normaliseDates(result.out), kBanner + echo(" a.c") + "Error : The pretreatment is not performed.\n");
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_TRUE(fakeToolsRun(project.fakes).empty());
  EXPECT_TRUE(project.scratch.exists("a.c.p"));
}

TEST(WorkDirectoryRun, AnUnwritableProjectDirectoryIsAPretreatmentError) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root writes into any directory";
  }
  FakeProject project;
  fs::permissions(project.scratch.project(), fs::perms::owner_read | fs::perms::owner_exec);
  ProcessResult result = project.scratch.run({"a.c"});
  EXPECT_EQ(normaliseDates(result.out), kBanner + echo(" a.c") + "Error : The pretreatment is not performed.\n");
  EXPECT_EQ(result.exitCode, 255);
}

// One "-na" row: the work directory before the run and what follows.
struct NaRow {
  const char* name;
  bool workDirectory;
  const char* list;  // nullptr: none
  int exitCode;
  std::vector<std::string> toolInputs;  // the C files the reader gets; none: no pipeline
  std::string message;                  // printed instead of the pipeline
};

TEST(WorkDirectoryRun, NaRowByRow) {
  const NaRow rows[] = {
      {"no work directory", false, nullptr, 255, {}, "Error : The pretreatment is not performed.\n"},
      {"work directory without a list", true, nullptr, 0, {"c.c", "d.c", "e.c"}, ""},
      {"a list of two", true, "a.c;b.c;", 0, {"a.c", "b.c"}, ""},
      {"an empty list", true, "", 0, {}, ""},
      {"last name without its semicolon", true, "a.c;b.c", 0, {"a.c"}, ""},
  };
  for (const NaRow& row : rows) {
    FakeProject project;
    if (row.workDirectory) {
      project.scratch.write("zel_work/elb/kept", "kept");
    }
    if (row.list != nullptr) {
      project.scratch.write("zel_work/input.lst", row.list);
    }
    ProcessResult result = project.scratch.run({"-na", "c.c", "d.c", "e.c"});
    EXPECT_EQ(result.exitCode, row.exitCode) << row.name;
    const bool pipeline = !row.toolInputs.empty();
    EXPECT_EQ(normaliseDates(result.out),
              kBanner + echo(" -na c.c d.c e.c") + (pipeline ? kChecking + kElaborating + kFinished : row.message))
        << row.name;
    std::vector<std::string> readerInputs;
    const auto argv = fakeToolArgv(project.fakes);
    EXPECT_EQ(argv.size(), pipeline ? 8U : 0U) << row.name;
    if (!argv.empty()) {
      for (size_t k = 4; k < argv[0].size() && argv[0][k] != "-i"; ++k) {
        readerInputs.push_back(argv[0][k]);
      }
    }
    EXPECT_EQ(readerInputs, row.toolInputs) << row.name;
    if (row.workDirectory) {
      EXPECT_EQ(project.scratch.read("zel_work/elb/kept"), "kept") << row.name;
    }
  }
}

TEST(WorkDirectoryRun, NaWithASemicolonInANameSplitsIt) {
  FakeProject project;
  // Unquoted, the ";" ends the reader's command and the shell looks for a
  // command "y.c": the run stops, but the list holds the name whole.
  ProcessResult first = project.scratch.run({"x;y.c"});
  EXPECT_EQ(first.exitCode, 254);
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "x;y.c;");
  ProcessResult second = project.scratch.run({"-na", "z.c"});
  EXPECT_EQ(second.exitCode, 0);
  const auto argv = fakeToolArgv(project.fakes);
  ASSERT_EQ(argv.size(), 9U);
  EXPECT_EQ(argv[4], (std::vector<std::string>{"seltor", "-read", "-inc", "zel_work/infoinclude.icd", "x", "y.c"}));
}

TEST(WorkDirectoryRun, NaReadsBackAnEntryLongerThan2047Characters) {
  FakeProject project;
  const std::string longName = std::string(3000, 'l') + ".c";
  project.scratch.write("zel_work/input.lst", "a.c;" + longName + ";");
  ProcessResult result = project.scratch.run({"-na", "z.c"});
  EXPECT_EQ(result.exitCode, 0);
  const auto argv = fakeToolArgv(project.fakes);
  ASSERT_FALSE(argv.empty());
  EXPECT_EQ(argv[3],
            (std::vector<std::string>{"seltor", "-read", "-inc", "zel_work/infoinclude.icd", "a.c", longName}));
}

TEST(WorkDirectoryRun, ASecondRunInTheDirectoryWaitsForTheFirstToEnd) {
  FakeProject project;
  const std::string gate = project.scratch.root() + "/gate";
  const std::string secondLog = project.scratch.root() + "/second.out";
  const std::string waiting = ">>> Waiting for another run in this directory to end.\n";
  project.scratch.env()["FAKE_HOLD"] = "lurin:1";
  project.scratch.env()["FAKE_GATE"] = gate;
  std::ofstream{secondLog};
  ProcessResult first;
  std::thread firstRun([&] { first = project.scratch.run({"a.c"}); });
  EXPECT_TRUE(waitForText(gate + ".waiting", ""));
  ProcessOptions toFile;
  toFile.stdoutPath = secondLog;
  std::thread secondRun([&] { project.scratch.run({"b.c"}, toFile); });
  EXPECT_TRUE(waitForText(secondLog, waiting));
  std::ofstream{gate};
  firstRun.join();
  secondRun.join();
  EXPECT_EQ(normaliseDates(first.out), kBanner + echo(" a.c") + kChecking + kElaborating + kFinished);
  std::ifstream in(secondLog);
  EXPECT_EQ(normaliseDates({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}),
            kBanner + echo(" b.c") + waiting + kChecking + kElaborating + kFinished);
  // Every tool of the first run ran before any of the second's.
  const std::vector<std::string> one = {"lurin", "dravik", "talvoChk", "seltor", "nuvar", "kivard", "talvoChk", "seltor"};
  std::vector<std::string> both = one;
  both.insert(both.end(), one.begin(), one.end());
  EXPECT_EQ(fakeToolsRun(project.fakes), both);
  const std::vector<std::string> calls = fakeToolCalls(project.fakes);
  ASSERT_EQ(calls.size(), 16U);
  EXPECT_NE(calls[7].find("elb_a.c"), std::string::npos);
  EXPECT_NE(calls[15].find("elb_b.c"), std::string::npos);
  EXPECT_EQ(project.scratch.read("zel_work/input.lst"), "b.c;");
}

// Files in the project named like the example's and the benchmark's: a fixed
// width, so that 5,000 of them make a reader line of about 200 KiB.
std::vector<std::string> manyFiles(Scratch& scratch, size_t count) {
  std::vector<std::string> files;
  for (size_t i = 0; i < count; ++i) {
    std::string name = "source_" + std::to_string(100000 + i) + "_with_a_forty_char_name.c";
    name.resize(38, 'x');
    name += ".c";
    scratch.write(name, "float f" + std::to_string(i) + "(float x) { return x; }\n");
    files.push_back(name);
  }
  return files;
}

TEST(SubstituteTools, ThousandsOfFilesRunThroughLinesLongerThanOneArgumentMayBe) {
  Scratch scratch;
  scratch.env()["PATH"] = std::string(TALVO_TOOLS_DIR) + ":" + scratch.env()["PATH"];
  const std::vector<std::string> files = manyFiles(scratch, 5000);
  ProcessResult result = scratch.run(files);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::string list;
  for (const std::string& file : files) {
    list += file + ";";
  }
  EXPECT_EQ(scratch.read("zel_work/input.lst"), list);
  for (const std::string& file : {files.front(), files[2500], files.back()}) {
    EXPECT_FALSE(scratch.exists(file + ".p")) << file;
    EXPECT_TRUE(scratch.exists("zel_work/elb/elb_" + file.substr(0, file.size() - 2) + "_elb.c")) << file;
  }
}

TEST(SubstituteTools, TheExampleProjectRunsEndToEnd) {
  Scratch scratch;
  fs::copy(std::string(TALVO_SOURCE_DIR) + "/examples/project", scratch.project(), fs::copy_options::recursive);
  scratch.env()["PATH"] = std::string(TALVO_TOOLS_DIR) + ":" + scratch.env()["PATH"];
  scratch.env()["TALVO"] = std::string(TALVO_SOURCE_DIR) + "/examples/talvo_root";
  scratch.env()["TVPOMSK"] = "1";
  std::vector<std::string> args;
  std::ifstream runArgs(scratch.project() + "/run.args");
  for (std::string line; std::getline(runArgs, line);) {
    args.push_back(line);
  }
  ASSERT_FALSE(args.empty());
  ProcessResult result = scratch.run(args);
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("pomsk: instance filter.c\npomsk: instance gain.c\n"), std::string::npos) << result.out;
  for (const char* file :
       {"zel_work/input.lst", "zel_work/checkInput.inf", "zel_work/elaboration.inf", "zel_work/infoinclude.icd",
        "zel_work/elb/lurin.cfi", "zel_work/elb/lurin.cdfg", "zel_work/elb/elb_lurin.cdfg", "zel_work/elb/elb_filter.c",
        "zel_work/elb/elb_gain.c", "zel_work/elb/elb_filter_elb.c", "zel_work/elb/elb_gain_elb.c"}) {
    EXPECT_TRUE(scratch.exists(file)) << file;
  }
  EXPECT_EQ(scratch.read("zel_work/input.lst"), "filter.c;gain.c;");
  // The constraint file's options reached the tools, and the checker got the file.
  EXPECT_NE(scratch.read("zel_work/elb/lurin.cfi").find("define ORDER=1\ninclude include\n"), std::string::npos);
  EXPECT_NE(scratch.read("zel_work/checkInput.inf").find("constraint filter.ctf\n"), std::string::npos);
  EXPECT_FALSE(scratch.exists("filter.c.p"));
  EXPECT_FALSE(scratch.exists("gain.c.p"));
  const std::string elaborated = scratch.read("zel_work/elb/elb_filter_elb.c");
  EXPECT_EQ(elaborated.rfind("#include <stdio.h>\n#include \"gain.h\"\n", 0), 0U) << elaborated;
}

TEST(SubstituteTools, AMissingCFileStopsTheCheckingPhase) {
  Scratch scratch;
  scratch.env()["PATH"] = std::string(TALVO_TOOLS_DIR) + ":" + scratch.env()["PATH"];
  scratch.write("a.c", "int a;\n");
  ProcessResult result = scratch.run({"a.c", "gone.c"});
  EXPECT_EQ(result.exitCode, 254);
  EXPECT_EQ(result.err, "lurin: cannot open 'gone.c'\n");
  EXPECT_FALSE(scratch.exists("a.c.p"));
}

}  // namespace

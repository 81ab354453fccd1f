// The constraint file through the binary: the reader's messages and the run's
// status, the echo of the applied options, and the file's values on the tool
// lines, under the command line's.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/expected_output.h"
#include "support/fake_tools.h"
#include "support/process.h"
#include "support/scratch.h"

namespace {

using expected::checking;
using expected::echo;
using expected::kBanner;

std::string wentWrong(const std::string& path) { return "Reading of a file went wrong. '" + path + "'\n"; }

struct SyntaxCase {
  std::string content;
  std::string message;
};

TEST(ConstraintRun, ARejectedLineStopsTheRunWithTheReadersMessages) {
  const std::vector<SyntaxCase> cases = {
      {"-max 8\n", "Error:c.ctf:1:Syntx error :\n"},
      {"# head\n$def_start_option\n-max 99\n", "Error:c.ctf:3:Syntx error :-max <numOfBit>\n"},
      {"$def_start_option\r\n-rnd \\\r\n c\r\n", "Error:c.ctf:3:Syntx error :-rnd <t|r|e>\n"},
      {"$def_start_option\n-ex_mode 3", "Error:c.ctf:1:Syntx error :\n"},
      {"$def_directive\nscaling a.c f v 8\n", "Error:c.ctf:2:Syntx error :\n"},
      {"$end_directive\n", "Error:c.ctf:1:Syntx error :\n"},
  };
  for (const SyntaxCase& c : cases) {
    Scratch scratch;
    scratch.write("c.ctf", c.content);
    scratch.write("a.c", "int x;\n");
    ProcessResult result = scratch.run({"-ctf", "c.ctf", "a.c"});
    EXPECT_EQ(normaliseDates(result.out), kBanner + checking("c.ctf") + c.message + wentWrong("c.ctf")) << c.content;
    EXPECT_EQ(result.exitCode, 255) << c.content;
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(scratch.exists("zel_work")) << c.content;
  }
}

TEST(ConstraintRun, ADirectoryIsReportedLikeAFileThatCannotBeOpened) {
  Scratch scratch;
  scratch.write("dir/keep", "");
  for (const std::string& path : {std::string("dir"), scratch.project() + "/dir/", std::string("missing.ctf")}) {
    ProcessResult result = scratch.run({"-ctf", path, "a.c"});
    EXPECT_EQ(normaliseDates(result.out),
              kBanner + checking(path) + "Error:constarint:Cat't open '" + path + "'\n" + wentWrong(path));
    EXPECT_EQ(result.exitCode, 255);
  }
}

TEST(ConstraintRun, TheHeadingShowsBeforeTheFileIsOpened) {
  Scratch scratch;
  scratch.write("a.c", "int x;\n");
  const std::string log = scratch.root() + "/run.out";
  const std::string pipe = scratch.project() + "/c.ctf";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  std::ofstream{log};
  ProcessOptions toFile;
  toFile.stdoutPath = log;
  ProcessResult result;
  std::thread run([&] { result = scratch.run({"-ctf", "c.ctf"}, toFile); });
  EXPECT_TRUE(waitForText(log, checking("c.ctf")));
  std::ofstream(pipe) << "$def_start_option\n-max 9\n";  // opening it lets the run go on
  run.join();
  EXPECT_EQ(result.exitCode, 255);  // no input files
  EXPECT_TRUE(waitForText(log, "-max 9\n"));
}

TEST(ConstraintRun, DirectivesAreCheckedByKeywordOnly) {
  Scratch scratch;
  scratch.write("c.ctf", "$def_directive\nscale\nunroll a.c f sideways\n$end_directive\n");
  ProcessResult result = scratch.run({"-ctf", "c.ctf", "--version"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
}

TEST(ConstraintRun, TheAppliedOptionsAreEchoedBeforeTheCommandLine) {
  Scratch scratch;
  scratch.write("c.ctf",
                "// from the file\n$def_start_option\n-erep_o report\n-maxt 16d\n-D X=1 Y\n-bx_bits 8,16\n"
                "$end_start_option\n");
  ProcessResult result = scratch.run({"-ctf", "c.ctf", "--help"});
  std::string out = normaliseDates(result.out);
  EXPECT_EQ(out.substr(0, out.find(">>talvo_s")),
            kBanner + checking("c.ctf") + "-maxt xxd\n-maxt 16d\n-D X=1\n-D Y\n-bax_bits 8,16\n\n-erep_o report\n" +
                echo(" -ctf c.ctf --help"));
  EXPECT_EQ(result.exitCode, 0);
}

struct FakeProject {
  Scratch scratch;
  FakeTools fakes = installFakeTools(scratch);
  FakeProject() { scratch.write("a.c", "int x;\n"); }

  // The runs of one tool as it received them, $TALVO written back in.
  std::vector<std::string> calls(const std::string& tool) const {
    std::vector<std::string> found;
    for (std::string call : fakeToolCalls(fakes)) {
      if (call.starts_with(tool + " ")) {
        if (size_t at = call.find(scratch.talvoRoot()); at != std::string::npos) {
          call.replace(at, scratch.talvoRoot().size(), "$TALVO");
        }
        found.push_back(call);
      }
    }
    return found;
  }
};

TEST(ConstraintRun, TheFilesValuesReachTheToolLines) {
  FakeProject project;
  project.scratch.write("c.ctf",
                        "$def_start_option\n-D FILE_DEF\n-ip file_inc\n-amdl\n-Ec\n-avar_max_size 16\n-p_tvar tv_\n");
  ProcessResult result = project.scratch.run({"-ctf", "c.ctf", "-algoc", "-D", "CMD_DEF", "-ip", "cmd_inc", "a.c"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(result.err, "");  // in the sanitizer build: nothing leaked after the store was released
  EXPECT_EQ(project.calls("lurin"),
            (std::vector<std::string>{"lurin -notitle -o zel_work/elb/lurin.cfi a.c -i $TALVO/libtalvo/include/"
                                      "stdinclude -d FILE_DEF -d CMD_DEF -i file_inc -i cmd_inc"}));
  EXPECT_EQ(project.calls("dravik"),
            (std::vector<std::string>{"dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi "
                                      "-ip file_inc -ip cmd_inc"}));
  EXPECT_EQ(project.calls("talvoChk"),
            (std::vector<std::string>{
                "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -ctf c.ctf -Ec -avar_max_size 16",
                "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -algoc -ctf c.ctf -Ec "
                "-avar_max_size 16"}));
  EXPECT_EQ(project.calls("nuvar"), (std::vector<std::string>{"nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf "
                                                              "zel_work/elb/elb_lurin.cdfg -p_tvar tv_"}));
}

TEST(ConstraintRun, TheCommandLineOverridesTheFile) {
  FakeProject project;
  project.scratch.write("c.ctf", "$def_start_option\n-amdl\n-En\n-avar_max_size 16\n-p_tvar tv_\n");
  ProcessResult result =
      project.scratch.run({"-ctf", "c.ctf", "-mev", "-Ec", "-avar_max_size", "8", "-p_tvar", "cmd_", "-algoc", "a.c"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  std::vector<std::string> checker = project.calls("talvoChk");
  ASSERT_EQ(checker.size(), 2U);
  EXPECT_EQ(checker[0],
            "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -ctf c.ctf -mev -Ec -avar_max_size 8");
  EXPECT_EQ(project.calls("nuvar"), (std::vector<std::string>{"nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf "
                                                              "zel_work/elb/elb_lurin.cdfg -p_tvar cmd_"}));
}

TEST(ConstraintRun, ALineLargerThanTheMemoryEndsTheRunInOrder) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit allows";
#else
  Scratch scratch;
  scratch.write("c.ctf", "$def_start_option\n-D " + std::string(48 << 20, 'm') + "\n");
  ProcessOptions options;
  options.addressSpaceLimit = 64L << 20;
  ProcessResult result = scratch.run({"-ctf", "c.ctf", "a.c"}, options);
  EXPECT_EQ(normaliseDates(result.out), kBanner + checking("c.ctf") + "talvo_s:Error:Short of memory\n");
  EXPECT_EQ(result.exitCode, 255);
#endif
}

}  // namespace

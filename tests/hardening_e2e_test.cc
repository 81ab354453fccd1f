// Faults and hostile input through the binary: never a signal, never a
// hang, never a message on standard error, never a lost file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_tools.h"
#include "support/process.h"
#include "support/scratch.h"

namespace {

using namespace std::string_literals;

// Exits in order: one of the documented statuses, no signal, nothing on stderr.
void expectOrderlyExit(const ProcessResult& result, std::initializer_list<int> statuses, const std::string& what) {
  EXPECT_EQ(result.termSignal, 0) << what;
  EXPECT_EQ(result.err, "") << what;
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), result.exitCode), statuses.end())
      << what << ": status " << result.exitCode;
}

struct HostileFile {
  std::string name;
  std::string content;
  int exitCode;
  std::string expected;  // a text the output must hold
};

TEST(Hardening, HostileConstraintFiles) {
  const std::string options = "$def_start_option\n";
  std::string manyLines = "$def_directive\n";
  for (int k = 0; k < 200000; ++k) {
    manyLines += k % 2 == 0 ? "scale a.c f v" + std::to_string(k) + " 8\n" : "# comment line\n";
  }
  manyLines += "$end_directive\n";
  const std::vector<HostileFile> files = {
      {"NUL bytes in an option value", options + "-D A\0B\n-max 16\n\0\0\0\n"s, 0, "-D A"},
      {"NUL byte in a keyword", options + "-ma\0x 16\n"s, 255, "Syntx error :"},
      {"invalid UTF-8 in a value", options + "-D N\xff\xfe=\xc3\xff\n", 0, "-D N\xff\xfe=\xc3\xff\n"},
      {"invalid UTF-8 keyword", options + "-m\xe2\x82x 16\n", 255, "Error:c.ctf:2:Syntx error :\n"},
      {"a 10 MB directive line", "$def_directive\nscale a.c f " + std::string(10 << 20, 'v') + " 8\n", 0,
       "command finished successfully."},
      {"a 10 MB comment line", "# " + std::string(10 << 20, 'c') + "\n" + options + "-max 8\n", 0, "-max 8\n"},
      {"200,000 lines", manyLines, 0, "command finished successfully."},
      {"only line ends and commas", std::string(100000, '\n') + ",,, ,\r\n", 0, "command finished successfully."},
  };
  for (const HostileFile& file : files) {
    Scratch scratch;
    FakeTools fakes = installFakeTools(scratch);
    scratch.write("c.ctf", file.content);
    scratch.write("a.c", "float x;\n");
    ProcessResult result = scratch.run({"-ctf", "c.ctf", "a.c"});
    expectOrderlyExit(result, {file.exitCode}, file.name);
    EXPECT_NE(result.out.find(file.expected), std::string::npos) << file.name << "\n" << result.out.substr(0, 2000);
  }
}

TEST(Hardening, ALogicalLineLargerThanTheAddressSpaceLimit) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit allows";
#else
  Scratch scratch;
  installFakeTools(scratch);
  scratch.write("c.ctf", "$def_start_option\n-D " + std::string(80 << 20, 'm') + "\n");
  ProcessOptions options;
  options.addressSpaceLimit = 64L << 20;
  ProcessResult result = scratch.run({"-ctf", "c.ctf", "a.c"}, options);
  expectOrderlyExit(result, {255}, "80 MB line under a 64 MB limit");
  EXPECT_NE(result.out.find("\ntalvo_s:Error:Short of memory\n"), std::string::npos) << result.out.substr(0, 500);
#endif
}

TEST(Hardening, ArgumentsOfAHundredThousandCharacters) {
  const std::string huge(100000, 'q');
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string expected;
  } cases[] = {
      {{"-" + huge, "a.c"}, 255, "Error : option : '-" + huge + "' No such option.\n"},
      {{"-p", huge, "-D", huge, "a.c"}, 0, "lurin -notitle -o zel_work/elb/lurin.cfi a.c -i "},
      {{huge + ".c"}, 254, "command stopped."},  // the reader's name is longer than any file name can be
  };
  for (const Case& c : cases) {
    Scratch scratch;
    FakeTools fakes = installFakeTools(scratch);
    scratch.env()["TVM"] = "1";
    scratch.write("a.c", "float x;\n");
    if (c.exitCode == 254) {
      scratch.env()["FAKE_FAIL"] = "lurin";
    }
    ProcessResult result = scratch.run(c.args);
    expectOrderlyExit(result, {c.exitCode}, c.args[0].substr(0, 10));
    EXPECT_NE(result.out.find(c.expected), std::string::npos) << result.out.substr(0, 300);
  }
}

TEST(Hardening, ACurrentDirectoryThatCannotHoldTheWorkDirectory) {
  Scratch scratch;
  installFakeTools(scratch);
  // /proc refuses new directories even to root; a deleted directory refuses them to everyone.
  ProcessOptions inProc;
  inProc.cwd = "/proc";
  ProcessResult refused = scratch.run({"a.c"}, inProc);
  expectOrderlyExit(refused, {255}, "/proc");
  EXPECT_NE(refused.out.find("Error : The pretreatment is not performed.\n"), std::string::npos);

  ProcessOptions viaShell;
  viaShell.env = scratch.env();
  scratch.write("gone/.keep", "");
  ProcessResult deleted = runProcess(
      {"/bin/sh", "-c",
       "cd '" + scratch.project() + "/gone' && rm .keep && rmdir \"$PWD\" && exec '" + talvoBinary() + "' a.c"},
      viaShell);
  expectOrderlyExit(deleted, {255}, "deleted directory");
  EXPECT_NE(deleted.out.find("Error : The pretreatment is not performed.\n"), std::string::npos) << deleted.out;
  EXPECT_TRUE(fakeToolCalls(FakeTools{scratch.root() + "/fakebin", scratch.root() + "/fakebin/log"}).empty());
}

TEST(Hardening, StandardOutputClosedOrFull) {
  for (const std::string trace : {"0", "1"}) {
    Scratch scratch;
    FakeTools fakes = installFakeTools(scratch);
    scratch.env()["TVM"] = trace;
    scratch.write("a.c", "float x;\n");
    scratch.write("b.c", "float y;\n");

    ProcessOptions closed;
    closed.closeStdout = true;
    ProcessResult result = scratch.run({"a.c", "b.c"}, closed);
    expectOrderlyExit(result, {0}, "stdout closed, TVM=" + trace);
    // The log must not have landed in the first file the run opened.
    EXPECT_EQ(scratch.read("zel_work/input.lst"), "a.c;b.c;");
    EXPECT_EQ(fakeToolsRun(fakes).size(), 8u);

    ProcessOptions full;
    full.stdoutPath = "/dev/full";
    result = scratch.run({"a.c", "b.c"}, full);
    expectOrderlyExit(result, {0}, "stdout /dev/full, TVM=" + trace);
    EXPECT_EQ(scratch.read("zel_work/input.lst"), "a.c;b.c;");

    result = scratch.run({"-bad", "a.c"}, full);
    expectOrderlyExit(result, {255}, "stdout /dev/full, refused run");
  }
}

}  // namespace

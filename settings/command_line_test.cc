#include "settings/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings/option_table.h"

// A case names only the fields it changes; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using RS = RunSettings;

// The arguments after the program path, the whole record they lead to (the
// counters are taken from the output's "Error : " and "Warning : " lines)
// and the exact output.
struct Case {
  std::vector<std::string> args;
  RS want;
  std::string out;
};

void expectWalks(std::vector<Case> cases, std::span<const OptionRow> table = commandLineOptions()) {
  for (Case& c : cases) {
    std::vector<std::string> args = {"talvo_s"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RS got;
    testing::internal::CaptureStdout();
    parseCommandLine(got, args, table);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out) << testing::PrintToString(c.args);
    std::istringstream lines(c.out);
    for (std::string line; std::getline(lines, line);) {
      c.want.errorCount += line.starts_with("Error : ") ? 1 : 0;
      c.want.warningCount += line.starts_with("Warning : ") ? 1 : 0;
    }
    EXPECT_TRUE(got == c.want) << testing::PrintToString(c.args);
  }
}

std::string mistake(const std::string& option) {
  return "Error : A mistake is in specification of \"" + option + "\" option.\n";
}

std::string noSuchOption(const std::string& argument) {
  return "Error : option : '" + argument + "' No such option.\n";
}

constexpr KeywordCode kCodes[] = {{"up", 1}, {"down", 2}};
constexpr OnMissing kError = OnMissing::kError;

// One row of each kind and variant the walk reads; the hand-written kind and
// the name matched as a prefix are seen through the real "-D" row below.
// clang-format off
constexpr OptionRow kSample[] = {
  {"-set",   Flag{turnOn(&RS::s), assign(&RS::O, 7), turnOn(&RS::v)}},
  {"-unset", Flag{turnOff(&RS::s)}},
  {"-kw",    Keyword{&RS::rnd, kCodes, KeywordMatch::kWholeValue, Rejected::kLeftForWalk}},
  {"-kw1",   Keyword{&RS::ovf, kCodes, KeywordMatch::kFirstCharacter, Rejected::kError}, kError, "bad -kw1"},
  {"-any",   Number{{&RS::gm0, &RS::gm1, &RS::gm2}, NumberRange::kAny}},
  {"-pos",   Number{{&RS::rnd_w}, NumberRange::kNegativeAsZero}},
  {"-width", Number{{&RS::ghbit}, NumberRange::kGhbitWidth}, kError, "bad -width"},
  {"-count", Number{{&RS::bx_int}, NumberRange::kOneOrMore}, kError, "bad -count"},
  {"-stack", Number{{&RS::a_stack}, NumberRange::kStackSize}, kError, "bad -stack"},
  {"-text",  Text{&RS::run}},
  {"-opt",   Text{&RS::erate}, kError, "bad -opt"},
  {"-tbl",   Table{&RS::n_mathtbl, true}, kError, "bad -tbl"},
  {"-tbl2",  Table{&RS::n_tantbl, false}, kError, "bad -tbl2"},
  {"-path",  PathList{&RS::ip}},
  {"-skip",  SkipValue{}},
};
// clang-format on

TEST(CommandLineWalk, EachKindOfRow) {
  expectWalks(
      {{{"-set", "-unset"}, {.v = true, .O = 7}, ""},
       {{"-kw", "down", "-kw", "downx", "-kw", "-unset"}, {.inputFiles = {"downx"}, .rnd = 2}, ""},
       {{"-kw1", "dz", "-kw1", "x", "-kw1", ""}, {.ovf = 2}, "Error : bad -kw1\nError : bad -kw1\n"},
       {{"-any", "-12abc", "-pos", "9"}, {.rnd_w = 9, .gm0 = -12, .gm1 = -12, .gm2 = -12}, ""},
       {{"-width", "64", "-width", "12"}, {.ghbit = 64}, "Error : bad -width\n"},
       {{"-pos", "-5", "-count", "1", "-count", "0"}, {.rnd_w = 0, .bx_int = 1}, "Error : bad -count\n"},
       {{"-stack", "1024000", "-stack", "1023999"}, {.a_stack = 1024000}, "Error : bad -stack\n"},
       {{"-tbl2", "256:16:90", "-tbl", "on", "-tbl", "256:16"},
        {.n_mathtbl = {.mode = 2}, .n_tantbl = {2, 256, 16, 0}},
        "Error : bad -tbl\n"},
       // A value missing at the end: silent, or the row's message.
       {{"-path", "a", "-path", "-b", "-skip", "c.txt", "a.c", "-kw"}, {.inputFiles = {"a.c"}, .ip = {"a", "-b"}}, ""},
       {{"-text", "-set", "-opt", "", "-opt"}, {.run = "-set", .erate = ""}, "Error : bad -opt\n"},
       // Arguments that name no row.
       {{"./a.c", "../c.c", "d/./e.c", ".//tmp/x.c", "-", "-set=1", "./-x.c", ".//-y.c", "./"},
        {.inputFiles = {"a.c", "../c.c", "d/./e.c", "tmp/x.c", "./-x.c", "./-y.c", ""}},
        noSuchOption("-") + noSuchOption("-set=1")}},
      kSample);
}

// Through the real rows: the hand-written options' edges, every bad option
// reported in order, and the misspelt name in the "-bx_byte" message.
TEST(CommandLine, HandWrittenOptionsAndRealMessages) {
  auto warn = [](const std::string& shown, const std::string& limit) {
    return "Warning : option : '" + shown + "' is too " + limit + " bitsize can allow [0-64]).\n";
  };
  expectWalks({
      {{"-fdp", "x", "-foo", "-i", "-bx_byte", "0", "-max", "99", "b.c", "-maxt"},
       {.inputFiles = {"b.c"}, .i = true, .a = true, .max = 64, .maxt = 64},
       mistake("-fdp") + noSuchOption("-foo") + mistake("-bx_type") + warn("99", "large(Maximum") +
           warn("-maxt", "large(Maximum-T")},
      {{"-max", "0", "-maxt", "20d", "-max", "40", "-max"},
       {.max = 40, .maxt = 20, .maxtSuffix = 'd', .maxtGiven = 1},
       ""},
      {{"-maxt", "65", "-maxt", "d"}, {.inputFiles = {"d"}, .maxt = 64, .maxtGiven = 1}, warn("65", "large(Maximum-T")},
      {{"-maxt", "4x0d"}, {.maxtSuffix = 'd'}, mistake("-maxt")},
      {{"-max", "x.c"}, {.inputFiles = {"x.c"}}, ""},  // a value is taken only when it begins with a digit
      {{"-bx_bits", "8,0", "-bx_bits", "-8", "-bx_bits", ",: ", "-bx_bits", " 8\t16,,:32 ", "a.c", "-bx_bits"},
       {.inputFiles = {"a.c"}, .bx_bits = " 8\t16,,:32 "},
       mistake("-bx_bits") + mistake("-bx_bits") + mistake("-bx_bits")},
      {{"-DNAME=1", "-D", "N=4", "-D", "-x", "a.c", "-D"},
       {.inputFiles = {"a.c"}, .D = {"NAME=1", "N=4"}},
       mistake("-D") + mistake("-D")},
  });
}

}  // namespace

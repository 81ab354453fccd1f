#include "settings/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "settings/option_table.h"
#include "settings/settings_dump_testing.h"

namespace {

using RS = RunSettings;
using settings_testing::dump;

// One row: the arguments after the program path, what they change in a
// fresh record, and the exact output. The counters are derived from the
// output's "Error : " and "Warning : " lines.
struct Case {
  std::vector<std::string> args;
  std::function<void(RS&)> change;
  std::string out;
};

std::string mistake(const std::string& option) {
  return "Error : A mistake is in specification of \"" + option + "\" option.\n";
}

std::string noSuchOption(const std::string& argument) {
  return "Error : option : '" + argument + "' No such option.\n";
}

int32_t countLines(const std::string& out, const std::string& prefix) {
  int32_t count = 0;
  for (size_t at = out.find(prefix); at != std::string::npos; at = out.find(prefix, at + 1)) {
    count += (at == 0 || out[at - 1] == '\n') ? 1 : 0;
  }
  return count;
}

std::string joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) {
    text += " [" + arg + "]";
  }
  return text;
}

std::string parse(RS& rs, std::vector<std::string> args) {
  args.insert(args.begin(), "talvo_s");
  testing::internal::CaptureStdout();
  parseCommandLine(rs, args);
  return testing::internal::GetCapturedStdout();
}

void expectRows(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    RS parsed;
    std::string out = parse(parsed, c.args);
    RS expected;
    c.change(expected);
    expected.errorCount = countLines(c.out, "Error : ");
    expected.warningCount = countLines(c.out, "Warning : ");
    EXPECT_EQ(out, c.out) << joined(c.args);
    EXPECT_EQ(dump(parsed), dump(expected)) << joined(c.args);
  }
}

void unchanged(RS& /*rs*/) {}

TEST(CommandLineTable, AcceptsExactlyTheDocumentedOptionsOnce) {
  const std::vector<std::string> documented = {
      // Without a value.
      "--version", "--help", "-s", "-v", "-i", "-i_na", "-g", "-a", "-na", "-ansic", "-all_ansic", "-algoc",
      "-all_algoc", "-dsp", "-all_dsp", "-systemc--", "-all_systemc--", "-stdmath", "-s_mathtbl", "-O2", "-O1", "-O0",
      "-ffloat_store", "-nfloat_store", "-simmode", "-sim_nmleft", "-mul_func", "-mul_dword", "-div_func", "-dsp_nogrp",
      "-s_nopv", "-simdbg", "-simdbg3", "-gwl", "-gm0", "-gm1", "-gm2", "-mev", "-amdl", "-Ec", "-En", "-float",
      "-f2fx", "-simple_mode", "-lite_mode", "-ex_mode", "-bx_mode", "-bx_mode2", "-grun_float", "-bsim_mode",
      "-nbsim_mode", "-erep", "-no_erep", "-dsp_tg", "-tvfdat", "-stack_check", "-no_stack_check",
      // With a value.
      "-max", "-maxt", "-p", "-rnd", "-ovf", "-run", "-arg", "-rnd_w", "-n_mathtbl", "-n_costbl", "-n_tantbl",
      "-n_acostbl", "-n_atantbl", "-n_atan2tbl", "-n_sqrttbl", "-fdp", "-fdp_rnd", "-simdbgf", "-avar_max_size",
      "-erate", "-ghbit", "-ghrate", "-bx_byte", "-bx_short", "-bx_int", "-bx_longlong", "-bx_accum", "-bx_bits",
      "-grun_level", "-p_tvar", "-p_cvar", "-erep_o", "-a_stack", "-i_stack", "-g_stack", "-all_stack",
      // Lists and the constraint file.
      "-D", "-ip", "-lp", "-ctf"};
  std::vector<std::string> names = commandLineOptionNames();
  std::multiset<std::string> accepted(names.begin(), names.end());
  EXPECT_EQ(accepted, std::multiset<std::string>(documented.begin(), documented.end()));
  EXPECT_EQ(names.size(), commandLineOptions().size());
}

TEST(CommandLineTable, EveryValuedRowThatReportsHasAMessageNamingAnOption) {
  for (const OptionRow& row : commandLineOptions()) {
    const auto* keyword = std::get_if<Keyword>(&row.value);
    const auto* number = std::get_if<Number>(&row.value);
    bool canReject =
        (keyword != nullptr && keyword->rejected == Rejected::kError) ||
        (number != nullptr && number->range != NumberRange::kAny && number->range != NumberRange::kNegativeAsZero) ||
        std::holds_alternative<Table>(row.value);
    if (row.missing == OnMissing::kError || canReject) {
      EXPECT_TRUE(row.message.starts_with("A mistake is in specification of \"-")) << row.name;
    }
  }
}

TEST(CommandLine, OptionsWithoutAValue) {
  expectRows({
      {{"--version"}, [](RS& r) { r.version = true; }, ""},
      {{"--help"}, [](RS& r) { r.help = true; }, ""},
      {{"-s"}, [](RS& r) { r.s = true; }, ""},
      {{"-v"}, [](RS& r) { r.v = true; }, ""},
      {{"-i"}, [](RS& r) { r.i = r.a = true; }, ""},
      {{"-i_na"}, [](RS& r) { r.i = true; }, ""},
      {{"-g"}, [](RS& r) { r.g = true; }, ""},
      {{"-a"}, [](RS& r) { r.a = true; }, ""},
      {{"-na"}, [](RS& r) { r.na = true; }, ""},
      {{"-dsp", "-ansic"}, [](RS& r) { r.dsp = r.ansic = true; }, ""},
      {{"-dsp", "-all_ansic"}, [](RS& r) { r.dsp = r.all_ansic = r.ansic = true; }, ""},
      {{"-dsp", "-algoc"}, [](RS& r) { r.dsp = r.algoc = true; }, ""},
      {{"-dsp", "-all_algoc"}, [](RS& r) { r.dsp = r.algoc = r.all_algoc = true; }, ""},
      {{"-dsp"}, [](RS& r) { r.dsp = r.dspOutput = true; }, ""},
      {{"-all_dsp"}, [](RS& r) { r.all_dsp = r.dsp = r.dspOutput = true; }, ""},
      {{"-systemc--"}, [](RS& r) { r.systemc = true; }, ""},
      {{"-all_systemc--"}, [](RS& r) { r.systemc = r.all_systemc = true; }, ""},
      {{"-stdmath"}, [](RS& r) { r.stdmath = 1; }, ""},
      {{"-s_mathtbl"}, [](RS& r) { r.s_mathtbl = 1; }, ""},
      {{"-O0", "-O2"}, [](RS& r) { r.O = 2; }, ""},
      {{"-O1"}, [](RS& r) { r.O = 1; }, ""},
      {{"-O0"}, [](RS& r) { r.O = 0; }, ""},
      {{"-ffloat_store"}, [](RS& r) { r.ffloat_store = 1; }, ""},
      {{"-ffloat_store", "-nfloat_store"}, unchanged, ""},
      {{"-simmode"}, [](RS& r) { r.simmode = 1; }, ""},
      {{"-sim_nmleft"}, [](RS& r) { r.sim_nmleft = 1; }, ""},
      {{"-mul_func"}, [](RS& r) { r.mul_func = 1; }, ""},
      {{"-mul_func", "-mul_dword"}, [](RS& r) { r.mul_func = 2; }, ""},
      {{"-div_func"}, [](RS& r) { r.div_func = 1; }, ""},
      {{"-dsp_nogrp"}, [](RS& r) { r.dsp_nogrp = 1; }, ""},
      {{"-s_nopv"}, [](RS& r) { r.s_nopv = 1; }, ""},
      {{"-simdbg"}, [](RS& r) { r.simdbg = 1; }, ""},
      {{"-simdbg3"}, [](RS& r) { r.simdbg3 = 1; }, ""},
      {{"-gwl"}, [](RS& r) { r.gwl = 1; }, ""},
      {{"-gm0"}, [](RS& r) { r.gm0 = 1; }, ""},
      {{"-gm1"}, [](RS& r) { r.gm1 = 1; }, ""},
      {{"-gm2"}, [](RS& r) { r.gm2 = 1; }, ""},
      {{"-amdl", "-mev"}, unchanged, ""},
      {{"-amdl"}, [](RS& r) { r.mev = 0; }, ""},
      {{"-Ec"}, [](RS& r) { r.Ec = 1; }, ""},
      {{"-Ec", "-En"}, unchanged, ""},
      {{"-float"}, [](RS& r) { r.float_ = 1; }, ""},
      {{"-f2fx"}, [](RS& r) { r.f2fx = 1; }, ""},
      {{"-simple_mode"}, [](RS& r) { r.ex_mode = 1; }, ""},
      {{"-lite_mode"}, [](RS& r) { r.ex_mode = 1; }, ""},
      {{"-ex_mode"}, [](RS& r) { r.ex_mode = 1; }, ""},
      {{"-bx_mode"}, [](RS& r) { r.ex_mode = 2; }, ""},
      {{"-bx_mode2"}, [](RS& r) { r.ex_mode = 3; }, ""},
      {{"-grun_float"}, [](RS& r) { r.grun_float = 1; }, ""},
      {{"-bsim_mode"}, [](RS& r) { r.bsim_mode = 1; }, ""},
      {{"-bsim_mode", "-nbsim_mode"}, unchanged, ""},
      {{"-erep"}, [](RS& r) { r.erep = 1; }, ""},
      {{"-erep", "-no_erep"}, unchanged, ""},
      {{"-dsp_tg"}, [](RS& r) { r.dsp_tg = 1; }, ""},
      {{"-tvfdat"}, [](RS& r) { r.tvfdat = 1; }, ""},
      {{"-stack_check"}, [](RS& r) { r.stack_check = 1; }, ""},
      {{"-stack_check", "-no_stack_check"}, unchanged, ""},
  });
}

TEST(CommandLine, OptionsWhoseValueIsAKeyword) {
  expectRows({
      {{"-rnd", "r"}, [](RS& r) { r.rnd = 0; }, ""},
      {{"-rnd", "e", "-rnd", "t"}, unchanged, ""},
      {{"-rnd", "e"}, [](RS& r) { r.rnd = 2; }, ""},
      {{"-rnd", "c"}, [](RS& r) { r.rnd = 3; }, ""},
      {{"-rnd", "f"}, [](RS& r) { r.rnd = 4; }, ""},
      {{"-rnd", "T"}, [](RS& r) { r.inputFiles = {"T"}; }, ""},
      {{"-rnd", "-O1"}, [](RS& r) { r.O = 1; }, ""},
      {{"-ovf", "s"}, [](RS& r) { r.ovf = 0; }, ""},
      {{"-ovf", "s", "-ovf", "i"}, unchanged, ""},
      {{"-ovf", "is"}, [](RS& r) { r.inputFiles = {"is"}; }, ""},
      {{"-ovf", "-x"}, unchanged, noSuchOption("-x")},
      {{"-n_sqrttbl", "on"}, [](RS& r) { r.n_sqrttbl = 2; }, ""},
      {{"-n_sqrttbl", "off"}, [](RS& r) { r.n_sqrttbl = 1; }, ""},
      {{"-n_sqrttbl", "1"}, [](RS& r) { r.n_sqrttbl = 2; }, ""},
      {{"-n_sqrttbl", "2"}, [](RS& r) { r.n_sqrttbl = 3; }, ""},
      {{"-n_sqrttbl", "ON"}, unchanged, mistake("-n_sqrttbl")},
      {{"-n_sqrttbl", "-O1"}, unchanged, mistake("-n_sqrttbl")},
      {{"-fdp", "yes"}, [](RS& r) { r.fdp = 1; }, ""},
      {{"-fdp", "Y"}, [](RS& r) { r.fdp = 1; }, ""},
      {{"-fdp", "y", "-fdp", "no"}, unchanged, ""},
      {{"-fdp", "y", "-fdp", "N"}, unchanged, ""},
      {{"-fdp", "maybe"}, [](RS& r) { r.fdp = 2; }, ""},
      {{"-fdp", "M"}, [](RS& r) { r.fdp = 2; }, ""},
      {{"-fdp", "x"}, unchanged, mistake("-fdp")},
      {{"-fdp", ""}, unchanged, mistake("-fdp")},
      {{"-fdp_rnd", "t"}, [](RS& r) { r.fdp_rnd = 1; }, ""},
      {{"-fdp_rnd", "t", "-fdp_rnd", "r"}, unchanged, ""},
      {{"-fdp_rnd", "e"}, [](RS& r) { r.fdp_rnd = 2; }, ""},
      {{"-fdp_rnd", "c"}, [](RS& r) { r.fdp_rnd = 3; }, ""},
      {{"-fdp_rnd", "f"}, [](RS& r) { r.fdp_rnd = 4; }, ""},
      {{"-fdp_rnd", "tr"}, unchanged, mistake("-fdp_rnd")},
      {{"-grun_level", "0"}, [](RS& r) { r.grun_level = 0; }, ""},
      {{"-grun_level", "1x"}, [](RS& r) { r.grun_level = 1; }, ""},
      {{"-grun_level", "2"}, [](RS& r) { r.grun_level = 2; }, ""},
      {{"-grun_level", "3"}, unchanged, mistake("-grun_level <level>")},
  });
}

TEST(CommandLine, OptionsWhoseValueIsANumber) {
  expectRows({
      {{"-rnd_w", "7"}, [](RS& r) { r.rnd_w = 7; }, ""},
      {{"-rnd_w", "-5"}, [](RS& r) { r.rnd_w = 0; }, ""},
      {{"-avar_max_size", "-3"}, [](RS& r) { r.avar_max_size = -3; }, ""},
      {{"-avar_max_size", "12abc"}, [](RS& r) { r.avar_max_size = 12; }, ""},
      {{"-ghbit", "2"}, [](RS& r) { r.ghbit = 2; }, ""},
      {{"-ghbit", "4"}, [](RS& r) { r.ghbit = 4; }, ""},
      {{"-ghbit", "16", "-ghbit", "8x"}, unchanged, ""},
      {{"-ghbit", "16"}, [](RS& r) { r.ghbit = 16; }, ""},
      {{"-ghbit", "32"}, [](RS& r) { r.ghbit = 32; }, ""},
      {{"-ghbit", "64"}, [](RS& r) { r.ghbit = 64; }, ""},
      {{"-ghbit", "12"}, unchanged, mistake("-ghbit")},
      {{"-ghbit", "-O1"}, unchanged, mistake("-ghbit")},
      {{"-bx_byte", "1"}, [](RS& r) { r.bx_byte = 1; }, ""},
      {{"-bx_byte", "0"}, unchanged, mistake("-bx_type")},
      {{"-bx_short", "3"}, [](RS& r) { r.bx_short = 3; }, ""},
      {{"-bx_short", "0"}, unchanged, mistake("-bx_short")},
      {{"-bx_int", "4"}, [](RS& r) { r.bx_int = 4; }, ""},
      {{"-bx_int", "-4"}, unchanged, mistake("-bx_int")},
      {{"-bx_longlong", "8"}, [](RS& r) { r.bx_longlong = 8; }, ""},
      {{"-bx_longlong", "x"}, unchanged, mistake("-bx_longlong")},
      {{"-bx_accum", "5"}, [](RS& r) { r.bx_accum = 5; }, ""},
      {{"-bx_accum", "0"}, unchanged, mistake("-bx_accum")},
      {{"-a_stack", "1024000"}, [](RS& r) { r.a_stack = 1024000; }, ""},
      {{"-a_stack", "1023999"}, unchanged, mistake("-a_stack")},
      {{"-i_stack", "99999999999"}, [](RS& r) { r.i_stack = 2147483647; }, ""},
      {{"-i_stack", "1023999"}, unchanged, mistake("-i_stack")},
      {{"-g_stack", "2000000"}, [](RS& r) { r.g_stack = 2000000; }, ""},
      {{"-g_stack", "0xF9FFF"}, unchanged, mistake("-g_stack")},
      {{"-all_stack", "1024000"}, [](RS& r) { r.a_stack = r.i_stack = r.g_stack = 1024000; }, ""},
      {{"-all_stack", "1023999"}, unchanged, mistake("-all_stack")},
  });
}

TEST(CommandLine, OptionsWhoseValueIsAText) {
  expectRows({
      {{"-p", "-x"}, [](RS& r) { r.p = "-x"; }, ""},
      {{"-run", "go fast"}, [](RS& r) { r.run = "go fast"; }, ""},
      {{"-arg", "-O1"}, [](RS& r) { r.arg = "-O1"; }, ""},
      {{"-simdbgf", "dbg.txt"}, [](RS& r) { r.simdbgf = "dbg.txt"; }, ""},
      {{"-erate", "0.5"}, [](RS& r) { r.erate = "0.5"; }, ""},
      {{"-ghrate", ""}, [](RS& r) { r.ghrate = ""; }, ""},
      {{"-p_tvar", "tv_"}, [](RS& r) { r.p_tvar = "tv_"; }, ""},
      {{"-p_cvar", "cv_"}, [](RS& r) { r.p_cvar = "cv_"; }, ""},
      {{"-erep_o", "-report"}, [](RS& r) { r.erep_o = "-report"; }, ""},
  });
}

TEST(CommandLine, MathTableSpecifications) {
  expectRows({
      {{"-n_mathtbl", "256:16:90"},
       [](RS& r) {
         r.n_mathtbl = {2, 256, 16, 90};
       },
       ""},
      {{"-n_mathtbl", "256:16"}, unchanged, mistake("-n_mathtbl")},
      {{"-n_costbl", "off"}, [](RS& r) { r.n_costbl.mode = 1; }, ""},
      {{"-n_costbl", "64:8:45"}, unchanged, mistake("-n_costbl")},
      {{"-n_tantbl", "256:16"},
       [](RS& r) {
         r.n_tantbl = {2, 256, 16, 0};
       },
       ""},
      {{"-n_tantbl", "-O1"}, unchanged, mistake("-n_tantbl")},
      {{"-n_acostbl", "on"}, [](RS& r) { r.n_acostbl.mode = 2; }, ""},
      {{"-n_acostbl", "100:16"}, unchanged, mistake("-n_acostbl")},
      {{"-n_atantbl", "256:16:90"},
       [](RS& r) {
         r.n_atantbl = {2, 256, 16, 0};
       },
       ""},
      {{"-n_atantbl", "256:12"}, unchanged, mistake("-n_atantbl")},
      {{"-n_atan2tbl", "4096:32"},
       [](RS& r) {
         r.n_atan2tbl = {2, 4096, 32, 0};
       },
       ""},
      {{"-n_atan2tbl", "OFF"}, unchanged, mistake("-n_atan2tbl")},
  });
}

TEST(CommandLine, ListOptionsAndTheConstraintFile) {
  expectRows({
      {{"-DNAME=1"}, [](RS& r) { r.D = {"NAME=1"}; }, ""},
      {{"-D", "N=4", "-DM"},
       [](RS& r) {
         r.D = {"N=4", "M"};
       },
       ""},
      {{"-D", "-x"}, unchanged, mistake("-D")},
      {{"-ip", "inc", "-ip", "-dir"},
       [](RS& r) {
         r.ip = {"inc", "-dir"};
       },
       ""},
      {{"-lp", "lib"}, [](RS& r) { r.lp = {"lib"}; }, ""},
      {{"-ctf", "c.txt", "a.c"}, [](RS& r) { r.inputFiles = {"a.c"}; }, ""},
      {{"-ctf", "-O1"}, unchanged, ""},
  });
}

// Every option that takes a value, as the last argument.
TEST(CommandLine, MissingValueAtTheEnd) {
  const std::vector<std::string> silent = {"-max",     "-maxt", "-p",   "-run",   "-arg",
                                           "-simdbgf", "-rnd",  "-ovf", "-rnd_w", "-avar_max_size",
                                           "-ip",      "-lp",   "-ctf"};
  const std::vector<std::pair<std::string, std::string>> reported = {
      {"-n_sqrttbl", "-n_sqrttbl"},
      {"-fdp", "-fdp"},
      {"-fdp_rnd", "-fdp_rnd"},
      {"-grun_level", "-grun_level <level>"},
      {"-ghbit", "-ghbit"},
      {"-bx_byte", "-bx_type"},
      {"-bx_short", "-bx_short"},
      {"-bx_int", "-bx_int"},
      {"-bx_longlong", "-bx_longlong"},
      {"-bx_accum", "-bx_accum"},
      {"-a_stack", "-a_stack"},
      {"-i_stack", "-i_stack"},
      {"-g_stack", "-g_stack"},
      {"-all_stack", "-all_stack"},
      {"-erate", "-erate"},
      {"-ghrate", "-ghrate"},
      {"-p_tvar", "-p_tvar <nameOfPrefix>"},
      {"-p_cvar", "-p_cvar <nameOfPrefix>"},
      {"-erep_o", "-erep_o <nameOfFile>"},
      {"-n_mathtbl", "-n_mathtbl"},
      {"-n_costbl", "-n_costbl"},
      {"-n_tantbl", "-n_tantbl"},
      {"-n_acostbl", "-n_acostbl"},
      {"-n_atantbl", "-n_atantbl"},
      {"-n_atan2tbl", "-n_atan2tbl"},
      {"-bx_bits", "-bx_bits"},
      {"-D", "-D"},
  };
  std::vector<Case> cases;
  cases.reserve(silent.size() + reported.size());
  for (const std::string& option : silent) {
    cases.push_back({{"a.c", option}, [](RS& r) { r.inputFiles = {"a.c"}; }, ""});
  }
  for (const auto& [option, named] : reported) {
    cases.push_back({{"a.c", option}, [](RS& r) { r.inputFiles = {"a.c"}; }, mistake(named)});
  }
  const auto flags = std::count_if(commandLineOptions().begin(), commandLineOptions().end(),
                                   [](const OptionRow& row) { return std::holds_alternative<Flag>(row.value); });
  EXPECT_EQ(silent.size() + reported.size(), commandLineOptions().size() - static_cast<size_t>(flags));
  expectRows(cases);
}

TEST(CommandLine, MaximumBitSizes) {
  const std::string tooLarge = "is too large(Maximum bitsize can allow [0-64]).";
  const std::string tLarge = "is too large(Maximum-T bitsize can allow [0-64]).";
  expectRows({
      {{"-max", "40"}, [](RS& r) { r.max = r.maxt = 40; }, ""},
      {{"-maxt", "20", "-max", "40"}, [](RS& r) { r.max = 40, r.maxt = 20, r.maxtGiven = 1; }, ""},
      {{"-max", "70"}, [](RS& r) { r.max = 64, r.maxt = 70; }, "Warning : option : '70' " + tooLarge + "\n"},
      {{"-max", "64x"}, [](RS& r) { r.max = r.maxt = 64; }, ""},
      {{"-max", "abc"}, [](RS& r) { r.inputFiles = {"abc"}; }, ""},
      {{"-max", "-5"}, unchanged, noSuchOption("-5")},
      {{"-max", "0"}, [](RS& r) { r.max = r.maxt = 0; }, ""},
      {{"-maxt", "40d"}, [](RS& r) { r.maxt = 40, r.maxtGiven = 1, r.maxtSuffix = 100; }, ""},
      {{"-maxt", "4x0"}, unchanged, mistake("-maxt")},
      {{"-maxt", "4x0d"}, [](RS& r) { r.maxtSuffix = 100; }, mistake("-maxt")},
      {{"-maxt", "4dd"}, [](RS& r) { r.maxtSuffix = 100; }, mistake("-maxt")},
      {{"-maxt", "65"}, [](RS& r) { r.maxt = 64, r.maxtGiven = 1; }, "Warning : option : '65' " + tLarge + "\n"},
      {{"-maxt", "99999999999d"},
       [](RS& r) { r.maxt = 64, r.maxtGiven = 1, r.maxtSuffix = 100; },
       "Warning : option : '99999999999d' " + tLarge + "\n"},
      {{"-maxt", "d"}, [](RS& r) { r.inputFiles = {"d"}; }, ""},
  });
}

// A value from the constraint file is range-checked by a later "-max" or
// "-maxt" even when it takes no value; the warning then names the option.
TEST(CommandLine, BitSizeRangeChecksCatchEarlierValues) {
  struct Row {
    int32_t max;
    int32_t maxt;
    std::vector<std::string> args;
    int32_t wantMax;
    int32_t wantMaxt;
    std::string out;
  };
  const std::vector<Row> rows = {
      {100, 32, {"-max"}, 64, 32, "Warning : option : '-max' is too large(Maximum bitsize can allow [0-64]).\n"},
      {-1, 32, {"-max", "x.c"}, 32, 32, "Warning : option : '-max' is too small(Maximum bitsize can allow [0-64]).\n"},
      {32, 80, {"-maxt"}, 32, 64, "Warning : option : '-maxt' is too large(Maximum-T bitsize can allow [0-64]).\n"},
      {32,
       -7,
       {"-maxt", "4x"},
       32,
       32,
       "Error : A mistake is in specification of \"-maxt\" option.\n"
       "Warning : option : '4x' is too small(Maximum-T bitsize can allow [0-64]).\n"},
  };
  for (const Row& row : rows) {
    RS rs;
    rs.max = row.max;
    rs.maxt = row.maxt;
    EXPECT_EQ(parse(rs, row.args), row.out);
    EXPECT_EQ(rs.max, row.wantMax);
    EXPECT_EQ(rs.maxt, row.wantMaxt);
  }
}

TEST(CommandLine, BitLists) {
  expectRows({
      {{"-bx_bits", "8,16:32"}, [](RS& r) { r.bx_bits = "8,16:32"; }, ""},
      {{"-bx_bits", " 8\t16,,:32 "}, [](RS& r) { r.bx_bits = " 8\t16,,:32 "; }, ""},
      {{"-bx_bits", ",: "}, [](RS& r) { r.bx_bits = ",: "; }, ""},
      {{"-bx_bits", ""}, [](RS& r) { r.bx_bits = ""; }, ""},
      {{"-bx_bits", "8,0"}, unchanged, mistake("-bx_bits")},
      {{"-bx_bits", "8;16"}, [](RS& r) { r.bx_bits = "8;16"; }, ""},
      {{"-bx_bits", "8,16", "-bx_bits", "8,x"}, [](RS& r) { r.bx_bits = "8,16"; }, mistake("-bx_bits")},
      {{"-bx_bits", "-8"}, unchanged, mistake("-bx_bits")},
  });
}

TEST(CommandLine, InputFilesAndUnknownOptions) {
  expectRows({
      {{"./a.c", ".hidden.c", "../b.c", "dir/./c.c"},
       [](RS& r) {
         r.inputFiles = {"a.c", ".hidden.c", "../b.c", "dir/./c.c"};
       },
       ""},
      {{"-foo", "a.c", "-Ec=1", "--help=x", "-"},
       [](RS& r) { r.inputFiles = {"a.c"}; },
       noSuchOption("-foo") + noSuchOption("-Ec=1") + noSuchOption("--help=x") + noSuchOption("-")},
      {{"-ANSIC"}, unchanged, noSuchOption("-ANSIC")},
  });
}

TEST(CommandLine, EveryBadOptionIsReportedInOrder) {
  expectRows({
      {{"-fdp", "x", "-foo", "-ghbit", "12", "-i", "-bx_byte", "0", "-max", "99", "b.c"},
       [](RS& r) {
         r.i = r.a = true;
         r.max = 64, r.maxt = 99;
         r.inputFiles = {"b.c"};
       },
       mistake("-fdp") + noSuchOption("-foo") + mistake("-ghbit") + mistake("-bx_type") +
           "Warning : option : '99' is too large(Maximum bitsize can allow [0-64]).\n"},
  });
}

TEST(CommandLine, RunSettingsEdgeCases) {
  expectRows({
      {{"-all_dsp", "-ansic"}, [](RS& r) { r.all_dsp = r.dsp = r.ansic = true; }, ""},
      {{"-i", "-na"}, [](RS& r) { r.i = r.a = r.na = true; }, ""},
      {{"-D", "-D"}, unchanged, mistake("-D")},
      {{"-ip"}, unchanged, ""},
      {{"-ip", "inc", "-ip"}, [](RS& r) { r.ip = {"inc"}; }, ""},
  });
}

// Options match whole arguments only; the message shows the argument whole.
TEST(CommandLine, LongArgumentsAreShownWhole) {
  const std::string longOption = "-" + std::string(5000, 'q');
  RS rs;
  EXPECT_EQ(parse(rs, {longOption}), noSuchOption(longOption));
  const std::string longValue = std::string(3000, '9');
  RS other;
  EXPECT_EQ(parse(other, {"-max", longValue}),
            "Warning : option : '" + longValue + "' is too large(Maximum bitsize can allow [0-64]).\n");
}

}  // namespace

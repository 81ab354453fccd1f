// The option section row by row: what each keyword accepts and records, and
// what it rejects with which usage text.
#include "constraint/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "constraint/constraint.h"
#include "constraint/keyword_table.h"
#include "constraint/read_testing.h"

namespace {

using constraint_testing::Read;

using O = ConstraintOptions;

Read readOptionLine(ConstraintStore& store, const std::string& line) {
  return constraint_testing::readCapturing(store, "$def_start_option\n" + line + "\n", "o.ctf");
}

struct Accepted {
  std::string line;
  OptionEntry entry;
  int32_t value;
  std::optional<std::string> text = std::nullopt;
};

const std::vector<Accepted> kAccepted = {
    {"-max 64", &O::max, 64},
    {"-max 1.9", &O::max, 1},
    {"-max\t1;", &O::max, 1},
    {"-maxt 16d", &O::maxt, 16, "d"},
    {"-maxt 64", &O::maxt, 64},
    {"-p pre_ other", &O::p, 0, "pre_"},
    {"-p_tvar T", &O::p_tvar, 0, "T"},
    {"-p_cvar C;x", &O::p_cvar, 0, "C"},
    {"-rnd t", &O::rnd, 't'},
    {"-rnd r", &O::rnd, 'r'},
    {"-rnd e", &O::rnd, 'e'},
    {"-ovf i", &O::ovf, 'i'},
    {"-ovf s", &O::ovf, 's'},
    {"-O2", &O::O, 2},
    {"-O1 any text", &O::O, 1},
    {"-O0", &O::O, 0},
    {"-o2", &O::O, 2},
    {"-o1", &O::O, 1},
    {"-o0", &O::O, 0},
    {"-nfloat_store", &O::nfloat_store, 1},
    {"-simmode", &O::simmode, 1},
    {"-sim_nmleft", &O::sim_nmleft, 1},
    {"-mul_func", &O::mul_func, 1},
    {"-mul_dword", &O::mul_dword, 1},
    {"-fdp y", &O::fdp, 'y'},
    {"-fdp N", &O::fdp, 'N'},
    {"-fdp yes", &O::fdp, 'y'},
    {"-fdp M", &O::fdp, 'M'},
    {"-fdp_rnd c", &O::fdp_rnd, 'c'},
    {"-fdp_rnd f", &O::fdp_rnd, 'f'},
    {"-div_func", &O::div_func, 1},
    {"-simdbg", &O::simdbg, 1},
    {"-simdbgf fn", &O::simdbgf, 0, "fn"},
    {"-rnd_w 0", &O::rnd_w, 0},
    {"-rnd_w 64", &O::rnd_w, 64},
    {"-stdmath", &O::stdmath, 1},
    {"-s_mathtbl", &O::s_mathtbl, 1},
    {"-n_mathtbl 256:16:90", &O::n_mathtbl, 0, "256:16:90"},
    {"-n_mathtbl 256 16 90", &O::n_mathtbl, 0, "256:16:90"},
    {"-n_mathtbl 256;16,90", &O::n_mathtbl, 0, "256:16:90"},
    {"-n_mathtbl off", &O::n_mathtbl, 0, "off"},
    {"-n_costbl 0256:016:090", &O::n_costbl, 0, "256:16:90"},
    {"-n_tantbl 256:16:90", &O::n_tantbl, 0, "256:16"},
    {"-n_acostbl 4096:32", &O::n_acostbl, 0, "4096:32"},
    {"-n_atantbl 64:8", &O::n_atantbl, 0, "64:8"},
    {"-n_atan2tbl 128x:24y", &O::n_atan2tbl, 0, "128:24"},
    {"-n_sqrttbl off", &O::n_sqrttbl, 0},
    {"-n_sqrttbl on", &O::n_sqrttbl, 1},
    {"-n_sqrttbl 1", &O::n_sqrttbl, 1},
    {"-n_sqrttbl 2", &O::n_sqrttbl, 2},
    {"-avar_max_size -5", &O::avar_max_size, -5},
    {"-avar_max_size 64", &O::avar_max_size, 64},
    {"-simdbg3", &O::simdbg3, 1},
    {"-erate 0.5:m", &O::erate, 0, "0.5:m"},
    {"-erate 0.5 m", &O::erate, 0, "0.5:m"},
    {"-erate 0.5", &O::erate, 0, "0.5"},
    {"-erate 2:a:z", &O::erate, 0, "2:a"},
    {"-g++ 4", &O::gpp, 4},
    {"-g++  3", &O::gpp, 3},
    {"-gwl", &O::gwl, 1},
    {"-gm0", &O::gm0, 1},
    {"-gm1", &O::gm1, 1},
    {"-gm2", &O::gm2, 1},
    {"-mev", &O::mev, 1},
    {"-amdl", &O::amdl, 0},
    {"-simple_mode", &O::ex_mode, 1},
    {"-lite_mode 2", &O::ex_mode, 1, "2"},
    {"-ex_mode 0", &O::ex_mode, 1, "0"},
    {"-ex_mode2", &O::ex_mode, 2},
    {"-bx_mode", &O::bx_mode, 0},
    {"-bx_mode2", &O::bx_mode, 1},
    {"-bx_byte 8x", &O::bx_byte, 8},
    {"-bx_short 16", &O::bx_short, 16},
    {"-bx_int 1", &O::bx_int, 1},
    {"-bx_longlong 64", &O::bx_longlong, 64},
    {"-bx_accum 40:9", &O::bx_accum, 40},
    {"-bx_bits 8,16,32", &O::bx_bits, 0, "8,16,32\n"},
    {"-bx_bits  1 2:3", &O::bx_bits, 0, " 1 2:3\n"},
    {"-bx_bits ,", &O::bx_bits, 0, ",\n"},
    {"-grun_level 0", &O::grun_level, 0},
    {"-grun_level 2", &O::grun_level, 2},
    {"-grun_float", &O::grun_float, 1},
    {"-f2fx", &O::f2fx, 1},
    {"-ghbit 2", &O::ghbit, 2},
    {"-ghbit 64", &O::ghbit, 64},
    {"-ghrate 0.5:x", &O::ghrate, 0, "0.5"},
    {"-Ec", &O::Ec, 1},
    {"-En", &O::En, 1},
    {"-float", &O::float_, 1},
    {"-bsim_mode", &O::bsim_mode, 1},
    {"-nbsim_mode", &O::nbsim_mode, 1},
    {"-dsp_tg", &O::dsp_tg, 1},
    {"-erep", &O::erep, 1},
    {"-no_erep", &O::erep, 0},
    {"-erep_o out:x", &O::erep_o, 0, "out"},
};

TEST(OptionSection, EveryRowRecordsWhatItAccepts) {
  for (const Accepted& c : kAccepted) {
    ConstraintStore store;
    Read read = readOptionLine(store, c.line);
    const ConstraintOptionEntry& entry = store.constraintOptions.*c.entry;
    EXPECT_EQ(read.out, "") << c.line;
    EXPECT_EQ(read.status, 0) << c.line;
    EXPECT_EQ(entry.given, 1) << c.line;
    EXPECT_EQ(entry.value, c.value) << c.line;
    EXPECT_EQ(entry.text, c.text) << c.line;
  }
}

struct Rejected {
  std::string line;
  std::string usage;
  OptionEntry entry;
};

const std::vector<Rejected> kRejected = {
    {"-max", "-max <numOfBit>", &O::max},
    {"-max ,", "-max <numOfBit>", &O::max},
    {"-max 0", "-max <numOfBit>", &O::max},
    {"-max 65", "-max <numOfBit>", &O::max},
    {"-max -3", "-max <numOfBit>", &O::max},
    {"-max 8a", "-max <numOfBit>", &O::max},
    {"-max 4294967297", "-max <numOfBit>", &O::max},
    {"-maxt d", "-maxt <numOfBit>", &O::maxt},
    {"-maxt 65d", "-maxt <numOfBit>", &O::maxt},
    {"-maxt 8dd", "-maxt <numOfBit>", &O::maxt},
    {"-p", "-p <nameOfPrefix>", &O::p},
    {"-p ;", "-p <nameOfPrefix>", &O::p},
    {"-p_tvar", "-p_tvar <nameOfPrefix>", &O::p_tvar},
    {"-p_cvar ,", "-p_cvar <nameOfPrefix>", &O::p_cvar},
    {"-rnd c", "-rnd <t|r|e>", &O::rnd},
    {"-rnd tt", "-rnd <t|r|e>", &O::rnd},
    {"-rnd", "-rnd <t|r|e>", &O::rnd},
    {"-ovf x", "-ovf <i|s>", &O::ovf},
    {"-fdp", "", &O::fdp},
    {"-fdp  y", "", &O::fdp},
    {"-fdp x", "", &O::fdp},
    {"-fdp_rnd x", "-fdp_rnd <t|r|e>", &O::fdp_rnd},
    {"-simdbgf", "-simdbgf <nameOfFunc>", &O::simdbgf},
    {"-D", "-D <nameOfMacro>", &O::D},
    {"-D ,;", "-D <nameOfMacro>", &O::D},
    {"-rnd_w -5", "-rnd_w <numOfBit>", &O::rnd_w},
    {"-rnd_w 65", "-rnd_w <numOfBit>", &O::rnd_w},
    {"-rnd_w x", "-rnd_w <numOfBit>", &O::rnd_w},
    {"-n_mathtbl on", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_mathtbl 256:16", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_mathtbl 100:16:90", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_mathtbl 256:12:90", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_mathtbl 256:16:45", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_mathtbl", "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_mathtbl},
    {"-n_costbl 256:16", "-n_costbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_costbl},
    {"-n_tantbl 256", "-n_tantbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>", &O::n_tantbl},
    {"-n_acostbl on", "-n_acostbl <numOfTblSize>:<numOfRetBit>", &O::n_acostbl},
    {"-n_atantbl 256:12", "-n_atantbl <numOfTblSize>:<numOfRetBit>", &O::n_atantbl},
    {"-n_atan2tbl 32:8", "-n_atan2tbl <numOfTblSize>:<numOfRetBit>", &O::n_atan2tbl},
    {"-n_sqrttbl 3", "-n_sqrttbl <on|off>", &O::n_sqrttbl},
    {"-n_sqrttbl", "-n_sqrttbl <on|off>", &O::n_sqrttbl},
    {"-lp", "-lp <nameOfPath>", &O::lp},
    {"-ip ;", "-ip <nameOfPath>", &O::ip},
    {"-avar_max_size 65", "-avar_max_size <numOfSize>", &O::avar_max_size},
    {"-avar_max_size x", "-avar_max_size <numOfSize>", &O::avar_max_size},
    {"-erate 0.5:x", "-erate <numOfRate>[:<m|a>]", &O::erate},
    {"-erate abc", "-erate <numOfRate>[:<m|a>]", &O::erate},
    {"-erate", "-erate <numOfRate>[:<m|a>]", &O::erate},
    {"-g++ 5", "-g++ <3|4>", &O::gpp},
    {"-g++", "-g++ <3|4>", &O::gpp},
    {"-bx_byte 0", "-bx_byte <widthOfBits>", &O::bx_byte},
    {"-bx_short x", "-bx_short <widthOfBits>", &O::bx_short},
    {"-bx_int", "-bx_int <widthOfBits>", &O::bx_int},
    {"-bx_longlong -1", "-bx_longlong <widthOfBits>", &O::bx_longlong},
    {"-bx_accum :", "-bx_accum <widthOfBits>", &O::bx_accum},
    {"-bx_bits 16,8", "-bx_bits <value1, value2, value3, ..>", &O::bx_bits},
    {"-bx_bits 8,8", "-bx_bits <value1, value2, value3, ..>", &O::bx_bits},
    {"-bx_bits 0", "-bx_bits <value1, value2, value3, ..>", &O::bx_bits},
    {"-bx_bits", "-bx_bits <value1, value2, value3, ..>", &O::bx_bits},
    {"-grun_level", "", &O::grun_level},
    {"-grun_level 3", "", &O::grun_level},
    {"-grun_level 01", "", &O::grun_level},
    {"-ghbit 12", "-ghbit <numOfSize>", &O::ghbit},
    {"-ghbit", "-ghbit <numOfSize>", &O::ghbit},
    {"-ghrate", "-ghrate <numOfRate>", &O::ghrate},
    {"-erep_o :", "-erep_o <numOfFile>", &O::erep_o},
    {"-nbsim_mod", "", &O::nbsim_mode},
};

TEST(OptionSection, EveryRowRejectsWithItsUsageText) {
  for (const Rejected& c : kRejected) {
    ConstraintStore store;
    Read read = readOptionLine(store, c.line);
    const ConstraintOptionEntry& entry = store.constraintOptions.*c.entry;
    EXPECT_EQ(read.status, -1) << c.line;
    EXPECT_EQ(read.out, "Error:o.ctf:2:Syntx error :" + c.usage + "\n") << c.line;
    EXPECT_EQ(entry.given, 0) << c.line;
    EXPECT_FALSE(entry.text) << c.line;
    EXPECT_TRUE(entry.list.empty()) << c.line;
  }
}

TEST(OptionSection, TheModeLevelIsCheckedAfterTheModeIsRecorded) {
  for (const char* line : {"-ex_mode 3", "-simple_mode x", "-lite_mode 1.0"}) {
    ConstraintStore store;
    EXPECT_EQ(readOptionLine(store, line).out, "Error:o.ctf:2:Syntx error :\n") << line;
    EXPECT_EQ(store.constraintOptions.ex_mode.given, 1) << line;
    EXPECT_EQ(store.constraintOptions.ex_mode.value, 1) << line;
  }
}

TEST(OptionSection, GrunLevelWithSeparatorsOnlyRecordsNothing) {
  ConstraintStore store;
  EXPECT_EQ(readOptionLine(store, "-grun_level ,").status, 0);
  EXPECT_EQ(store.constraintOptions.grun_level.given, 0);
}

TEST(OptionSection, ListLinesAddToOneListInFileOrder) {
  ConstraintStore store;
  EXPECT_EQ(readOptionLine(store, "-D M1 M2\n-D,M3\n-ip P;Q\n-lp L").status, 0);
  EXPECT_EQ(store.constraintOptions.D.list, (std::vector<std::string>{"M1", "M2", "M3"}));
  EXPECT_EQ(store.constraintOptions.ip.list, (std::vector<std::string>{"P", "Q"}));
  EXPECT_EQ(store.constraintOptions.lp.list, (std::vector<std::string>{"L"}));
}

TEST(OptionSection, ALaterLineReplacesButTheMaxtSuffixStays) {
  ConstraintStore store;
  EXPECT_EQ(readOptionLine(store, "-maxt 16d\n-maxt 20\n-p a\n-p b\n-erep\n-no_erep").status, 0);
  const ConstraintOptions& options = store.constraintOptions;
  EXPECT_EQ(options.maxt.value, 20);
  EXPECT_EQ(options.maxt.text, "d");
  EXPECT_EQ(options.p.text, "b");
  EXPECT_EQ(options.erep.value, 0);
}

TEST(OptionSection, WithOptionsOffEveryLineIsAcceptedUnseen) {
  ConstraintStore store;
  setConstraintMode(store, 1, 0);
  for (const KeywordRow& row : optionTable()) {
    if (row.entry != nullptr) {
      EXPECT_EQ(readOptionLine(store, std::string(row.key) + " 999").status, 0) << row.key;
      EXPECT_EQ((store.constraintOptions.*row.entry).given, 0) << row.key;
    }
  }
}

TEST(OptionTable, RowsAreWellFormedAndEveryEntryIsWritten) {
  std::set<std::string_view> keys;
  std::set<std::size_t> entries;
  const ConstraintOptions probe;
  for (const KeywordRow& row : optionTable()) {
    EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    ASSERT_NE(row.handler, nullptr) << row.key;
    if (row.key == "$end_start_option") {
      EXPECT_EQ(row.gate, Gate::none);
      continue;
    }
    ASSERT_NE(row.entry, nullptr) << row.key;
    EXPECT_EQ(row.gate, Gate::options) << row.key;
    entries.insert(reinterpret_cast<const char*>(&(probe.*row.entry)) - reinterpret_cast<const char*>(&probe));
  }
  EXPECT_EQ(keys.size(), 73U);
  EXPECT_EQ(entries.size() * sizeof(ConstraintOptionEntry), sizeof(ConstraintOptions));
  // Every row is exercised above.
  std::set<std::string_view> tested;
  for (const Accepted& c : kAccepted) {
    tested.insert(std::string_view(c.line).substr(0, c.line.find_first_of(" \t")));
  }
  for (const KeywordRow& row : optionTable()) {
    EXPECT_TRUE(row.entry == nullptr || tested.contains(row.key) || row.key == "-D" || row.key == "-lp" ||
                row.key == "-ip")
        << row.key;
  }
}

TEST(OptionAccessors, ReportOnlyWhatWasGiven) {
  ConstraintOptionEntry entry;
  int32_t value = 7;
  EXPECT_EQ(readGivenValue(entry, value), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(readText(entry), nullptr);
  EXPECT_EQ(readList(entry), nullptr);
  EXPECT_EQ(readCode(entry), 0);
  EXPECT_EQ(readSuffix(entry, value), 0);
  entry = {1, 116, "d", {"x"}};
  EXPECT_EQ(readGivenValue(entry, value), 1);
  EXPECT_EQ(value, 116);
  EXPECT_EQ(*readText(entry), "d");
  EXPECT_EQ(readList(entry)->size(), 1U);
  EXPECT_EQ(readCode(entry), 116);
  EXPECT_EQ(readSuffix(entry, value), 1);
  EXPECT_EQ(value, 'd');
}

}  // namespace

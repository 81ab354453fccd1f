// The option section by row kind, with the first row of each kind, and the
// edges of the hand-written options: what a line records, or the usage text
// it is rejected with.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "constraint/read_testing.h"

namespace {

using O = ConstraintOptions;

struct Case {
  std::string lines;
  OptionEntry entry;
  ConstraintOptionEntry recorded;
  std::optional<std::string> rejectedWith = std::nullopt;
};

const std::string kMathUsage = "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>";

const std::vector<Case> kCases = {
    {"-O1 any text", &O::O, {1, 1}},  // a flag: its value
    {"-rnd t", &O::rnd, {1, 1}},      // a keyword: its code
    {"-rnd c", &O::rnd, {}, "-rnd <t|r|e>"},
    {"-fdp yes", &O::fdp, {1, 1}},  // the first character of the whole rest
    {"-fdp  y", &O::fdp, {}, ""},
    {"-fdp", &O::fdp, {}, ""},
    {"-max 1.9", &O::max, {1, 1}},  // a number: numeric text
    {"-max\t64;", &O::max, {1, 64}},
    {"-max 0", &O::max, {}, "-max <numOfBit>"},
    {"-max 65", &O::max, {}, "-max <numOfBit>"},
    {"-max 8a", &O::max, {}, "-max <numOfBit>"},
    {"-avar_max_size", &O::avar_max_size, {}, "-avar_max_size <numOfSize>"},
    {"-ghbit 2", &O::ghbit, {1, 2}},  // a power of two
    {"-ghbit 12", &O::ghbit, {}, "-ghbit <numOfSize>"},
    {"-g++  3", &O::gpp, {1, 3}},  // the leading digits of the whole rest
    {"-p pre_ other", &O::p, {1, 0, "pre_"}},
    {"-p ;", &O::p, {}, "-p <nameOfPrefix>"},
    {"-D M1 M2\n-D,M3", &O::D, {1, 0, "", {"M1", "M2", "M3"}}},
    {"-D ,;", &O::D, {}, "-D <nameOfMacro>"},
    {"-n_mathtbl 256 16 90", &O::n_mathtbl, {1, 0, "256:16:90"}},
    {"-n_mathtbl 256:16", &O::n_mathtbl, {}, kMathUsage},
    {"-n_mathtbl 100:16:90", &O::n_mathtbl, {}, kMathUsage},
    {"-n_mathtbl 256:12:90", &O::n_mathtbl, {}, kMathUsage},
    {"-n_mathtbl 256:16:45", &O::n_mathtbl, {}, kMathUsage},
    {"-n_tantbl 128x:24y:90", &O::n_tantbl, {1, 0, "128:24"}},
    {"-n_acostbl off", &O::n_acostbl, {1, 0, "off"}},
    {"-maxt 16d\n-maxt 1", &O::maxt, {1, 1, "d"}},  // the suffix stays
    {"-maxt 65d", &O::maxt, {}, "-maxt <numOfBit>"},
    {"-maxt 8dd", &O::maxt, {}, "-maxt <numOfBit>"},
    {"-erate 0.5 m", &O::erate, {1, 0, "0.5:m"}},
    {"-erate 2:a:z", &O::erate, {1, 0, "2:a"}},
    {"-erate 0.5", &O::erate, {1, 0, "0.5"}},
    {"-erate", &O::erate, {}, "-erate <numOfRate>[:<m|a>]"},
    {"-erate abc", &O::erate, {}, "-erate <numOfRate>[:<m|a>]"},
    {"-erate 0.5:x", &O::erate, {}, "-erate <numOfRate>[:<m|a>]"},
    {"-bx_bits 8,16,32", &O::bx_bits, {1, 0, "8,16,32\n"}},
    {"-bx_bits ,", &O::bx_bits, {1, 0, ",\n"}},
    {"-bx_bits 8,8", &O::bx_bits, {}, "-bx_bits <value1, value2, value3, ..>"},
    {"-bx_bits", &O::bx_bits, {}, "-bx_bits <value1, value2, value3, ..>"},
    {"-grun_level 2", &O::grun_level, {1, 2}},
    {"-grun_level ,", &O::grun_level, {}},
    {"-grun_level", &O::grun_level, {}, ""},
    {"-simple_mode", &O::ex_mode, {1, 1}},
    {"-lite_mode 0", &O::ex_mode, {1, 1, "0"}},
    {"-ex_mode 1", &O::ex_mode, {1, 1, "1"}},
    {"-ex_mode 2", &O::ex_mode, {1, 1, "2"}},
    {"-ex_mode 3", &O::ex_mode, {1, 1}, ""},  // the mode is recorded before the level is checked
};

TEST(OptionSection, EachKindRecordsWhatItAcceptsAndRejectsWithItsUsageText) {
  for (const Case& c : kCases) {
    ConstraintStore store;
    const std::string printed = readPrinting(store, "$def_start_option\n" + c.lines + "\n");
    EXPECT_EQ(printed, c.rejectedWith ? "Error:c.ctf:2:Syntx error :" + *c.rejectedWith + "\n" : "") << c.lines;
    ConstraintOptions expected;
    expected.*c.entry = c.recorded;
    EXPECT_TRUE(store.constraintOptions == expected) << c.lines;
  }
}

}  // namespace

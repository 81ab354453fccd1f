// The option section by row kind and the edges of the hand-written options:
// what the lines record, and the usage text the last one is rejected with.
#include <gtest/gtest.h>

#include <algorithm>
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

const std::string kMath = "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>";
const std::string kAcos = "-n_acostbl <numOfTblSize>:<numOfRetBit>";
const std::string kBits = "-bx_bits <value1, value2, value3, ..>";

const std::vector<Case> kCases = {
    {"-O1 any text", &O::O, {1, 1}},                                       // a flag: its value
    {"-rnd t\n-rnd c", &O::rnd, {1, 1}, "-rnd <t|r|e>"},                   // a keyword: its code
    {"-fdp yes\n-fdp  y", &O::fdp, {1, 1}, ""},                            // the first character of the whole rest
    {"-max 1.9\n-max\t64;\n-max 0", &O::max, {1, 64}, "-max <numOfBit>"},  // a number: numeric text
    {"-max 65", &O::max, {}, "-max <numOfBit>"},
    {"-max 8a", &O::max, {}, "-max <numOfBit>"},
    {"-avar_max_size", &O::avar_max_size, {}, "-avar_max_size <numOfSize>"},
    {"-ghbit 2\n-ghbit 12", &O::ghbit, {1, 2}, "-ghbit <numOfSize>"},  // a power of two
    {"-g++  3", &O::gpp, {1, 3}},                                      // the leading digits of the whole rest
    {"-p pre_ other\n-p ;", &O::p, {1, 0, "pre_"}, "-p <nameOfPrefix>"},
    {"-D M1 M2\n-D,M3\n-D ,;", &O::D, {1, 0, "", {"M1", "M2", "M3"}}, "-D <nameOfMacro>"},
    {"-n_mathtbl 256 16 90\n-n_mathtbl 256:16", &O::n_mathtbl, {1, 0, "256:16:90"}, kMath},
    {"-n_mathtbl 100:16:90", &O::n_mathtbl, {}, kMath},
    {"-n_acostbl off\n-n_acostbl 128x:24y:90\n-n_acostbl 256:12", &O::n_acostbl, {1, 0, "128:24"}, kAcos},
    {"-maxt 16d\n-maxt 1\n-maxt 8dd", &O::maxt, {1, 1, "d"}, "-maxt <numOfBit>"},  // the suffix stays
    {"-maxt 0d", &O::maxt, {}, "-maxt <numOfBit>"},                                  // below 1
    {"-erate 2:a:z\n-erate 0.5:x", &O::erate, {1, 0, "2:a"}, "-erate <numOfRate>[:<m|a>]"},
    {"-erate", &O::erate, {}, "-erate <numOfRate>[:<m|a>]"},
    {"-erate abc", &O::erate, {}, "-erate <numOfRate>[:<m|a>]"},
    {"-bx_bits ,\n-bx_bits 8,16,32\n-bx_bits 8,8", &O::bx_bits, {1, 0, "8,16,32\n"}, kBits},
    {"-bx_bits", &O::bx_bits, {}, kBits},
    {"-grun_level ,\n-grun_level 2\n-grun_level", &O::grun_level, {1, 2}, ""},
    {"-simple_mode\n-ex_mode 1\n-ex_mode 2\n-lite_mode 0", &O::ex_mode, {1, 1, "0"}},
    {"-ex_mode 3", &O::ex_mode, {1, 1}, ""},  // the mode is recorded before the level is checked
};

TEST(OptionSection, EachKindRecordsWhatItAcceptsAndRejectsWithItsUsageText) {
  for (const Case& c : kCases) {
    ConstraintStore store;
    const int lastLine = 2 + static_cast<int>(std::count(c.lines.begin(), c.lines.end(), '\n'));
    EXPECT_EQ(readPrinting(store, "$def_start_option\n" + c.lines + "\n"),
              c.rejectedWith ? syntaxError(lastLine, *c.rejectedWith) : "")
        << c.lines;
    ConstraintOptions expected;
    expected.*c.entry = c.recorded;
    EXPECT_TRUE(store.constraintOptions == expected) << c.lines;
  }
}

}  // namespace

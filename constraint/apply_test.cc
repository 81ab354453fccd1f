// Applying the option section: every step at once for the fixed order of the
// echo lines, compared as whole settings, and the edges that case cannot show.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "constraint/read_testing.h"

// The expected settings name only what differs from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// The settings and the echo of applying the option lines to `rs`.
std::pair<RunSettings, std::string> apply(const std::string& lines, RunSettings rs = {}) {
  ConstraintStore store;
  EXPECT_EQ(readPrinting(store, "$def_start_option\n" + lines + "\n"), "");
  testing::internal::CaptureStdout();
  applyConstraintOptions(store, rs);
  return {rs, testing::internal::GetCapturedStdout()};
}

// A "-maxt" without the suffix; a code without a keyword is not echoed, one
// with the second keyword of its list is ("-bx_mode2" writes what "-ex_mode2" wrote).
TEST(ApplyConstraintOptions, AMaxtWithoutSuffixAndCodesWithAndWithoutKeyword) {
  const auto [rs, echo] = apply("-maxt 20\n-ex_mode2\n-bx_mode2");
  EXPECT_EQ(echo, "-maxt 20\n-bx_mode2\n");
  EXPECT_TRUE(rs == (RunSettings{.maxt = 20, .maxtGiven = 1, .ex_mode = 3}));
}

// Every option in the reverse of the steps' order: the echo follows the steps.
TEST(ApplyConstraintOptions, EveryStepAtOnceRunsInTheFixedOrder) {
  const auto [rs, echo] = apply(
      "-erep_o eo\n-erep\n-dsp_tg\n-nbsim_mode\n-bsim_mode\n-float\n-En\n-Ec\n-grun_float\n-grun_level 1\n"
      "-bx_bits 1,2\n-bx_accum 5\n-bx_longlong 4\n-bx_int 3\n-bx_short 2\n-bx_byte 1\n-bx_mode\n-ex_mode\n"
      "-ghrate gr\n-ghbit 4\n-f2fx\n-amdl\n-mev\n-gm2\n-gm1\n-gm0\n-gwl\n-simdbg3\n-avar_max_size 7\n-ip I\n-lp L\n"
      "-n_sqrttbl 1\n-n_atan2tbl off\n-n_atantbl 64:16\n-n_acostbl 128:24\n-n_tantbl 256:32\n"
      "-n_costbl 512:8:90\n-n_mathtbl 1024:16:180\n-s_mathtbl\n-stdmath\n-rnd_w 3\n-D A B\n-simdbgf sf\n-simdbg\n"
      "-fdp_rnd c\n-fdp n\n-div_func\n-mul_dword\n-mul_func\n-sim_nmleft\n-simmode\n-nfloat_store\n-O0\n-ovf s\n"
      "-rnd e\n-erate 1\n-p_cvar pc\n-p_tvar pt\n-p pp\n-maxt 9d\n-max 8\n-g++ 3\n",
      {.ffloat_store = 1, .fdp = 1});
  EXPECT_EQ(echo,
            "-max 8\n-maxt xxd\n-maxt 9d\n-p pp\n-p_tvar pt\n-p_cvar pc\n-erate 1\n-rnd e\n-ovf s\n-O0\n"
            "-nfloat_store\n-simmode\n-sim_nmleft\n-mul_func\n-mul_dword\n-div_func\n-fdp n\n-fdp_rnd c\n-simdbg\n"
            "-simdbgf sf\n-D A\n-D B\n-rnd_w 3\n-stdmath\n-s_mathtbl\n-n_mathtbl 1024:16:180\n-n_costbl 512:8:90\n"
            "-n_tantbl 256:32\n-n_acostbl 128:24\n-n_atantbl 64:16\n-n_atan2tbl 0:0\n-n_sqrttbl on\n-lp L\n-ip I\n"
            "-avar_max_size 7\n-simdbg3\n-gwl\n-gm0\n-gm1\n-gm2\n-mev\n-amdl\n-f2fx\n-ghbit 4\n-ghrate gr\n"
            "-ex_mode\n-bx_mode\n-bx_byte 1\n-bx_short 2\n-bx_int 3\n-bx_longlong 4\n-bx_accum 5\n-bax_bits 1,2\n\n"
            "-grun_level 1\n-grun_float\n-Ec\n-En\n-float\n-bsim_mode\n-nbsim_mode\n-dsp_tg\n-erep_o eo\n-erep\n");
  // clang-format off
  const RunSettings expected{
      .D = {"A", "B"}, .ip = {"I"}, .lp = {"L"}, .max = 8, .maxt = 9, .maxtSuffix = 'd', .maxtGiven = 1, .rnd = 2,
      .ovf = 0, .rnd_w = 3, .O = 0, .mul_func = 2, .div_func = 1, .fdp_rnd = 3, .stdmath = 1, .s_mathtbl = 1,
      .n_mathtbl = {2, 1024, 16, 180}, .n_costbl = {2, 512, 8, 90}, .n_tantbl = {2, 256, 32, 0},
      .n_acostbl = {2, 128, 24, 0}, .n_atantbl = {2, 64, 16, 0}, .n_atan2tbl = {1, 0, 0, 0}, .n_sqrttbl = 2,
      .simmode = 1, .sim_nmleft = 1, .simdbg = 1, .simdbg3 = 1, .simdbgf = "sf", .avar_max_size = 7, .gwl = 1,
      .gm0 = 1, .gm1 = 1, .gm2 = 1, .mev = 0, .float_ = 1, .f2fx = 1, .ghbit = 4, .ghrate = "gr", .ex_mode = 2,
      .bx_byte = 1, .bx_short = 2, .bx_int = 3, .bx_longlong = 4, .bx_accum = 5, .bx_bits = "1,2\n",
      .grun_level = 1, .grun_float = 1, .dsp_tg = 1, .p = "pp", .p_tvar = "pt", .p_cvar = "pc", .erate = "1",
      .erep_o = "eo", .erep = 1};
  // clang-format on
  EXPECT_TRUE(rs == expected);
}

}  // namespace

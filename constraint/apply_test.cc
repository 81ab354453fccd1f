// Applying the option section: each step's setting and echo line, and the
// fixed order of the steps.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "constraint/constraint.h"
#include "settings/command_line.h"

namespace {

struct Applied {
  RunSettings rs;
  std::string echo;
};

Applied apply(const std::string& lines, const std::function<void(RunSettings&)>& before = nullptr) {
  ConstraintStore store;
  testing::internal::CaptureStdout();
  int status = readConstraintText(store, "$def_start_option\n" + lines + "\n", "a.ctf");
  std::string readOut = testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0) << readOut;
  Applied applied;
  if (before) {
    before(applied.rs);
  }
  testing::internal::CaptureStdout();
  applyConstraintOptions(store, applied.rs);
  applied.echo = testing::internal::GetCapturedStdout();
  return applied;
}

struct Step {
  std::string lines;
  std::string echo;
  std::function<void(const RunSettings&)> check;
  std::function<void(RunSettings&)> before = nullptr;
};

using Fields = std::array<int32_t, 4>;
Fields table(int32_t mode, int32_t size, int32_t bits, int32_t angle = 0) { return {mode, size, bits, angle}; }
Fields fields(const TableSetting& t) { return {t.mode, t.size, t.bits, t.angle}; }

using Strings = std::vector<std::string>;

const std::vector<Step> kSteps = {
    {"-max 40", "-max 40\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.max, 40);
       EXPECT_EQ(rs.maxt, 32);
     }},
    {"-maxt 16d", "-maxt xxd\n-maxt 16d\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.maxt, 16);
       EXPECT_EQ(rs.maxtSuffix, 100);
       EXPECT_EQ(rs.maxtGiven, 1);
     }},
    {"-maxt 20", "-maxt 20\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.maxt, 20);
       EXPECT_EQ(rs.maxtSuffix, 0);
     }},
    {"-p pre", "-p pre\n", [](const RunSettings& rs) { EXPECT_EQ(rs.p, "pre"); }},
    {"-p_tvar T", "-p_tvar T\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.p_tvar, "T");
       EXPECT_FALSE(rs.p_cvar);
     }},
    {"-p_cvar C", "-p_cvar C\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.p_cvar, "C");
       EXPECT_FALSE(rs.p_tvar);
     }},
    {"-erate 0.5 m", "-erate 0.5:m\n", [](const RunSettings& rs) { EXPECT_EQ(rs.erate, "0.5:m"); }},
    {"-rnd r", "-rnd r\n", [](const RunSettings& rs) { EXPECT_EQ(rs.rnd, 0); }},
    {"-rnd t", "-rnd t\n", [](const RunSettings& rs) { EXPECT_EQ(rs.rnd, 1); }},
    {"-rnd e", "-rnd e\n", [](const RunSettings& rs) { EXPECT_EQ(rs.rnd, 2); }},
    {"-ovf s", "-ovf s\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ovf, 0); }},
    {"-ovf i", "-ovf i\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ovf, 1); }, [](RunSettings& rs) { rs.ovf = 0; }},
    {"-o0", "-O0\n", [](const RunSettings& rs) { EXPECT_EQ(rs.O, 0); }},
    {"-O1", "-O1\n", [](const RunSettings& rs) { EXPECT_EQ(rs.O, 1); }},
    {"-nfloat_store", "-nfloat_store\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ffloat_store, 0); },
     [](RunSettings& rs) { rs.ffloat_store = 1; }},
    {"-simmode", "-simmode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.simmode, 1); }},
    {"-sim_nmleft", "-sim_nmleft\n", [](const RunSettings& rs) { EXPECT_EQ(rs.sim_nmleft, 1); }},
    {"-mul_func", "-mul_func\n", [](const RunSettings& rs) { EXPECT_EQ(rs.mul_func, 1); }},
    {"-mul_dword\n-mul_func", "-mul_func\n-mul_dword\n", [](const RunSettings& rs) { EXPECT_EQ(rs.mul_func, 2); }},
    {"-div_func", "-div_func\n", [](const RunSettings& rs) { EXPECT_EQ(rs.div_func, 1); }},
    {"-fdp Y", "-fdp y\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp, 1); }},
    {"-fdp n", "-fdp n\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp, 0); }, [](RunSettings& rs) { rs.fdp = 2; }},
    {"-fdp M", "-fdp m\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp, 2); }},
    {"-fdp_rnd t", "-fdp_rnd t\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp_rnd, 1); }},
    {"-fdp_rnd r", "-fdp_rnd r\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp_rnd, 0); },
     [](RunSettings& rs) { rs.fdp_rnd = 4; }},
    {"-fdp_rnd e", "-fdp_rnd e\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp_rnd, 2); }},
    {"-fdp_rnd c", "-fdp_rnd c\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp_rnd, 3); }},
    {"-fdp_rnd f", "-fdp_rnd f\n", [](const RunSettings& rs) { EXPECT_EQ(rs.fdp_rnd, 4); }},
    {"-simdbg", "-simdbg\n", [](const RunSettings& rs) { EXPECT_EQ(rs.simdbg, 1); }},
    {"-simdbgf fn", "-simdbgf fn\n", [](const RunSettings& rs) { EXPECT_EQ(rs.simdbgf, "fn"); }},
    {"-D A B", "-D A\n-D B\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.D, (Strings{"A", "B"}));
     }},
    {"-rnd_w 0", "-rnd_w 0\n", [](const RunSettings& rs) { EXPECT_EQ(rs.rnd_w, 0); }},
    {"-stdmath", "-stdmath\n", [](const RunSettings& rs) { EXPECT_EQ(rs.stdmath, 1); }},
    {"-s_mathtbl", "-s_mathtbl\n", [](const RunSettings& rs) { EXPECT_EQ(rs.s_mathtbl, 1); }},
    {"-n_mathtbl 256:16:90", "-n_mathtbl 256:16:90\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_mathtbl), table(2, 256, 16, 90)); }},
    {"-n_mathtbl off", "-n_mathtbl 0:0:0\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_mathtbl), table(1, 0, 0)); }},
    {"-n_costbl 64:8:360", "-n_costbl 64:8:360\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_costbl), table(2, 64, 8, 360)); }},
    {"-n_tantbl 256:16:90", "-n_tantbl 256:16\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_tantbl), table(2, 256, 16)); }},
    {"-n_acostbl 128:24", "-n_acostbl 128:24\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_acostbl), table(2, 128, 24)); }},
    {"-n_atantbl off", "-n_atantbl 512:8\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_atantbl), table(1, 512, 8)); },
     [](RunSettings& rs) {
       rs.n_atantbl = {2, 512, 8, 0};
     }},
    {"-n_atan2tbl 4096:32", "-n_atan2tbl 4096:32\n",
     [](const RunSettings& rs) { EXPECT_EQ(fields(rs.n_atan2tbl), table(2, 4096, 32)); }},
    {"-n_sqrttbl off", "-n_sqrttbl off\n", [](const RunSettings& rs) { EXPECT_EQ(rs.n_sqrttbl, 1); }},
    {"-n_sqrttbl 1", "-n_sqrttbl on\n", [](const RunSettings& rs) { EXPECT_EQ(rs.n_sqrttbl, 2); }},
    {"-n_sqrttbl 2", "-n_sqrttbl 2\n", [](const RunSettings& rs) { EXPECT_EQ(rs.n_sqrttbl, 3); }},
    {"-lp L", "-lp L\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.lp, (Strings{"cmd", "L"}));
     },
     [](RunSettings& rs) { rs.lp = {"cmd"}; }},
    {"-ip P Q", "-ip P\n-ip Q\n",
     [](const RunSettings& rs) {
       EXPECT_EQ(rs.ip, (Strings{"P", "Q"}));
     }},
    {"-avar_max_size -5", "-avar_max_size -5\n", [](const RunSettings& rs) { EXPECT_EQ(rs.avar_max_size, -5); }},
    {"-simdbg3", "-simdbg3\n", [](const RunSettings& rs) { EXPECT_EQ(rs.simdbg3, 1); }},
    {"-gwl", "-gwl\n", [](const RunSettings& rs) { EXPECT_EQ(rs.gwl, 1); }},
    {"-gm0", "-gm0\n", [](const RunSettings& rs) { EXPECT_EQ(rs.gm0, 1); }},
    {"-gm1", "-gm1\n", [](const RunSettings& rs) { EXPECT_EQ(rs.gm1, 1); }},
    {"-gm2", "-gm2\n", [](const RunSettings& rs) { EXPECT_EQ(rs.gm2, 1); }},
    {"-mev", "-mev\n", [](const RunSettings& rs) { EXPECT_EQ(rs.mev, 1); }, [](RunSettings& rs) { rs.mev = 0; }},
    {"-amdl\n-mev", "-mev\n-amdl\n", [](const RunSettings& rs) { EXPECT_EQ(rs.mev, 0); }},
    {"-f2fx", "-f2fx\n", [](const RunSettings& rs) { EXPECT_EQ(rs.f2fx, 1); }},
    {"-ghbit 16", "-ghbit 16\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ghbit, 16); }},
    {"-ghrate 0.25", "-ghrate 0.25\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ghrate, "0.25"); }},
    {"-lite_mode 2", "-ex_mode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ex_mode, 1); }},
    {"-ex_mode2", "", [](const RunSettings& rs) { EXPECT_EQ(rs.ex_mode, 2); }},
    {"-bx_mode", "-bx_mode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ex_mode, 2); }},
    {"-bx_mode2\n-simple_mode", "-ex_mode\n-bx_mode2\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ex_mode, 3); }},
    {"-bx_byte 8", "-bx_byte 8\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_byte, 8); }},
    {"-bx_short 16", "-bx_short 16\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_short, 16); }},
    {"-bx_int 32", "-bx_int 32\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_int, 32); }},
    {"-bx_longlong 64", "-bx_longlong 64\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_longlong, 64); }},
    {"-bx_accum 40", "-bx_accum 40\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_accum, 40); }},
    {"-bx_bits 8,16,32", "-bax_bits 8,16,32\n\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bx_bits, "8,16,32\n"); }},
    {"-grun_level 0", "-grun_level 0\n", [](const RunSettings& rs) { EXPECT_EQ(rs.grun_level, 0); }},
    {"-grun_float", "-grun_float\n", [](const RunSettings& rs) { EXPECT_EQ(rs.grun_float, 1); }},
    {"-Ec", "-Ec\n", [](const RunSettings& rs) { EXPECT_EQ(rs.Ec, 1); }},
    {"-En\n-Ec", "-Ec\n-En\n", [](const RunSettings& rs) { EXPECT_EQ(rs.Ec, 0); }},
    {"-float", "-float\n", [](const RunSettings& rs) { EXPECT_EQ(rs.float_, 1); }},
    {"-bsim_mode", "-bsim_mode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bsim_mode, 1); }},
    {"-nbsim_mode\n-bsim_mode", "-bsim_mode\n-nbsim_mode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.bsim_mode, 0); }},
    {"-dsp_tg", "-dsp_tg\n", [](const RunSettings& rs) { EXPECT_EQ(rs.dsp_tg, 1); }},
    {"-erep_o out", "-erep_o out\n", [](const RunSettings& rs) { EXPECT_EQ(rs.erep_o, "out"); }},
    {"-erep", "-erep\n", [](const RunSettings& rs) { EXPECT_EQ(rs.erep, 1); }},
    {"-erep\n-no_erep", "-no_erep\n", [](const RunSettings& rs) { EXPECT_EQ(rs.erep, 0); },
     [](RunSettings& rs) { rs.erep = 1; }},
    {"-g++ 4\n-ex_mode 1", "-ex_mode\n", [](const RunSettings& rs) { EXPECT_EQ(rs.ex_mode, 1); }},
};

TEST(ApplyConstraintOptions, EveryStepWritesItsSettingAndEchoes) {
  for (const Step& step : kSteps) {
    Applied applied = apply(step.lines, step.before);
    EXPECT_EQ(applied.echo, step.echo) << step.lines;
    SCOPED_TRACE(step.lines);
    step.check(applied.rs);
  }
}

TEST(ApplyConstraintOptions, NothingGivenChangesNothing) {
  Applied applied = apply("");
  EXPECT_EQ(applied.echo, "");
  RunSettings defaults;
  EXPECT_EQ(applied.rs.max, defaults.max);
  EXPECT_EQ(applied.rs.grun_level, -1);
  EXPECT_EQ(applied.rs.p, "result_");
  EXPECT_EQ(applied.rs.mev, 1);
}

// Every step at once: the echo follows the table, not the file.
TEST(ApplyConstraintOptions, StepsRunInTheirFixedOrder) {
  Applied applied = apply(
      "-erep_o eo\n-erep\n-dsp_tg\n-nbsim_mode\n-bsim_mode\n-float\n-En\n-Ec\n-grun_float\n-grun_level 1\n"
      "-bx_bits 1,2\n-bx_accum 5\n-bx_longlong 4\n-bx_int 3\n-bx_short 2\n-bx_byte 1\n-bx_mode\n-ex_mode\n"
      "-ghrate gr\n-ghbit 4\n-f2fx\n-amdl\n-mev\n-gm2\n-gm1\n-gm0\n-gwl\n-simdbg3\n-avar_max_size 7\n-ip I\n-lp L\n"
      "-n_sqrttbl on\n-n_atan2tbl 64:8\n-n_atantbl 64:16\n-n_acostbl 64:24\n-n_tantbl 64:32\n"
      "-n_costbl 128:8:90\n-n_mathtbl 128:16:180\n-s_mathtbl\n-stdmath\n-rnd_w 3\n-D d\n-simdbgf sf\n-simdbg\n"
      "-fdp_rnd c\n-fdp m\n-div_func\n-mul_dword\n-mul_func\n-sim_nmleft\n-simmode\n-nfloat_store\n-O1\n-ovf s\n"
      "-rnd e\n-erate 1\n-p_cvar pc\n-p_tvar pt\n-p pp\n-maxt 9d\n-max 8\n-g++ 3\n");
  EXPECT_EQ(applied.echo,
            "-max 8\n-maxt xxd\n-maxt 9d\n-p pp\n-p_tvar pt\n-p_cvar pc\n-erate 1\n-rnd e\n-ovf s\n-O1\n"
            "-nfloat_store\n-simmode\n-sim_nmleft\n-mul_func\n-mul_dword\n-div_func\n-fdp m\n-fdp_rnd c\n-simdbg\n"
            "-simdbgf sf\n-D d\n-rnd_w 3\n-stdmath\n-s_mathtbl\n-n_mathtbl 128:16:180\n-n_costbl 128:8:90\n"
            "-n_tantbl 64:32\n-n_acostbl 64:24\n-n_atantbl 64:16\n-n_atan2tbl 64:8\n-n_sqrttbl on\n-lp L\n-ip I\n"
            "-avar_max_size 7\n-simdbg3\n-gwl\n-gm0\n-gm1\n-gm2\n-mev\n-amdl\n-f2fx\n-ghbit 4\n-ghrate gr\n"
            "-ex_mode\n-bx_mode\n-bx_byte 1\n-bx_short 2\n-bx_int 3\n-bx_longlong 4\n-bx_accum 5\n-bax_bits 1,2\n\n"
            "-grun_level 1\n-grun_float\n-Ec\n-En\n-float\n-bsim_mode\n-nbsim_mode\n-dsp_tg\n-erep_o eo\n-erep\n");
}

TEST(ApplyConstraintOptions, ListEntriesComeBeforeLaterAppends) {
  Applied applied = apply("-D X=1\n-ip inc");
  appendDefinition(applied.rs, "Y");
  appendIncludePath(applied.rs, "cmd");
  EXPECT_EQ(applied.rs.D, (Strings{"X=1", "Y"}));
  EXPECT_EQ(applied.rs.ip, (Strings{"inc", "cmd"}));
}

TEST(ApplyConstraintOptions, AMaxtFromTheFileIsKeptAgainstALaterMax) {
  Applied applied = apply("-maxt 16d");
  parseCommandLine(applied.rs, {"talvo_s", "-max", "40"});
  EXPECT_EQ(applied.rs.max, 40);
  EXPECT_EQ(applied.rs.maxt, 16);
  EXPECT_EQ(applied.rs.maxtSuffix, 100);
}

}  // namespace

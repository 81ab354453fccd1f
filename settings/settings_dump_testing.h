// For tests: every field of a RunSettings as "name=value" lines, so two
// records can be compared whole and a difference shows the field by name.
#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "settings/run_settings.h"

namespace settings_testing {

inline std::string show(bool value) { return value ? "true" : "false"; }
inline std::string show(int32_t value) { return std::to_string(value); }
inline std::string show(const std::string& value) { return "'" + value + "'"; }
inline std::string show(const std::optional<std::string>& value) { return value ? show(*value) : "absent"; }
inline std::string show(const std::vector<std::string>& values) {
  std::string text = "[";
  for (const std::string& value : values) {
    text += show(value) + ",";
  }
  return text + "]";
}
inline std::string show(const TableSetting& table) {
  return show(table.mode) + "/" + show(table.size) + "/" + show(table.bits) + "/" + show(table.angle);
}

inline std::string dump(const RunSettings& rs) {
  std::ostringstream out;
#define TALVO_DUMP(field) out << #field "=" << show(rs.field) << '\n'
  TALVO_DUMP(help);
  TALVO_DUMP(version);
  TALVO_DUMP(errorCount);
  TALVO_DUMP(warningCount);
  TALVO_DUMP(traceCommands);
  TALVO_DUMP(instanceDump);
  TALVO_DUMP(ctf);
  TALVO_DUMP(inputFiles);
  TALVO_DUMP(D);
  TALVO_DUMP(ip);
  TALVO_DUMP(lp);
  TALVO_DUMP(ansic);
  TALVO_DUMP(all_ansic);
  TALVO_DUMP(algoc);
  TALVO_DUMP(all_algoc);
  TALVO_DUMP(dsp);
  TALVO_DUMP(all_dsp);
  TALVO_DUMP(systemc);
  TALVO_DUMP(all_systemc);
  TALVO_DUMP(dspOutput);
  TALVO_DUMP(s);
  TALVO_DUMP(v);
  TALVO_DUMP(i);
  TALVO_DUMP(a);
  TALVO_DUMP(g);
  TALVO_DUMP(na);
  TALVO_DUMP(max);
  TALVO_DUMP(maxt);
  TALVO_DUMP(maxtSuffix);
  TALVO_DUMP(maxtGiven);
  TALVO_DUMP(rnd);
  TALVO_DUMP(ovf);
  TALVO_DUMP(rnd_w);
  TALVO_DUMP(O);
  TALVO_DUMP(ffloat_store);
  TALVO_DUMP(mul_func);
  TALVO_DUMP(div_func);
  TALVO_DUMP(fdp);
  TALVO_DUMP(fdp_rnd);
  TALVO_DUMP(stdmath);
  TALVO_DUMP(s_mathtbl);
  TALVO_DUMP(n_mathtbl);
  TALVO_DUMP(n_costbl);
  TALVO_DUMP(n_tantbl);
  TALVO_DUMP(n_acostbl);
  TALVO_DUMP(n_atantbl);
  TALVO_DUMP(n_atan2tbl);
  TALVO_DUMP(n_sqrttbl);
  TALVO_DUMP(simmode);
  TALVO_DUMP(sim_nmleft);
  TALVO_DUMP(simdbg);
  TALVO_DUMP(simdbg3);
  TALVO_DUMP(simdbgf);
  TALVO_DUMP(avar_max_size);
  TALVO_DUMP(gwl);
  TALVO_DUMP(gm0);
  TALVO_DUMP(gm1);
  TALVO_DUMP(gm2);
  TALVO_DUMP(mev);
  TALVO_DUMP(Ec);
  TALVO_DUMP(float_);
  TALVO_DUMP(f2fx);
  TALVO_DUMP(ghbit);
  TALVO_DUMP(ghrate);
  TALVO_DUMP(ex_mode);
  TALVO_DUMP(bx_byte);
  TALVO_DUMP(bx_short);
  TALVO_DUMP(bx_int);
  TALVO_DUMP(bx_longlong);
  TALVO_DUMP(bx_accum);
  TALVO_DUMP(bx_bits);
  TALVO_DUMP(grun_level);
  TALVO_DUMP(grun_float);
  TALVO_DUMP(bsim_mode);
  TALVO_DUMP(dsp_tg);
  TALVO_DUMP(dsp_nogrp);
  TALVO_DUMP(s_nopv);
  TALVO_DUMP(p);
  TALVO_DUMP(p_tvar);
  TALVO_DUMP(p_cvar);
  TALVO_DUMP(run);
  TALVO_DUMP(arg);
  TALVO_DUMP(erate);
  TALVO_DUMP(erep_o);
  TALVO_DUMP(erep);
  TALVO_DUMP(tvfdat);
  TALVO_DUMP(a_stack);
  TALVO_DUMP(i_stack);
  TALVO_DUMP(g_stack);
  TALVO_DUMP(stack_check);
#undef TALVO_DUMP
  return out.str();
}

}  // namespace settings_testing

// What the constraint file reader keeps for the rest of the run: the reading
// mode and reader state, the option values of the option section and the
// directives of the directive section.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <optional>
#include <string>
#include <vector>

/// One option of the option section as the file left it. `given` is 1 once a
/// line recorded something; `value` is a number or the code of a keyword;
/// `text` (empty: none) and `list` are what the line said.
struct ConstraintOptionEntry {
  int32_t given = 0;
  int32_t value = 0;
  std::string text{};
  std::vector<std::string> list{};

  bool operator==(const ConstraintOptionEntry&) const = default;
};

/// One entry per option keyword; keywords that share an entry ("-O2" and "-o0"
/// write `O`, "-simple_mode" and "-ex_mode2" write `ex_mode`, "-bx_mode2"
/// writes `bx_mode`, "-no_erep" writes `erep`) are listed in the option table.
struct ConstraintOptions {
  ConstraintOptionEntry max, maxt, p, p_tvar, p_cvar, rnd, ovf, O;
  ConstraintOptionEntry nfloat_store, simmode, sim_nmleft, mul_func, mul_dword, fdp, fdp_rnd, div_func;
  ConstraintOptionEntry simdbg, simdbgf, D, rnd_w, stdmath, s_mathtbl;
  ConstraintOptionEntry n_mathtbl, n_costbl, n_tantbl, n_acostbl, n_atantbl, n_atan2tbl, n_sqrttbl;
  ConstraintOptionEntry lp, ip, avar_max_size, simdbg3, erate, gpp /* "-g++" */;
  ConstraintOptionEntry gwl, gm0, gm1, gm2, mev, amdl, ex_mode, bx_mode;
  ConstraintOptionEntry bx_byte, bx_short, bx_int, bx_longlong, bx_accum, bx_bits, grun_level, grun_float;
  ConstraintOptionEntry f2fx, ghbit, ghrate, Ec, En, float_ /* "-float" */, bsim_mode, nbsim_mode, dsp_tg;
  ConstraintOptionEntry erep, erep_o;

  bool operator==(const ConstraintOptions&) const = default;
};

/// Names one entry of the record.
using OptionEntry = ConstraintOptionEntry ConstraintOptions::*;

/// The 13 directive keywords, in the order of the directive table; each has a list.
enum class DirectiveKind : std::size_t {
  module,
  evFunc,
  roll,
  unmodule,
  unroll,
  fixedP,
  int_,
  input,
  output,
  inout,
  scale,
  float_,
  muladd_var,
};
inline constexpr std::size_t kDirectiveKinds = 13;

/// One accepted directive. `varName` is absent for directives without a
/// variable, `option` for those without a last field; `line` is the reader's
/// line number when the directive was read (its last physical line).
struct DirectiveRecord {
  std::string fileName;
  std::string funcName;
  std::optional<std::string> varName;
  std::optional<std::string> option;
  int32_t line = 0;

  bool operator==(const DirectiveRecord&) const = default;
};

/// The keyword table in which the reader looks keywords up.
enum class KeywordTableId { section, option, directive };

struct ConstraintStore {
  // Reading mode: with a switch at 0 the handlers of that section accept every
  // line without looking at it.
  int directivesEnabled = 1;
  int optionsEnabled = 1;

  // Reader state.
  KeywordTableId currentTable = KeywordTableId::section;
  int32_t lineNumber = 0;            // line feeds read so far in the current read
  const char* constraintUsage = "";  // usage text of the last rejected line

  ConstraintOptions constraintOptions;
  /// One list per directive keyword, newest first.
  std::array<std::forward_list<DirectiveRecord>, kDirectiveKinds> directives;
};

/// The list of one directive keyword.
inline std::forward_list<DirectiveRecord>& directiveList(ConstraintStore& store, DirectiveKind kind) {
  return store.directives[static_cast<std::size_t>(kind)];
}
inline const std::forward_list<DirectiveRecord>& directiveList(const ConstraintStore& store, DirectiveKind kind) {
  return store.directives[static_cast<std::size_t>(kind)];
}

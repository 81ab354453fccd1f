// Applying the option section: every entry the file gave is copied into the
// run settings in one fixed order, each with an echo line in command-line form.
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "constraint/constraint.h"
#include "settings/keyword_codes.h"
#include "settings/table_spec.h"

namespace {

using O = ConstraintOptions;
using R = RunSettings;

// What a step does with a given entry; `echo` is a printf format of the
// arguments the kind names.

/// The setting takes the entry's value; echo the value.
struct Copy {
  int32_t R::*setting;
};

/// The setting takes a constant; a fixed echo.
struct Constant {
  int32_t R::*setting;
  int32_t value;
};

/// The setting takes the entry's value, a code of `codes`; echo the code's
/// keyword, nothing when it has none.
struct Code {
  int32_t R::*setting;
  std::span<const KeywordCode> codes;
};

/// The setting takes the entry's text; echo the text.
struct CopyText {
  std::variant<std::string R::*, std::optional<std::string> R::*> setting;
};

/// Each text of the list appended in file order; echo each right after.
struct Append {
  void (*append)(RunSettings&, std::string_view);
};

/// The text parsed into the table setting; echo its size, bits and (withAngle) angle.
struct ParseTable {
  TableSetting R::*setting;
  bool withAngle;
};

/// "-maxt": its suffix 'd' noted (and echoed) before the value.
struct Maxt {};

struct ApplyStep {
  OptionEntry entry;
  std::variant<Copy, Constant, Code, CopyText, Append, ParseTable, Maxt> kind;
  const char* echo = nullptr;
};

void apply(const Copy& copy, const ConstraintOptionEntry& entry, RunSettings& rs, const char* echo) {
  rs.*copy.setting = entry.value;
  std::printf(echo, entry.value);
}

void apply(const Constant& constant, const ConstraintOptionEntry& /*entry*/, RunSettings& rs, const char* echo) {
  rs.*constant.setting = constant.value;
  std::fputs(echo, stdout);
}

void apply(const Code& code, const ConstraintOptionEntry& entry, RunSettings& rs, const char* echo) {
  rs.*code.setting = entry.value;
  for (const KeywordCode& known : code.codes) {
    if (known.code == entry.value) {
      std::printf(echo, std::string(known.keyword).c_str());
      return;
    }
  }
}

void apply(const CopyText& text, const ConstraintOptionEntry& entry, RunSettings& rs, const char* echo) {
  std::visit([&](auto setting) { rs.*setting = entry.text; }, text.setting);
  std::printf(echo, entry.text.c_str());
}

void apply(const Append& list, const ConstraintOptionEntry& entry, RunSettings& rs, const char* echo) {
  for (const std::string& text : entry.list) {
    list.append(rs, text);
    std::printf(echo, text.c_str());
  }
}

void apply(const ParseTable& table, const ConstraintOptionEntry& entry, RunSettings& rs, const char* echo) {
  TableSetting& setting = rs.*table.setting;
  if (parseTableSpec(entry.text.c_str(), setting.mode, setting.size, setting.bits,
                     table.withAngle ? &setting.angle : nullptr) != 0) {
    return;
  }
  if (table.withAngle) {
    std::printf(echo, setting.size, setting.bits, setting.angle);
  } else {
    std::printf(echo, setting.size, setting.bits);
  }
}

void apply(const Maxt& /*maxt*/, const ConstraintOptionEntry& entry, RunSettings& rs, const char* /*echo*/) {
  if (!entry.text.empty()) {
    rs.maxtSuffix = static_cast<unsigned char>(entry.text.front());
    std::fputs("-maxt xxd\n", stdout);
  }
  rs.maxtGiven = 1;
  rs.maxt = entry.value;
  if (rs.maxtSuffix != 0) {
    std::printf("-maxt %d%c\n", entry.value, static_cast<char>(rs.maxtSuffix));
  } else {
    std::printf("-maxt %d\n", entry.value);
  }
}

constexpr KeywordCode kExModes[] = {{"-ex_mode", 1}};  // 2, from "-ex_mode2", is not echoed
constexpr KeywordCode kBxModes[] = {{"-bx_mode", 2}, {"-bx_mode2", 3}};
constexpr KeywordCode kErepModes[] = {{"-erep", 1}, {"-no_erep", 0}};

// The steps in their fixed order, whatever the order of the file.
// clang-format off
constexpr ApplyStep kApplySteps[] = {
  {&O::max,           Copy{&R::max}, "-max %d\n"},
  {&O::maxt,          Maxt{}},
  {&O::p,             CopyText{&R::p}, "-p %s\n"},
  {&O::p_tvar,        CopyText{&R::p_tvar}, "-p_tvar %s\n"},
  {&O::p_cvar,        CopyText{&R::p_cvar}, "-p_cvar %s\n"},
  {&O::erate,         CopyText{&R::erate}, "-erate %s\n"},
  {&O::rnd,           Code{&R::rnd, kRoundingModes}, "-rnd %s\n"},
  {&O::ovf,           Code{&R::ovf, kOverflowModes}, "-ovf %s\n"},
  {&O::O,             Copy{&R::O}, "-O%d\n"},
  {&O::nfloat_store,  Constant{&R::ffloat_store, 0}, "-nfloat_store\n"},
  {&O::simmode,       Constant{&R::simmode, 1}, "-simmode\n"},
  {&O::sim_nmleft,    Constant{&R::sim_nmleft, 1}, "-sim_nmleft\n"},
  {&O::mul_func,      Constant{&R::mul_func, 1}, "-mul_func\n"},
  {&O::mul_dword,     Constant{&R::mul_func, 2}, "-mul_dword\n"},
  {&O::div_func,      Constant{&R::div_func, 1}, "-div_func\n"},
  {&O::fdp,           Code{&R::fdp, kFdpModes}, "-fdp %s\n"},
  {&O::fdp_rnd,       Code{&R::fdp_rnd, kRoundingModes}, "-fdp_rnd %s\n"},
  {&O::simdbg,        Constant{&R::simdbg, 1}, "-simdbg\n"},
  {&O::simdbgf,       CopyText{&R::simdbgf}, "-simdbgf %s\n"},
  {&O::D,             Append{appendDefinition}, "-D %s\n"},
  {&O::rnd_w,         Copy{&R::rnd_w}, "-rnd_w %d\n"},
  {&O::stdmath,       Constant{&R::stdmath, 1}, "-stdmath\n"},
  {&O::s_mathtbl,     Constant{&R::s_mathtbl, 1}, "-s_mathtbl\n"},
  {&O::n_mathtbl,     ParseTable{&R::n_mathtbl, true}, "-n_mathtbl %d:%d:%d\n"},
  {&O::n_costbl,      ParseTable{&R::n_costbl, true}, "-n_costbl %d:%d:%d\n"},
  {&O::n_tantbl,      ParseTable{&R::n_tantbl, false}, "-n_tantbl %d:%d\n"},
  {&O::n_acostbl,     ParseTable{&R::n_acostbl, false}, "-n_acostbl %d:%d\n"},
  {&O::n_atantbl,     ParseTable{&R::n_atantbl, false}, "-n_atantbl %d:%d\n"},
  {&O::n_atan2tbl,    ParseTable{&R::n_atan2tbl, false}, "-n_atan2tbl %d:%d\n"},
  {&O::n_sqrttbl,     Code{&R::n_sqrttbl, kSqrtTableModes}, "-n_sqrttbl %s\n"},
  {&O::lp,            Append{appendLibraryPath}, "-lp %s\n"},
  {&O::ip,            Append{appendIncludePath}, "-ip %s\n"},
  {&O::avar_max_size, Copy{&R::avar_max_size}, "-avar_max_size %d\n"},
  {&O::simdbg3,       Constant{&R::simdbg3, 1}, "-simdbg3\n"},
  {&O::gwl,           Constant{&R::gwl, 1}, "-gwl\n"},
  {&O::gm0,           Constant{&R::gm0, 1}, "-gm0\n"},
  {&O::gm1,           Constant{&R::gm1, 1}, "-gm1\n"},
  {&O::gm2,           Constant{&R::gm2, 1}, "-gm2\n"},
  {&O::mev,           Constant{&R::mev, 1}, "-mev\n"},
  {&O::amdl,          Constant{&R::mev, 0}, "-amdl\n"},
  {&O::f2fx,          Constant{&R::f2fx, 1}, "-f2fx\n"},
  {&O::ghbit,         Copy{&R::ghbit}, "-ghbit %d\n"},
  {&O::ghrate,        CopyText{&R::ghrate}, "-ghrate %s\n"},
  {&O::ex_mode,       Code{&R::ex_mode, kExModes}, "%s\n"},
  {&O::bx_mode,       Code{&R::ex_mode, kBxModes}, "%s\n"},
  {&O::bx_byte,       Copy{&R::bx_byte}, "-bx_byte %d\n"},
  {&O::bx_short,      Copy{&R::bx_short}, "-bx_short %d\n"},
  {&O::bx_int,        Copy{&R::bx_int}, "-bx_int %d\n"},
  {&O::bx_longlong,   Copy{&R::bx_longlong}, "-bx_longlong %d\n"},
  {&O::bx_accum,      Copy{&R::bx_accum}, "-bx_accum %d\n"},
  {&O::bx_bits,       CopyText{&R::bx_bits}, "-bax_bits %s\n"},
  {&O::grun_level,    Copy{&R::grun_level}, "-grun_level %d\n"},
  {&O::grun_float,    Constant{&R::grun_float, 1}, "-grun_float\n"},
  {&O::Ec,            Constant{&R::Ec, 1}, "-Ec\n"},
  {&O::En,            Constant{&R::Ec, 0}, "-En\n"},
  {&O::float_,        Constant{&R::float_, 1}, "-float\n"},
  {&O::bsim_mode,     Constant{&R::bsim_mode, 1}, "-bsim_mode\n"},
  {&O::nbsim_mode,    Constant{&R::bsim_mode, 0}, "-nbsim_mode\n"},
  {&O::dsp_tg,        Constant{&R::dsp_tg, 1}, "-dsp_tg\n"},
  {&O::erep_o,        CopyText{&R::erep_o}, "-erep_o %s\n"},
  {&O::erep,          Code{&R::erep, kErepModes}, "%s\n"},
};
// clang-format on

}  // namespace

void applyConstraintOptions(const ConstraintStore& store, RunSettings& rs) {
  for (const ApplyStep& step : kApplySteps) {
    const ConstraintOptionEntry& entry = store.constraintOptions.*step.entry;
    if (entry.given == 1) {
      std::visit([&](const auto& kind) { apply(kind, entry, rs, step.echo); }, step.kind);
    }
  }
}

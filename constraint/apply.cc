// Applying the option section: every entry the file gave is copied into the
// run settings in one fixed order, each with an echo line in command-line form.
#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "constraint/constraint.h"
#include "constraint/options.h"
#include "settings/table_spec.h"

namespace {

struct ApplyStep;
using ApplyHandler = void (*)(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs);

/// A value an entry may hold, the value its setting then takes, and the echo
/// line (null: none).
struct Case {
  int32_t code;
  int32_t setting;
  const char* echo;
};

/// One step: the entry read, how it applies, the echo (a printf format where
/// the step prints a value) and the setting written.
struct ApplyStep {
  OptionEntry entry = nullptr;
  ApplyHandler apply = nullptr;
  const char* echo = nullptr;
  int32_t RunSettings::*number = nullptr;
  int32_t constant = 0;
  std::optional<std::string> RunSettings::*text = nullptr;
  TableSetting RunSettings::*table = nullptr;
  void (*append)(RunSettings&, std::string_view) = nullptr;
  std::span<const Case> cases{};
};

// An echo text without a line end is printed with one.
void echoLine(const char* text) {
  std::fputs(text, stdout);
  if (!std::string_view(text).ends_with('\n')) {
    std::fputc('\n', stdout);
  }
}

// given: the setting takes the entry's value; echo "-x %d".
void applyValue(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  int32_t value = 0;
  if (readGivenValue(entry, value) == 1) {
    rs.*step.number = value;
    std::printf(step.echo, value);
  }
}

// given: the setting takes the step's constant; a fixed echo.
void applyConstant(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  int32_t value = 0;
  if (readGivenValue(entry, value) == 1) {
    rs.*step.number = step.constant;
    echoLine(step.echo);
  }
}

void applyCase(const ApplyStep& step, int32_t value, RunSettings& rs) {
  for (const Case& known : step.cases) {
    if (known.code == value) {
      rs.*step.number = known.setting;
      if (known.echo != nullptr) {
        echoLine(known.echo);
      }
      return;
    }
  }
}

// given with one of the step's values: that value's setting and echo.
void applyGivenCase(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  int32_t value = 0;
  if (readGivenValue(entry, value) == 1) {
    applyCase(step, value, rs);
  }
}

// A character code ("-rnd", "-ovf"): the same, read through the code accessor.
void applyCode(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  applyCase(step, readCode(entry), rs);
}

// text present: the setting refers to the text; echo "-x %s".
void applyText(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  if (const std::string* text = readText(entry)) {
    rs.*step.text = *text;
    std::printf(step.echo, text->c_str());
  }
}

// "-p" keeps a copy of its own.
void applyPrefix(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  if (const std::string* text = readText(entry)) {
    rs.p = *text;
    std::printf(step.echo, text->c_str());
  }
}

// list present: each text appended in file order, echoed right after.
void applyList(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  if (const std::vector<std::string>* list = readList(entry)) {
    for (const std::string& text : *list) {
      step.append(rs, text);
      std::printf(step.echo, text.c_str());
    }
  }
}

void applyTableWithAngle(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  if (const std::string* text = readText(entry)) {
    TableSetting& table = rs.*step.table;
    if (parseTableSpec(text->c_str(), table.mode, table.size, table.bits, &table.angle) == 0) {
      std::printf(step.echo, table.size, table.bits, table.angle);
    }
  }
}

void applyTableWithoutAngle(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  if (const std::string* text = readText(entry)) {
    TableSetting& table = rs.*step.table;
    if (parseTableSpec(text->c_str(), table.mode, table.size, table.bits, nullptr) == 0) {
      std::printf(step.echo, table.size, table.bits);
    }
  }
}

// "-maxt" with its suffix 'd': the suffix is noted before the value is echoed.
void applyMaxtSuffix(const ApplyStep& step, const ConstraintOptionEntry& entry, RunSettings& rs) {
  int32_t suffix = 0;
  int32_t value = 0;
  if (readGivenValue(entry, value) == 1 && readSuffix(entry, suffix) == 1) {
    rs.maxtSuffix = suffix;
    echoLine(step.echo);
  }
}

void applyMaxt(const ApplyStep& /*step*/, const ConstraintOptionEntry& entry, RunSettings& rs) {
  int32_t value = 0;
  if (readGivenValue(entry, value) == 1) {
    rs.maxtGiven = 1;
    rs.maxt = value;
    if (rs.maxtSuffix != 0) {
      std::printf("-maxt %d%c\n", value, static_cast<char>(rs.maxtSuffix));
    } else {
      std::printf("-maxt %d\n", value);
    }
  }
}

constexpr std::array kRnd{Case{'t', 1, "-rnd t"}, Case{'r', 0, "-rnd r"}, Case{'e', 2, "-rnd e"}};
constexpr std::array kOvf{Case{'i', 1, "-ovf i"}, Case{'s', 0, "-ovf s"}};
constexpr std::array kFdp{Case{'y', 1, "-fdp y"}, Case{'Y', 1, "-fdp y"}, Case{'n', 0, "-fdp n"},
                          Case{'N', 0, "-fdp n"}, Case{'m', 2, "-fdp m"}, Case{'M', 2, "-fdp m"}};
constexpr std::array kFdpRnd{Case{'t', 1, "-fdp_rnd t"}, Case{'r', 0, "-fdp_rnd r"}, Case{'e', 2, "-fdp_rnd e"},
                             Case{'c', 3, "-fdp_rnd c"}, Case{'f', 4, "-fdp_rnd f"}};
constexpr std::array kSqrt{Case{0, 1, "-n_sqrttbl off"}, Case{1, 2, "-n_sqrttbl on"}, Case{2, 3, "-n_sqrttbl 2"}};
constexpr std::array kExMode{Case{1, 1, "-ex_mode"}, Case{2, 2, nullptr}};
constexpr std::array kBxMode{Case{0, 2, "-bx_mode"}, Case{1, 3, "-bx_mode2"}};
constexpr std::array kErep{Case{1, 1, "-erep"}, Case{0, 0, "-no_erep"}};

using O = ConstraintOptions;
using R = RunSettings;

constexpr ApplyStep value(OptionEntry entry, int32_t R::*number, const char* echo) {
  return {.entry = entry, .apply = applyValue, .echo = echo, .number = number};
}
constexpr ApplyStep constant(OptionEntry entry, int32_t R::*number, int32_t setting, const char* echo) {
  return {.entry = entry, .apply = applyConstant, .echo = echo, .number = number, .constant = setting};
}
constexpr ApplyStep cases(OptionEntry entry, int32_t R::*number, std::span<const Case> known) {
  return {.entry = entry, .apply = applyGivenCase, .number = number, .cases = known};
}
constexpr ApplyStep code(OptionEntry entry, int32_t R::*number, std::span<const Case> known) {
  return {.entry = entry, .apply = applyCode, .number = number, .cases = known};
}
constexpr ApplyStep text(OptionEntry entry, std::optional<std::string> R::*setting, const char* echo) {
  return {.entry = entry, .apply = applyText, .echo = echo, .text = setting};
}
constexpr ApplyStep list(OptionEntry entry, void (*append)(RunSettings&, std::string_view), const char* echo) {
  return {.entry = entry, .apply = applyList, .echo = echo, .append = append};
}
constexpr ApplyStep table(OptionEntry entry, TableSetting R::*setting, ApplyHandler parse, const char* echo) {
  return {.entry = entry, .apply = parse, .echo = echo, .table = setting};
}

// The 62 steps in their fixed order, whatever the order of the file.
constexpr std::array<ApplyStep, 62> kApplySteps{
    /* 1 */ value(&O::max, &R::max, "-max %d\n"),
    /* 2 */ ApplyStep{.entry = &O::maxt, .apply = applyMaxtSuffix, .echo = "-maxt xxd"},
    /* 3 */ ApplyStep{.entry = &O::maxt, .apply = applyMaxt},
    /* 4 */ ApplyStep{.entry = &O::p, .apply = applyPrefix, .echo = "-p %s\n"},
    /* 5 */ text(&O::p_tvar, &R::p_tvar, "-p_tvar %s\n"),
    /* 6 */ text(&O::p_cvar, &R::p_cvar, "-p_cvar %s\n"),
    /* 7 */ text(&O::erate, &R::erate, "-erate %s\n"),
    /* 8 */ code(&O::rnd, &R::rnd, kRnd),
    /* 9 */ code(&O::ovf, &R::ovf, kOvf),
    /* 10 */ value(&O::O, &R::O, "-O%d\n"),
    /* 11 */ constant(&O::nfloat_store, &R::ffloat_store, 0, "-nfloat_store"),
    /* 12 */ constant(&O::simmode, &R::simmode, 1, "-simmode"),
    /* 13 */ constant(&O::sim_nmleft, &R::sim_nmleft, 1, "-sim_nmleft"),
    /* 14 */ constant(&O::mul_func, &R::mul_func, 1, "-mul_func"),
    /* 15 */ constant(&O::mul_dword, &R::mul_func, 2, "-mul_dword"),
    /* 16 */ constant(&O::div_func, &R::div_func, 1, "-div_func"),
    /* 17 */ cases(&O::fdp, &R::fdp, kFdp),
    /* 18 */ cases(&O::fdp_rnd, &R::fdp_rnd, kFdpRnd),
    /* 19 */ constant(&O::simdbg, &R::simdbg, 1, "-simdbg"),
    /* 20 */ text(&O::simdbgf, &R::simdbgf, "-simdbgf %s\n"),
    /* 21 */ list(&O::D, appendDefinition, "-D %s\n"),
    /* 22 */ value(&O::rnd_w, &R::rnd_w, "-rnd_w %d\n"),
    /* 23 */ constant(&O::stdmath, &R::stdmath, 1, "-stdmath"),
    /* 24 */ constant(&O::s_mathtbl, &R::s_mathtbl, 1, "-s_mathtbl"),
    /* 25 */ table(&O::n_mathtbl, &R::n_mathtbl, applyTableWithAngle, "-n_mathtbl %d:%d:%d\n"),
    /* 26 */ table(&O::n_costbl, &R::n_costbl, applyTableWithAngle, "-n_costbl %d:%d:%d\n"),
    /* 27 */ table(&O::n_tantbl, &R::n_tantbl, applyTableWithoutAngle, "-n_tantbl %d:%d\n"),
    /* 28 */ table(&O::n_acostbl, &R::n_acostbl, applyTableWithoutAngle, "-n_acostbl %d:%d\n"),
    /* 29 */ table(&O::n_atantbl, &R::n_atantbl, applyTableWithoutAngle, "-n_atantbl %d:%d\n"),
    /* 30 */ table(&O::n_atan2tbl, &R::n_atan2tbl, applyTableWithoutAngle, "-n_atan2tbl %d:%d\n"),
    /* 31 */ cases(&O::n_sqrttbl, &R::n_sqrttbl, kSqrt),
    /* 32 */ list(&O::lp, appendLibraryPath, "-lp %s\n"),
    /* 33 */ list(&O::ip, appendIncludePath, "-ip %s\n"),
    /* 34 */ value(&O::avar_max_size, &R::avar_max_size, "-avar_max_size %d\n"),
    /* 35 */ constant(&O::simdbg3, &R::simdbg3, 1, "-simdbg3"),
    /* 36 */ constant(&O::gwl, &R::gwl, 1, "-gwl"),
    /* 37 */ constant(&O::gm0, &R::gm0, 1, "-gm0"),
    /* 38 */ constant(&O::gm1, &R::gm1, 1, "-gm1"),
    /* 39 */ constant(&O::gm2, &R::gm2, 1, "-gm2"),
    /* 40 */ constant(&O::mev, &R::mev, 1, "-mev"),
    /* 41 */ constant(&O::amdl, &R::mev, 0, "-amdl"),
    /* 42 */ constant(&O::f2fx, &R::f2fx, 1, "-f2fx"),
    /* 43 */ value(&O::ghbit, &R::ghbit, "-ghbit %d\n"),
    /* 44 */ text(&O::ghrate, &R::ghrate, "-ghrate %s\n"),
    /* 45 */ cases(&O::ex_mode, &R::ex_mode, kExMode),
    /* 46 */ cases(&O::bx_mode, &R::ex_mode, kBxMode),
    /* 47 */ value(&O::bx_byte, &R::bx_byte, "-bx_byte %d\n"),
    /* 48 */ value(&O::bx_short, &R::bx_short, "-bx_short %d\n"),
    /* 49 */ value(&O::bx_int, &R::bx_int, "-bx_int %d\n"),
    /* 50 */ value(&O::bx_longlong, &R::bx_longlong, "-bx_longlong %d\n"),
    /* 51 */ value(&O::bx_accum, &R::bx_accum, "-bx_accum %d\n"),
    /* 52 */ text(&O::bx_bits, &R::bx_bits, "-bax_bits %s\n"),
    /* 53 */ value(&O::grun_level, &R::grun_level, "-grun_level %d\n"),
    /* 54 */ constant(&O::grun_float, &R::grun_float, 1, "-grun_float"),
    /* 55 */ constant(&O::Ec, &R::Ec, 1, "-Ec"),
    /* 56 */ constant(&O::En, &R::Ec, 0, "-En"),
    /* 57 */ constant(&O::float_, &R::float_, 1, "-float"),
    /* 58 */ constant(&O::bsim_mode, &R::bsim_mode, 1, "-bsim_mode"),
    /* 59 */ constant(&O::nbsim_mode, &R::bsim_mode, 0, "-nbsim_mode"),
    /* 60 */ constant(&O::dsp_tg, &R::dsp_tg, 1, "-dsp_tg"),
    /* 61 */ text(&O::erep_o, &R::erep_o, "-erep_o %s\n"),
    /* 62 */ cases(&O::erep, &R::erep, kErep),
};

}  // namespace

void applyConstraintOptions(const ConstraintStore& store, RunSettings& rs) {
  for (const ApplyStep& step : kApplySteps) {
    step.apply(step, store.constraintOptions.*step.entry, rs);
  }
}

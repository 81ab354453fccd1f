// Every command-line option, one row each. The walk (command_line.cc) does
// what a row's kind says; the few hand-written options are in
// option_handlers.cc.
#include "settings/option_table.h"

#include "settings/option_handlers.h"

namespace {

using RS = RunSettings;

constexpr KeywordMatch kWhole = KeywordMatch::kWholeValue;
constexpr KeywordMatch kFirst = KeywordMatch::kFirstCharacter;
constexpr OnMissing kEnd = OnMissing::kEnd;
constexpr OnMissing kError = OnMissing::kError;

// clang-format off
constexpr OptionRow kOptionRows[] = {
  // Options without a value.
  {"--version",       Flag{turnOn(&RS::version)}},
  {"--help",          Flag{turnOn(&RS::help)}},
  {"-s",              Flag{turnOn(&RS::s)}},
  {"-v",              Flag{turnOn(&RS::v)}},
  {"-i",              Flag{turnOn(&RS::i), turnOn(&RS::a)}},
  {"-i_na",           Flag{turnOn(&RS::i)}},
  {"-g",              Flag{turnOn(&RS::g)}},
  {"-a",              Flag{turnOn(&RS::a)}},
  {"-na",             Flag{turnOn(&RS::na)}},
  {"-ansic",          Flag{turnOn(&RS::ansic), turnOff(&RS::dspOutput)}},
  {"-all_ansic",      Flag{turnOn(&RS::all_ansic), turnOn(&RS::ansic), turnOff(&RS::dspOutput)}},
  {"-algoc",          Flag{turnOn(&RS::algoc), turnOff(&RS::dspOutput)}},
  {"-all_algoc",      Flag{turnOn(&RS::algoc), turnOn(&RS::all_algoc), turnOff(&RS::dspOutput)}},
  {"-dsp",            Flag{turnOn(&RS::dsp), turnOn(&RS::dspOutput)}},
  {"-all_dsp",        Flag{turnOn(&RS::all_dsp), turnOn(&RS::dsp), turnOn(&RS::dspOutput)}},
  {"-systemc--",      Flag{turnOn(&RS::systemc)}},
  {"-all_systemc--",  Flag{turnOn(&RS::systemc), turnOn(&RS::all_systemc)}},
  {"-stdmath",        Flag{assign(&RS::stdmath, 1)}},
  {"-s_mathtbl",      Flag{assign(&RS::s_mathtbl, 1)}},
  {"-O2",             Flag{assign(&RS::O, 2)}},
  {"-O1",             Flag{assign(&RS::O, 1)}},
  {"-O0",             Flag{assign(&RS::O, 0)}},
  {"-ffloat_store",   Flag{assign(&RS::ffloat_store, 1)}},
  {"-nfloat_store",   Flag{assign(&RS::ffloat_store, 0)}},
  {"-simmode",        Flag{assign(&RS::simmode, 1)}},
  {"-sim_nmleft",     Flag{assign(&RS::sim_nmleft, 1)}},
  {"-mul_func",       Flag{assign(&RS::mul_func, 1)}},
  {"-mul_dword",      Flag{assign(&RS::mul_func, 2)}},
  {"-div_func",       Flag{assign(&RS::div_func, 1)}},
  {"-dsp_nogrp",      Flag{assign(&RS::dsp_nogrp, 1)}},
  {"-s_nopv",         Flag{assign(&RS::s_nopv, 1)}},
  {"-simdbg",         Flag{assign(&RS::simdbg, 1)}},
  {"-simdbg3",        Flag{assign(&RS::simdbg3, 1)}},
  {"-gwl",            Flag{assign(&RS::gwl, 1)}},
  {"-gm0",            Flag{assign(&RS::gm0, 1)}},
  {"-gm1",            Flag{assign(&RS::gm1, 1)}},
  {"-gm2",            Flag{assign(&RS::gm2, 1)}},
  {"-mev",            Flag{assign(&RS::mev, 1)}},
  {"-amdl",           Flag{assign(&RS::mev, 0)}},
  {"-Ec",             Flag{assign(&RS::Ec, 1)}},
  {"-En",             Flag{assign(&RS::Ec, 0)}},
  {"-float",          Flag{assign(&RS::float_, 1)}},
  {"-f2fx",           Flag{assign(&RS::f2fx, 1)}},
  {"-simple_mode",    Flag{assign(&RS::ex_mode, 1)}},
  {"-lite_mode",      Flag{assign(&RS::ex_mode, 1)}},
  {"-ex_mode",        Flag{assign(&RS::ex_mode, 1)}},
  {"-bx_mode",        Flag{assign(&RS::ex_mode, 2)}},
  {"-bx_mode2",       Flag{assign(&RS::ex_mode, 3)}},
  {"-grun_float",     Flag{assign(&RS::grun_float, 1)}},
  {"-bsim_mode",      Flag{assign(&RS::bsim_mode, 1)}},
  {"-nbsim_mode",     Flag{assign(&RS::bsim_mode, 0)}},
  {"-erep",           Flag{assign(&RS::erep, 1)}},
  {"-no_erep",        Flag{assign(&RS::erep, 0)}},
  {"-dsp_tg",         Flag{assign(&RS::dsp_tg, 1)}},
  {"-tvfdat",         Flag{assign(&RS::tvfdat, 1)}},
  {"-stack_check",    Flag{assign(&RS::stack_check, 1)}},
  {"-no_stack_check", Flag{assign(&RS::stack_check, 0)}},

  // Options whose value is a keyword.
  {"-rnd",        Keyword{&RS::rnd, kRoundingModes, kWhole, Rejected::kLeftForWalk}, kEnd},
  {"-ovf",        Keyword{&RS::ovf, kOverflowModes, kWhole, Rejected::kLeftForWalk}, kEnd},
  {"-n_sqrttbl",  Keyword{&RS::n_sqrttbl, kSqrtTableModes, kWhole, Rejected::kError}, kError,
                  "A mistake is in specification of \"-n_sqrttbl\" option."},
  {"-fdp",        Keyword{&RS::fdp, kFdpModes, kFirst, Rejected::kError}, kError,
                  "A mistake is in specification of \"-fdp\" option."},
  {"-fdp_rnd",    Keyword{&RS::fdp_rnd, kRoundingModes, kWhole, Rejected::kError}, kError,
                  "A mistake is in specification of \"-fdp_rnd\" option."},
  {"-grun_level", Keyword{&RS::grun_level, kGrunLevels, kFirst, Rejected::kError}, kError,
                  "A mistake is in specification of \"-grun_level <level>\" option."},

  // Options whose value is a number.
  {"-rnd_w",         Number{{&RS::rnd_w}, NumberRange::kNegativeAsZero}, kEnd},
  {"-avar_max_size", Number{{&RS::avar_max_size}, NumberRange::kAny}, kEnd},
  {"-ghbit",       Number{{&RS::ghbit}, NumberRange::kGhbitWidth}, kError,
                   "A mistake is in specification of \"-ghbit\" option."},
  {"-bx_byte",     Number{{&RS::bx_byte}, NumberRange::kOneOrMore}, kError,
                   "A mistake is in specification of \"-bx_type\" option."},
  {"-bx_short",    Number{{&RS::bx_short}, NumberRange::kOneOrMore}, kError,
                   "A mistake is in specification of \"-bx_short\" option."},
  {"-bx_int",      Number{{&RS::bx_int}, NumberRange::kOneOrMore}, kError,
                   "A mistake is in specification of \"-bx_int\" option."},
  {"-bx_longlong", Number{{&RS::bx_longlong}, NumberRange::kOneOrMore}, kError,
                   "A mistake is in specification of \"-bx_longlong\" option."},
  {"-bx_accum",    Number{{&RS::bx_accum}, NumberRange::kOneOrMore}, kError,
                   "A mistake is in specification of \"-bx_accum\" option."},
  {"-a_stack",     Number{{&RS::a_stack}, NumberRange::kStackSize}, kError,
                   "A mistake is in specification of \"-a_stack\" option."},
  {"-i_stack",     Number{{&RS::i_stack}, NumberRange::kStackSize}, kError,
                   "A mistake is in specification of \"-i_stack\" option."},
  {"-g_stack",     Number{{&RS::g_stack}, NumberRange::kStackSize}, kError,
                   "A mistake is in specification of \"-g_stack\" option."},
  {"-all_stack",   Number{{&RS::a_stack, &RS::i_stack, &RS::g_stack}, NumberRange::kStackSize}, kError,
                   "A mistake is in specification of \"-all_stack\" option."},

  // Options whose value is a text.
  {"-p",       Text{&RS::p}, kEnd},
  {"-run",     Text{&RS::run}, kEnd},
  {"-arg",     Text{&RS::arg}, kEnd},
  {"-simdbgf", Text{&RS::simdbgf}, kEnd},
  {"-erate",   Text{&RS::erate}, kError, "A mistake is in specification of \"-erate\" option."},
  {"-ghrate",  Text{&RS::ghrate}, kError, "A mistake is in specification of \"-ghrate\" option."},
  {"-p_tvar",  Text{&RS::p_tvar}, kError, "A mistake is in specification of \"-p_tvar <nameOfPrefix>\" option."},
  {"-p_cvar",  Text{&RS::p_cvar}, kError, "A mistake is in specification of \"-p_cvar <nameOfPrefix>\" option."},
  {"-erep_o",  Text{&RS::erep_o}, kError, "A mistake is in specification of \"-erep_o <nameOfFile>\" option."},

  // Math-table specifications.
  {"-n_mathtbl",  Table{&RS::n_mathtbl, true}, kError, "A mistake is in specification of \"-n_mathtbl\" option."},
  {"-n_costbl",   Table{&RS::n_costbl, true}, kError, "A mistake is in specification of \"-n_costbl\" option."},
  {"-n_tantbl",   Table{&RS::n_tantbl, false}, kError, "A mistake is in specification of \"-n_tantbl\" option."},
  {"-n_acostbl",  Table{&RS::n_acostbl, false}, kError, "A mistake is in specification of \"-n_acostbl\" option."},
  {"-n_atantbl",  Table{&RS::n_atantbl, false}, kError, "A mistake is in specification of \"-n_atantbl\" option."},
  {"-n_atan2tbl", Table{&RS::n_atan2tbl, false}, kError, "A mistake is in specification of \"-n_atan2tbl\" option."},

  // Options with a hand-written handler.
  {"-max",     Special{takeMaximumBits}},
  {"-maxt",    Special{takeMaximumTBits}, kEnd, "A mistake is in specification of \"-maxt\" option."},
  {"-bx_bits", Special{takeBitList}, kError, "A mistake is in specification of \"-bx_bits\" option."},

  // List options and the constraint file.
  {"-D",   Special{takeDefinition}, kError, "A mistake is in specification of \"-D\" option.", NameMatch::kPrefix},
  {"-ip",  PathList{&RS::ip}, kEnd},
  {"-lp",  PathList{&RS::lp}, kEnd},
  {"-ctf", SkipValue{}, kEnd},
};
// clang-format on

}  // namespace

std::span<const OptionRow> commandLineOptions() { return kOptionRows; }

std::vector<std::string> commandLineOptionNames() {
  std::vector<std::string> names;
  names.reserve(std::size(kOptionRows));
  for (const OptionRow& row : kOptionRows) {
    names.emplace_back(row.name);
  }
  return names;
}

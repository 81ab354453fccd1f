// The option section: the option table, what each kind of row checks and
// records, and the few options no kind can describe.
#include <bit>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "constraint/keyword_table.h"
#include "constraint/tokens.h"
#include "settings/number.h"
#include "settings/table_spec.h"

namespace ctf {
namespace {

void record(ConstraintOptionEntry& entry, int32_t value) {
  entry.given = 1;
  entry.value = value;
}

void recordText(ConstraintOptionEntry& entry, std::string text) {
  entry.given = 1;
  entry.text = std::move(text);
}

std::string_view firstToken(std::string_view rest, std::string_view separators) {
  TokenCursor cursor{rest};
  return nextToken(cursor, separators);
}

bool take(ConstraintOptionEntry& entry, const Flag& flag, std::string_view /*rest*/, std::string_view /*separators*/) {
  record(entry, flag.value);
  return true;
}

bool take(ConstraintOptionEntry& entry, const Keyword& keyword, std::string_view rest, std::string_view separators) {
  std::string_view value = firstToken(rest, separators);
  if (value.empty()) {
    return false;
  }
  for (const KeywordCode& code : keyword.codes) {
    if (keyword.match == KeywordMatch::kWholeValue ? value == code.keyword : value.front() == code.keyword.front()) {
      record(entry, code.code);
      return true;
    }
  }
  return false;
}

bool take(ConstraintOptionEntry& entry, const Number& number, std::string_view rest, std::string_view separators) {
  std::string_view token = firstToken(rest, separators);
  if (token.empty() || (number.text == NumberText::kNumeric && !isNumberText(token))) {
    return false;
  }
  int32_t value = toInt32(token);
  if (value < number.low || value > number.high ||
      (number.text == NumberText::kPowerOfTwo && !std::has_single_bit(static_cast<uint32_t>(value)))) {
    return false;
  }
  record(entry, value);
  return true;
}

bool take(ConstraintOptionEntry& entry, const Text& /*text*/, std::string_view rest, std::string_view separators) {
  std::string_view token = firstToken(rest, separators);
  if (token.empty()) {
    return false;
  }
  recordText(entry, std::string(token));
  return true;
}

bool take(ConstraintOptionEntry& entry, const List& /*list*/, std::string_view rest, std::string_view separators) {
  TokenCursor cursor{rest};
  std::string_view token = nextToken(cursor, separators);
  if (token.empty()) {
    return false;
  }
  entry.given = 1;
  for (; !token.empty(); token = nextToken(cursor, separators)) {
    entry.list.emplace_back(token);
  }
  return true;
}

// Kept as "off" or as the numbers joined by ':', the text applying the file
// hands to parseTableSpec.
bool take(ConstraintOptionEntry& entry, const Table& table, std::string_view rest, std::string_view separators) {
  TokenCursor cursor{rest};
  std::string_view sizeText = nextToken(cursor, separators);
  if (sizeText == "off") {
    recordText(entry, "off");
    return true;
  }
  // A missing number reads as 0, which no check accepts.
  int32_t size = toInt32(sizeText);
  int32_t bits = toInt32(nextToken(cursor, separators));
  int32_t angle = table.withAngle ? toInt32(nextToken(cursor, separators)) : 0;
  if (isTableSize(size) != 0 || isTableBits(bits) != 0 || (table.withAngle && isTableAngle(angle) != 0)) {
    return false;
  }
  std::string text = std::to_string(size) + ":" + std::to_string(bits);
  if (table.withAngle) {
    text += ":" + std::to_string(angle);
  }
  recordText(entry, std::move(text));
  return true;
}

bool take(ConstraintOptionEntry& entry, const Special& special, std::string_view rest, std::string_view separators) {
  return special.handler(entry, rest, separators);
}

using O = ConstraintOptions;

// "-maxt": the bits of "-max", or those bits and a 'd', kept as the text (an
// earlier 'd' stays when a later line has none).
bool takeMaxt(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators) {
  constexpr Number kBits{&O::maxt, NumberText::kNumeric, 1, 64};
  std::string_view bits = firstToken(rest, separators);
  const bool suffix = bits.ends_with('d');
  if (suffix) {
    bits.remove_suffix(1);
  }
  if (!take(entry, kBits, bits, {})) {
    return false;
  }
  if (suffix) {
    entry.text = "d";
  }
  return true;
}

// "-erate": a numeric rate and optionally "m" or "a", kept as "rate" or "rate:letter".
bool takeErrorRate(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators) {
  TokenCursor cursor{rest};
  std::string_view rate = nextToken(cursor, separators);
  std::string_view letter = nextToken(cursor, separators);
  if (rate.empty() || !isNumberText(rate) || (!letter.empty() && letter != "m" && letter != "a")) {
    return false;
  }
  recordText(entry, letter.empty() ? std::string(rate) : std::string(rate) + ":" + std::string(letter));
  return true;
}

// "-bx_bits": every number greater than the one before it (the first greater
// than 0); the whole rest is kept as it came, line end included.
bool takeBitList(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators) {
  if (rest.empty()) {
    return false;
  }
  TokenCursor cursor{rest};
  int32_t previous = 0;
  for (std::string_view token = nextToken(cursor, separators); !token.empty(); token = nextToken(cursor, separators)) {
    int32_t bits = toInt32(token);
    if (bits <= previous) {
      return false;
    }
    previous = bits;
  }
  recordText(entry, std::string(rest));
  return true;
}

// "-grun_level": a keyword, but a rest of separators only is accepted and records nothing.
bool takeGrunLevel(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators) {
  if (firstToken(rest, separators).empty()) {
    return !rest.empty();
  }
  return take(entry, Keyword{&O::grun_level, kGrunLevels}, rest, separators);
}

// "-simple_mode", "-lite_mode", "-ex_mode": mode 1 whatever follows, then an
// optional level 0, 1 or 2, kept as the text.
bool takeExMode(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators) {
  record(entry, 1);
  std::string_view level = firstToken(rest, separators);
  if (level.empty()) {
    return true;
  }
  if (level != "0" && level != "1" && level != "2") {
    return false;
  }
  entry.text = level;
  return true;
}

constexpr std::string_view S1 = " \t\n\r;,";
constexpr std::string_view S2 = " \t\n\r;,:";
constexpr std::string_view kWholeRest = {};
constexpr NumberText kNumeric = NumberText::kNumeric;
constexpr NumberText kLeading = NumberText::kLeadingDigits;
constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();
// "-rnd" in a file knows t, r and e only.
constexpr std::span<const KeywordCode> kFileRoundingModes = std::span(kRoundingModes).first(3);

// clang-format off
constexpr KeywordRow kOptionTable[] = {
  {"-max",           Number{&O::max, kNumeric, 1, 64}, S1, "-max <numOfBit>"},
  {"-maxt",          Special{&O::maxt, takeMaxt}, S1, "-maxt <numOfBit>"},
  {"-p",             Text{&O::p}, S1, "-p <nameOfPrefix>"},
  {"-p_tvar",        Text{&O::p_tvar}, S1, "-p_tvar <nameOfPrefix>"},
  {"-p_cvar",        Text{&O::p_cvar}, S1, "-p_cvar <nameOfPrefix>"},
  {"-rnd",           Keyword{&O::rnd, kFileRoundingModes}, S1, "-rnd <t|r|e>"},
  {"-ovf",           Keyword{&O::ovf, kOverflowModes}, S1, "-ovf <i|s>"},
  {"-O2",            Flag{&O::O, 2}},
  {"-O1",            Flag{&O::O, 1}},
  {"-O0",            Flag{&O::O, 0}},
  {"-o2",            Flag{&O::O, 2}},
  {"-o1",            Flag{&O::O, 1}},
  {"-o0",            Flag{&O::O, 0}},
  {"-nfloat_store",  Flag{&O::nfloat_store}},
  {"-simmode",       Flag{&O::simmode}},
  {"-sim_nmleft",    Flag{&O::sim_nmleft}},
  {"-mul_func",      Flag{&O::mul_func}},
  {"-mul_dword",     Flag{&O::mul_dword}},
  {"-fdp",           Keyword{&O::fdp, kFdpModes, KeywordMatch::kFirstCharacter}, kWholeRest},
  {"-fdp_rnd",       Keyword{&O::fdp_rnd, kRoundingModes}, S1, "-fdp_rnd <t|r|e>"},
  {"-div_func",      Flag{&O::div_func}},
  {"-simdbg",        Flag{&O::simdbg}},
  {"-simdbgf",       Text{&O::simdbgf}, S1, "-simdbgf <nameOfFunc>"},
  {"-D",             List{&O::D}, S1, "-D <nameOfMacro>"},
  {"-rnd_w",         Number{&O::rnd_w, kNumeric, 0, 64}, S1, "-rnd_w <numOfBit>"},
  {"-stdmath",       Flag{&O::stdmath}},
  {"-s_mathtbl",     Flag{&O::s_mathtbl}},
  {"-n_mathtbl",     Table{&O::n_mathtbl, true}, S2, "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"},
  {"-n_costbl",      Table{&O::n_costbl, true}, S2, "-n_costbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"},
  {"-n_tantbl",      Table{&O::n_tantbl, false}, S2, "-n_tantbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"},
  {"-n_acostbl",     Table{&O::n_acostbl, false}, S2, "-n_acostbl <numOfTblSize>:<numOfRetBit>"},
  {"-n_atantbl",     Table{&O::n_atantbl, false}, S2, "-n_atantbl <numOfTblSize>:<numOfRetBit>"},
  {"-n_atan2tbl",    Table{&O::n_atan2tbl, false}, S2, "-n_atan2tbl <numOfTblSize>:<numOfRetBit>"},
  {"-n_sqrttbl",     Keyword{&O::n_sqrttbl, kSqrtTableModes}, S2, "-n_sqrttbl <on|off>"},
  {"-lp",            List{&O::lp}, S1, "-lp <nameOfPath>"},
  {"-ip",            List{&O::ip}, S1, "-ip <nameOfPath>"},
  {"-avar_max_size", Number{&O::avar_max_size, kNumeric, kLowest, 64}, S1, "-avar_max_size <numOfSize>"},
  {"-simdbg3",       Flag{&O::simdbg3}},
  {"-erate",         Special{&O::erate, takeErrorRate}, S2, "-erate <numOfRate>[:<m|a>]"},
  {"-g++",           Number{&O::gpp, kLeading, 3, 4}, kWholeRest, "-g++ <3|4>"},
  {"-gwl",           Flag{&O::gwl}},
  {"-gm0",           Flag{&O::gm0}},
  {"-gm1",           Flag{&O::gm1}},
  {"-gm2",           Flag{&O::gm2}},
  {"-mev",           Flag{&O::mev}},
  {"-amdl",          Flag{&O::amdl}},
  {"-simple_mode",   Special{&O::ex_mode, takeExMode}, S2},
  {"-lite_mode",     Special{&O::ex_mode, takeExMode}, S2},
  {"-ex_mode",       Special{&O::ex_mode, takeExMode}, S2},
  {"-ex_mode2",      Flag{&O::ex_mode, 2}},
  {"-bx_mode",       Flag{&O::bx_mode, 2}},
  {"-bx_mode2",      Flag{&O::bx_mode, 3}},
  {"-bx_byte",       Number{&O::bx_byte, kLeading, 1, kHighest}, S2, "-bx_byte <widthOfBits>"},
  {"-bx_short",      Number{&O::bx_short, kLeading, 1, kHighest}, S2, "-bx_short <widthOfBits>"},
  {"-bx_int",        Number{&O::bx_int, kLeading, 1, kHighest}, S2, "-bx_int <widthOfBits>"},
  {"-bx_longlong",   Number{&O::bx_longlong, kLeading, 1, kHighest}, S2, "-bx_longlong <widthOfBits>"},
  {"-bx_accum",      Number{&O::bx_accum, kLeading, 1, kHighest}, S2, "-bx_accum <widthOfBits>"},
  {"-bx_bits",       Special{&O::bx_bits, takeBitList}, S2, "-bx_bits <value1, value2, value3, ..>"},
  {"-grun_level",    Special{&O::grun_level, takeGrunLevel}, S2},
  {"-grun_float",    Flag{&O::grun_float}},
  {"-f2fx",          Flag{&O::f2fx}},
  {"-ghbit",         Number{&O::ghbit, NumberText::kPowerOfTwo, 2, 64}, S1, "-ghbit <numOfSize>"},
  {"-ghrate",        Text{&O::ghrate}, S2, "-ghrate <numOfRate>"},
  {"-Ec",            Flag{&O::Ec}},
  {"-En",            Flag{&O::En}},
  {"-float",         Flag{&O::float_}},
  {"-bsim_mode",     Flag{&O::bsim_mode}},
  {"-nbsim_mode",    Flag{&O::nbsim_mode}},
  {"-dsp_tg",        Flag{&O::dsp_tg}},
  {"-erep",          Flag{&O::erep, 1}},
  {"-no_erep",       Flag{&O::erep, 0}},
  {"-erep_o",        Text{&O::erep_o}, S2, "-erep_o <numOfFile>"},
  {"$end_start_option", Section{KeywordTableId::section}},
};
// clang-format on

}  // namespace
}  // namespace ctf

std::span<const KeywordRow> optionTable() { return ctf::kOptionTable; }

int takeOption(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  const bool accepted = std::visit(
      [&](const auto& kind) { return ctf::take(store.constraintOptions.*kind.entry, kind, rest, row.separators); },
      std::get<ctf::OptionValue>(row.value));
  if (accepted) {
    return 0;
  }
  if (row.usage != nullptr) {
    store.constraintUsage = row.usage;
  }
  return -1;
}

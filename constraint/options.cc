// The option section: the option table, the handlers that check and record
// each option's value, and the accessors of the record.
#include "constraint/options.h"

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "constraint/keyword_table.h"
#include "constraint/tokens.h"
#include "settings/number.h"
#include "settings/table_spec.h"

namespace {

constexpr std::string_view S1 = " \t\n\r;,";
constexpr std::string_view S2 = " \t\n\r;,:";

ConstraintOptionEntry& entryOf(ConstraintStore& store, const KeywordRow& row) {
  return store.constraintOptions.*row.entry;
}

int reject(ConstraintStore& store, const KeywordRow& row) {
  if (row.usage != nullptr) {
    store.constraintUsage = row.usage;
  }
  return -1;
}

std::string_view firstToken(std::string_view rest, const KeywordRow& row) {
  TokenCursor cursor{rest};
  return nextToken(cursor, row.separators);
}

int record(ConstraintStore& store, const KeywordRow& row, int32_t value) {
  ConstraintOptionEntry& entry = entryOf(store, row);
  entry.given = 1;
  entry.value = value;
  return 0;
}

int takeFlag(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& row) { return record(store, row, 1); }

int takeParameter(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& row) {
  return record(store, row, row.param);
}

int takeText(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  std::string_view token = firstToken(rest, row);
  if (token.empty()) {
    return reject(store, row);
  }
  ConstraintOptionEntry& entry = entryOf(store, row);
  entry.given = 1;
  entry.text = token;
  return 0;
}

// The first token as a number in low..high; `numeric` asks for digits, '-'
// and '.' only first.
int takeNumber(ConstraintStore& store, std::string_view rest, const KeywordRow& row, bool numeric, int32_t low,
               int32_t high) {
  std::string_view token = firstToken(rest, row);
  if (token.empty() || (numeric && !isNumberText(token))) {
    return reject(store, row);
  }
  int32_t value = toInt32(token);
  if (value < low || value > high) {
    return reject(store, row);
  }
  return record(store, row, value);
}

constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

int takeBitCount(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeNumber(store, rest, row, true, 1, 64);
}

int takeRoundWidth(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeNumber(store, rest, row, true, 0, 64);
}

int takeArraySize(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeNumber(store, rest, row, true, kLowest, 64);
}

int takeWidth(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeNumber(store, rest, row, false, 1, kHighest);
}

int takeHistogramBits(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  std::string_view token = firstToken(rest, row);
  int32_t bits = toInt32(token);
  if (token.empty() || (bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 32 && bits != 64)) {
    return reject(store, row);
  }
  return record(store, row, bits);
}

// "16" or "16d": the 'd' is kept as the entry's text.
int takeMaxt(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  std::string_view token = firstToken(rest, row);
  if (token.empty()) {
    return reject(store, row);
  }
  bool suffix = token.back() == 'd';
  if (suffix) {
    token.remove_suffix(1);
  }
  if (!isNumberText(token)) {
    return reject(store, row);
  }
  int32_t bits = toInt32(token);
  if (bits < 1 || bits > 64) {
    return reject(store, row);
  }
  record(store, row, bits);
  if (suffix) {
    entryOf(store, row).text = "d";
  }
  return 0;
}

int takeChoice(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  std::string_view token = firstToken(rest, row);
  for (const Choice& choice : row.choices) {
    if (!token.empty() && token == choice.word) {
      return record(store, row, choice.value);
    }
  }
  return reject(store, row);
}

// "-fdp" looks at the first character of the value text itself.
int takeFdpLetter(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  if (rest.empty() || std::string_view("yYnNmM").find(rest.front()) == std::string_view::npos) {
    return reject(store, row);
  }
  return record(store, row, rest.front());
}

// "-grun_level": a value text of separators only is accepted and records nothing.
int takeGrunLevel(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  if (rest.empty()) {
    return reject(store, row);
  }
  if (firstToken(rest, row).empty()) {
    return 0;
  }
  return takeChoice(store, rest, row);
}

// "-g++" reads the value text itself as a number.
int takeCompilerVersion(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  int32_t version = toInt32(rest);
  if (rest.empty() || (version != 3 && version != 4)) {
    return reject(store, row);
  }
  return record(store, row, version);
}

int takeList(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  TokenCursor cursor{rest};
  std::string_view token = nextToken(cursor, row.separators);
  if (token.empty()) {
    return reject(store, row);
  }
  ConstraintOptionEntry& entry = entryOf(store, row);
  entry.given = 1;
  for (; !token.empty(); token = nextToken(cursor, row.separators)) {
    entry.list.emplace_back(token);
  }
  return 0;
}

// "off", or the size, the bits and (withAngle) the angle, kept as "%d:%d[:%d]".
int takeTable(ConstraintStore& store, std::string_view rest, const KeywordRow& row, bool withAngle) {
  TokenCursor cursor{rest};
  std::string_view sizeText = nextToken(cursor, row.separators);
  if (sizeText.empty()) {
    return reject(store, row);
  }
  ConstraintOptionEntry& entry = entryOf(store, row);
  if (sizeText == "off") {
    entry.given = 1;
    entry.text = "off";
    return 0;
  }
  std::string_view bitsText = nextToken(cursor, row.separators);
  std::string_view angleText = withAngle ? nextToken(cursor, row.separators) : std::string_view("0");
  if (bitsText.empty() || angleText.empty()) {
    return reject(store, row);
  }
  int32_t size = toInt32(sizeText);
  int32_t bits = toInt32(bitsText);
  int32_t angle = toInt32(angleText);
  if (isTableSize(size) != 0 || isTableBits(bits) != 0 || (withAngle && isTableAngle(angle) != 0)) {
    return reject(store, row);
  }
  std::string text = std::to_string(size) + ":" + std::to_string(bits);
  if (withAngle) {
    text += ":" + std::to_string(angle);
  }
  entry.given = 1;
  entry.text = std::move(text);
  return 0;
}

int takeTableWithAngle(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeTable(store, rest, row, true);
}

int takeTableWithoutAngle(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  return takeTable(store, rest, row, false);
}

// A numeric rate, then optionally "m" or "a": kept as "rate" or "rate:letter".
int takeErrorRate(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  TokenCursor cursor{rest};
  std::string_view rate = nextToken(cursor, row.separators);
  if (rate.empty() || !isNumberText(rate)) {
    return reject(store, row);
  }
  std::string_view letter = nextToken(cursor, row.separators);
  if (!letter.empty() && letter != "m" && letter != "a") {
    return reject(store, row);
  }
  std::string text(rate);
  if (!letter.empty()) {
    text.append(":").append(letter);
  }
  ConstraintOptionEntry& entry = entryOf(store, row);
  entry.given = 1;
  entry.text = std::move(text);
  return 0;
}

// Every number greater than the one before it (the first greater than 0);
// the whole value text is kept as it came, line end included.
int takeBitList(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  if (rest.empty()) {
    return reject(store, row);
  }
  TokenCursor cursor{rest};
  int32_t previous = 0;
  for (std::string_view token = nextToken(cursor, row.separators); !token.empty();
       token = nextToken(cursor, row.separators)) {
    int32_t bits = toInt32(token);
    if (bits <= previous) {
      return reject(store, row);
    }
    previous = bits;
  }
  ConstraintOptionEntry& entry = entryOf(store, row);
  entry.given = 1;
  entry.text = rest;
  return 0;
}

constexpr std::array kLevels{Choice{"0", 0}, Choice{"1", 1}, Choice{"2", 2}};

// "-simple_mode", "-lite_mode", "-ex_mode": mode 1 whatever follows, then an
// optional level 0, 1 or 2, kept as text.
int takeExMode(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  record(store, row, 1);
  std::string_view level = firstToken(rest, row);
  if (level.empty()) {
    return 0;
  }
  for (const Choice& choice : kLevels) {
    if (level == choice.word) {
      entryOf(store, row).text = level;
      return 0;
    }
  }
  return reject(store, row);
}

int takeExMode2(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& row) {
  return record(store, row, 2);
}

constexpr std::array kRoundings{Choice{"t", 't'}, Choice{"r", 'r'}, Choice{"e", 'e'}};
constexpr std::array kOverflows{Choice{"i", 'i'}, Choice{"s", 's'}};
constexpr std::array kFdpRoundings{Choice{"t", 't'}, Choice{"r", 'r'}, Choice{"e", 'e'}, Choice{"c", 'c'},
                                   Choice{"f", 'f'}};
constexpr std::array kSqrtTables{Choice{"off", 0}, Choice{"on", 1}, Choice{"1", 1}, Choice{"2", 2}};

constexpr KeywordRow row(std::string_view key, int param, KeywordHandler handler, OptionEntry entry,
                         std::string_view separators = {}, const char* usage = nullptr,
                         std::span<const Choice> choices = {}) {
  return KeywordRow{.key = key,
                    .param = param,
                    .handler = handler,
                    .gate = Gate::options,
                    .entry = entry,
                    .separators = separators,
                    .choices = choices,
                    .usage = usage};
}

using O = ConstraintOptions;

// The option section, in table order. Columns: keyword, param, handler, entry
// written, separators of the value, usage text on rejection, words accepted.
constexpr std::array kOptionTable{
    row("-max", 0, takeBitCount, &O::max, S1, "-max <numOfBit>"),
    row("-maxt", 0, takeMaxt, &O::maxt, S1, "-maxt <numOfBit>"),
    row("-p", 0, takeText, &O::p, S1, "-p <nameOfPrefix>"),
    row("-p_tvar", 0, takeText, &O::p_tvar, S1, "-p_tvar <nameOfPrefix>"),
    row("-p_cvar", 0, takeText, &O::p_cvar, S1, "-p_cvar <nameOfPrefix>"),
    row("-rnd", 0, takeChoice, &O::rnd, S1, "-rnd <t|r|e>", kRoundings),
    row("-ovf", 0, takeChoice, &O::ovf, S1, "-ovf <i|s>", kOverflows),
    row("-O2", 2, takeParameter, &O::O),
    row("-O1", 1, takeParameter, &O::O),
    row("-O0", 0, takeParameter, &O::O),
    row("-o2", 2, takeParameter, &O::O),
    row("-o1", 1, takeParameter, &O::O),
    row("-o0", 0, takeParameter, &O::O),
    row("-nfloat_store", 0, takeFlag, &O::nfloat_store),
    row("-simmode", 0, takeFlag, &O::simmode),
    row("-sim_nmleft", 0, takeFlag, &O::sim_nmleft),
    row("-mul_func", 0, takeFlag, &O::mul_func),
    row("-mul_dword", 0, takeFlag, &O::mul_dword),
    row("-fdp", 0, takeFdpLetter, &O::fdp),
    row("-fdp_rnd", 0, takeChoice, &O::fdp_rnd, S1, "-fdp_rnd <t|r|e>", kFdpRoundings),
    row("-div_func", 0, takeFlag, &O::div_func),
    row("-simdbg", 0, takeFlag, &O::simdbg),
    row("-simdbgf", 0, takeText, &O::simdbgf, S1, "-simdbgf <nameOfFunc>"),
    row("-D", 0, takeList, &O::D, S1, "-D <nameOfMacro>"),
    row("-rnd_w", 0, takeRoundWidth, &O::rnd_w, S1, "-rnd_w <numOfBit>"),
    row("-stdmath", 0, takeFlag, &O::stdmath),
    row("-s_mathtbl", 0, takeFlag, &O::s_mathtbl),
    row("-n_mathtbl", 0, takeTableWithAngle, &O::n_mathtbl, S2, "-n_mathtbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"),
    row("-n_costbl", 0, takeTableWithAngle, &O::n_costbl, S2, "-n_costbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"),
    row("-n_tantbl", 0, takeTableWithoutAngle, &O::n_tantbl, S2, "-n_tantbl <numOfTblSize>:<numOfRetBit>:<numOfAngle>"),
    row("-n_acostbl", 0, takeTableWithoutAngle, &O::n_acostbl, S2, "-n_acostbl <numOfTblSize>:<numOfRetBit>"),
    row("-n_atantbl", 0, takeTableWithoutAngle, &O::n_atantbl, S2, "-n_atantbl <numOfTblSize>:<numOfRetBit>"),
    row("-n_atan2tbl", 0, takeTableWithoutAngle, &O::n_atan2tbl, S2, "-n_atan2tbl <numOfTblSize>:<numOfRetBit>"),
    row("-n_sqrttbl", 0, takeChoice, &O::n_sqrttbl, S2, "-n_sqrttbl <on|off>", kSqrtTables),
    row("-lp", 0, takeList, &O::lp, S1, "-lp <nameOfPath>"),
    row("-ip", 0, takeList, &O::ip, S1, "-ip <nameOfPath>"),
    row("-avar_max_size", 0, takeArraySize, &O::avar_max_size, S1, "-avar_max_size <numOfSize>"),
    row("-simdbg3", 0, takeFlag, &O::simdbg3),
    row("-erate", 0, takeErrorRate, &O::erate, S2, "-erate <numOfRate>[:<m|a>]"),
    row("-g++", 0, takeCompilerVersion, &O::gpp, {}, "-g++ <3|4>"),
    row("-gwl", 0, takeFlag, &O::gwl),
    row("-gm0", 0, takeFlag, &O::gm0),
    row("-gm1", 0, takeFlag, &O::gm1),
    row("-gm2", 0, takeFlag, &O::gm2),
    row("-mev", 0, takeFlag, &O::mev),
    row("-amdl", 0, takeParameter, &O::amdl),
    row("-simple_mode", 0, takeExMode, &O::ex_mode, S2),
    row("-lite_mode", 0, takeExMode, &O::ex_mode, S2),
    row("-ex_mode", 0, takeExMode, &O::ex_mode, S2),
    row("-ex_mode2", 0, takeExMode2, &O::ex_mode),
    row("-bx_mode", 0, takeParameter, &O::bx_mode),
    row("-bx_mode2", 1, takeParameter, &O::bx_mode),
    row("-bx_byte", 0, takeWidth, &O::bx_byte, S2, "-bx_byte <widthOfBits>"),
    row("-bx_short", 0, takeWidth, &O::bx_short, S2, "-bx_short <widthOfBits>"),
    row("-bx_int", 0, takeWidth, &O::bx_int, S2, "-bx_int <widthOfBits>"),
    row("-bx_longlong", 0, takeWidth, &O::bx_longlong, S2, "-bx_longlong <widthOfBits>"),
    row("-bx_accum", 0, takeWidth, &O::bx_accum, S2, "-bx_accum <widthOfBits>"),
    row("-bx_bits", 0, takeBitList, &O::bx_bits, S2, "-bx_bits <value1, value2, value3, ..>"),
    row("-grun_level", 0, takeGrunLevel, &O::grun_level, S2, nullptr, kLevels),
    row("-grun_float", 0, takeFlag, &O::grun_float),
    row("-f2fx", 0, takeFlag, &O::f2fx),
    row("-ghbit", 0, takeHistogramBits, &O::ghbit, S1, "-ghbit <numOfSize>"),
    row("-ghrate", 0, takeText, &O::ghrate, S2, "-ghrate <numOfRate>"),
    row("-Ec", 0, takeFlag, &O::Ec),
    row("-En", 0, takeFlag, &O::En),
    row("-float", 0, takeFlag, &O::float_),
    row("-bsim_mode", 0, takeFlag, &O::bsim_mode),
    row("-nbsim_mode", 0, takeFlag, &O::nbsim_mode),
    row("-dsp_tg", 0, takeFlag, &O::dsp_tg),
    row("-erep", 1, takeParameter, &O::erep),
    row("-no_erep", 0, takeParameter, &O::erep),
    row("-erep_o", 0, takeText, &O::erep_o, S2, "-erep_o <numOfFile>"),
    KeywordRow{.key = "$end_start_option", .handler = closeSection},
};

}  // namespace

std::span<const KeywordRow> optionTable() { return kOptionTable; }

int readGivenValue(const ConstraintOptionEntry& entry, int32_t& value) {
  value = 0;
  if (entry.given != 1) {
    return 0;
  }
  value = entry.value;
  return 1;
}

const std::string* readText(const ConstraintOptionEntry& entry) {
  return entry.given == 1 && entry.text ? &*entry.text : nullptr;
}

const std::vector<std::string>* readList(const ConstraintOptionEntry& entry) {
  return entry.given == 1 && !entry.list.empty() ? &entry.list : nullptr;
}

int32_t readCode(const ConstraintOptionEntry& entry) { return entry.given == 1 ? entry.value : 0; }

int readSuffix(const ConstraintOptionEntry& entry, int32_t& suffix) {
  suffix = 0;
  if (entry.given != 1 || !entry.text || entry.text->empty()) {
    return 0;
  }
  suffix = static_cast<unsigned char>(entry.text->front());
  return 1;
}

// The one record of everything a run learns: environment switches, the
// constraint file's options, the command line, the diagnostic counters and
// the input files. Filled in run order (constraint file first, then the
// command line), read by the checks, the work directory and the tool lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A math table as the options describe it: mode 0 not given, 1 "off", 2 "on" or numbers.
/// `angle` is used only by the math and cosine tables.
struct TableSetting {
  int32_t mode = 0;
  int32_t size = 0;
  int32_t bits = 0;
  int32_t angle = 0;

  bool operator==(const TableSetting&) const = default;
};

struct RunSettings {
  // Run requests, counters and environment.
  bool help = false;
  bool version = false;
  int32_t errorCount = 0;
  int32_t warningCount = 0;
  int32_t traceCommands = 0;  // TVM is exactly "1"
  int32_t instanceDump = 0;   // TVPOMSK is exactly "1"
  std::optional<std::string> ctf;

  // Inputs and lists (constraint-file entries come first).
  std::vector<std::string> inputFiles;
  std::vector<std::string> D;
  std::vector<std::string> ip;
  std::vector<std::string> lp;

  // Output target selection; DSP is the target when neither ANSI-C nor
  // AlgorithmicC is chosen.
  bool ansic = false;
  bool all_ansic = false;
  bool algoc = false;
  bool all_algoc = false;
  bool dsp = false;
  bool all_dsp = false;
  bool systemc = false;
  bool all_systemc = false;
  bool dspOutput = false;

  // Other command-line flags.
  bool s = false;
  bool v = false;
  bool i = false;
  bool a = false;
  bool g = false;
  bool na = false;

  // Number format and arithmetic.
  int32_t max = 32;
  int32_t maxt = 32;
  int32_t maxtSuffix = 0;  // 'd' (100) after a "-maxt" value ending in d
  int32_t maxtGiven = 0;
  int32_t rnd = 1;
  int32_t ovf = 1;
  int32_t rnd_w = 1;
  int32_t O = 2;
  int32_t ffloat_store = 0;
  int32_t mul_func = 0;
  int32_t div_func = 0;
  int32_t fdp = 0;
  int32_t fdp_rnd = 0;

  // Math tables.
  int32_t stdmath = 0;
  int32_t s_mathtbl = 0;
  TableSetting n_mathtbl;
  TableSetting n_costbl;
  TableSetting n_tantbl;
  TableSetting n_acostbl;
  TableSetting n_atantbl;
  TableSetting n_atan2tbl;
  int32_t n_sqrttbl = 0;

  // Simulation, generation and analysis.
  int32_t simmode = 0;
  int32_t sim_nmleft = 0;
  int32_t simdbg = 0;
  int32_t simdbg3 = 0;
  std::optional<std::string> simdbgf;
  int32_t avar_max_size = 0;
  int32_t gwl = 0;
  int32_t gm0 = 0;
  int32_t gm1 = 0;
  int32_t gm2 = 0;
  int32_t mev = 1;
  int32_t Ec = 0;
  int32_t float_ = 0;  // "-float" (the name itself is a keyword)
  int32_t f2fx = 0;
  int32_t ghbit = 8;
  std::optional<std::string> ghrate;
  int32_t ex_mode = 0;
  int32_t bx_byte = 0;
  int32_t bx_short = 0;
  int32_t bx_int = 0;
  int32_t bx_longlong = 0;
  int32_t bx_accum = 0;
  std::optional<std::string> bx_bits;
  int32_t grun_level = -1;
  int32_t grun_float = 0;
  int32_t bsim_mode = 0;
  int32_t dsp_tg = 0;
  int32_t dsp_nogrp = 0;
  int32_t s_nopv = 0;
  std::string p = "result_";
  std::optional<std::string> p_tvar;
  std::optional<std::string> p_cvar;
  std::string run;
  std::string arg;
  std::optional<std::string> erate;
  std::optional<std::string> erep_o;
  int32_t erep = 0;
  int32_t tvfdat = 0;
  int32_t a_stack = 0;
  int32_t i_stack = 0;
  int32_t g_stack = 0;
  int32_t stack_check = 0;

  bool operator==(const RunSettings&) const = default;
};

/// Appends a copy of a macro definition to `D`.
inline void appendDefinition(RunSettings& rs, std::string_view text) { rs.D.emplace_back(text); }
/// Appends an include path to `ip`.
inline void appendIncludePath(RunSettings& rs, std::string_view text) { rs.ip.emplace_back(text); }
/// Appends a library path to `lp`.
inline void appendLibraryPath(RunSettings& rs, std::string_view text) { rs.lp.emplace_back(text); }
/// Appends an input file name to `inputFiles`.
inline void appendInputFile(RunSettings& rs, std::string_view name) { rs.inputFiles.emplace_back(name); }

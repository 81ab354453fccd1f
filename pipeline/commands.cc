#include "pipeline/commands.h"

#include <algorithm>

namespace {

// Appends every part, then one blank: one piece of a command line.
template <typename... Parts>
void appendPiece(std::string& line, const Parts&... parts) {
  (line.append(parts), ...);
  line.push_back(' ');
}

// A file name as one shell word: bare when the shell reads every character as
// itself, else (an empty name too) in single quotes, a quote inside written
// as '\''. Only names are quoted; option values reach the shell as given, for
// it to read.
std::string shellWord(std::string_view name) {
  const auto readAsItself = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_@%+=:,./-").find(c) != std::string_view::npos;
  };
  if (!name.empty() && std::all_of(name.begin(), name.end(), readAsItself)) {
    return std::string(name);
  }
  std::string word = "'";
  for (char c : name) {
    word += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
  }
  return word + "'";
}

// The first checker line decides the output kind for the whole run.
const char* chooseOutputKind(RunSettings& rs) {
  rs.dspOutput = false;
  if (rs.all_ansic || rs.ansic) {
    return "-ansic";
  }
  if (rs.all_algoc || rs.algoc) {
    return "-algoc";
  }
  rs.dspOutput = true;
  return "-dsp";
}

// The directory text with a "/" appended unless it already ends in one.
std::string joinDirectory(std::string_view directory) {
  std::string joined(directory);
  if (joined.empty() || joined.back() != '/') {
    joined.push_back('/');
  }
  return joined;
}

}  // namespace

std::string composeReaderCommand(const RunSettings& rs, std::string_view directory) {
  std::string line = "lurin -notitle -o ";
  appendPiece(line, joinDirectory(directory), "lurin.cfi");
  for (const std::string& file : rs.inputFiles) {
    appendPiece(line, shellWord(file));
  }
  // Left for the shell to expand: the tool sees the installation's own headers.
  appendPiece(line, "-i ", "$TALVO/libtalvo/include/stdinclude");
  for (const std::string& definition : rs.D) {
    appendPiece(line, "-d ", definition);
  }
  for (const std::string& path : rs.ip) {
    appendPiece(line, "-i ", path);
  }
  line.push_back(' ');
  return line;
}

std::string composeGraphCommand(const RunSettings& rs, std::string_view directory) {
  const std::string dir = joinDirectory(directory);
  std::string line = "dravik -pf -notitle -o ";
  appendPiece(line, dir, "lurin.cdfg");
  appendPiece(line, dir, "lurin.cfi");
  for (const std::string& path : rs.ip) {
    appendPiece(line, "-ip ", path);
  }
  return line;
}

std::string composeCheckerCommand(RunSettings& rs, std::string_view graphDirectory, std::string_view graphFile,
                                  std::string_view infoDirectory, std::string_view infoFile, bool noCheck) {
  std::string line = "talvoChk ";
  appendPiece(line, joinDirectory(graphDirectory), graphFile);
  appendPiece(line, joinDirectory(infoDirectory), infoFile);
  if (noCheck) {
    appendPiece(line, "-nochk");
  }
  if (rs.s_nopv == 1) {
    appendPiece(line, "-nopv");
  }
  appendPiece(line, chooseOutputKind(rs));
  if (rs.ctf) {
    appendPiece(line, "-ctf ", shellWord(*rs.ctf));
  }
  if (rs.mev == 1) {
    appendPiece(line, "-mev");
  }
  if (rs.ex_mode == 0 && rs.Ec == 1 && rs.algoc) {
    appendPiece(line, "-Ec");
  }
  if (rs.avar_max_size > 0) {
    appendPiece(line, "-avar_max_size ", std::to_string(rs.avar_max_size));
  }
  return line;
}

std::string composeIncludeReadCommand(std::string_view infoDirectory, std::string_view infoFile,
                                      const std::vector<std::string>& fileNames) {
  std::string line = "seltor -read -inc ";
  appendPiece(line, joinDirectory(infoDirectory), infoFile);
  for (const std::string& file : fileNames) {
    appendPiece(line, shellWord(file));
  }
  return line;
}

std::string composePreElaborationCommand(const RunSettings& rs, std::string_view graphDirectory,
                                         std::string_view graphFile, std::string_view infoDirectory,
                                         std::string_view infoFile, std::string_view outputDirectory,
                                         std::string_view outputFile) {
  std::string line = "nuvar ";
  appendPiece(line, joinDirectory(graphDirectory), graphFile);
  appendPiece(line, joinDirectory(infoDirectory), infoFile);
  appendPiece(line, joinDirectory(outputDirectory), outputFile);
  if (rs.dspOutput) {
    appendPiece(line, "-pointer");
  }
  if (rs.p_tvar) {
    appendPiece(line, "-p_tvar ", *rs.p_tvar);
  }
  if (rs.p_cvar) {
    appendPiece(line, "-p_cvar ", *rs.p_cvar);
  }
  return line;
}

std::string composeDumpCommand() { return "pomsk "; }

std::string composeElaborationCommand(std::string_view directory) {
  const std::string dir = joinDirectory(directory);
  std::string line = "kivard -notitle ";
  appendPiece(line, dir, "elb_", "lurin.cdfg");
  appendPiece(line, "-mfile ", dir, "elb_");
  line.push_back(' ');
  return line;
}

std::string composeIncludeWriteCommand(std::string_view infoDirectory, std::string_view infoFile,
                                       std::string_view outputDirectory, std::string_view prefix,
                                       const std::vector<std::string>& fileNames, std::string_view suffix,
                                       std::string_view extraHeader) {
  const std::string outDir = joinDirectory(outputDirectory);
  std::string line = "seltor -write -inc ";
  appendPiece(line, joinDirectory(infoDirectory), infoFile);
  for (const std::string& file : fileNames) {
    std::string made = outDir;
    made.append(prefix).append(file);
    appendPiece(line, shellWord(made));
  }
  appendPiece(line, "-s ", suffix);
  appendPiece(line, "-add ", extraHeader);
  return line;
}

// Shared by the substitute tools: argument checks, usage and error exits,
// and the small plain-text work files they hand to one another. Each work
// file starts with a tag line ("talvo-cfi 1", ...) that the next tool checks.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// The tool's name and its arguments (argv[1] onward).
struct Invocation {
  std::string name;
  std::vector<std::string> args;
  std::string usage;  // the shape of a correct command line
};

inline Invocation invocation(int argc, char** argv, std::string name, std::string usage) {
  return Invocation{std::move(name), std::vector<std::string>(argv + 1, argv + argc), std::move(usage)};
}

/// A command line of the wrong shape: the usage on stderr, status 2.
[[noreturn]] inline void usageError(const Invocation& call, std::string_view problem) {
  std::fprintf(stderr, "%s: %.*s\nusage: %s %s\n", call.name.c_str(), static_cast<int>(problem.size()), problem.data(),
               call.name.c_str(), call.usage.c_str());
  std::exit(2);
}

/// A file problem: one line on stderr, status 1.
[[noreturn]] inline void fail(const Invocation& call, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", call.name.c_str(), message.c_str());
  std::exit(1);
}

/// Argument `index`, which must equal `expected`.
inline void expectWord(const Invocation& call, size_t index, std::string_view expected) {
  if (index >= call.args.size() || call.args[index] != expected) {
    usageError(call, "expected '" + std::string(expected) + "' as argument " + std::to_string(index + 1));
  }
}

/// Argument `index`, which must exist and must not be an option.
inline const std::string& operand(const Invocation& call, size_t index, std::string_view what) {
  if (index >= call.args.size() || call.args[index].empty() || call.args[index][0] == '-') {
    usageError(call, "missing " + std::string(what));
  }
  return call.args[index];
}

/// The whole content of a file the tool must read.
inline std::string readText(const Invocation& call, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path)) {
    fail(call, "cannot open '" + path + "'");
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// The lines of a work file after its tag line, which must be `tag`.
inline std::vector<std::string> readWorkFile(const Invocation& call, const std::string& path, std::string_view tag) {
  std::istringstream in(readText(call, path));
  std::vector<std::string> lines;
  std::string line;
  if (!std::getline(in, line) || line != tag) {
    fail(call, "'" + path + "' is not a " + std::string(tag) + " file");
  }
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

inline void writeText(const Invocation& call, const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    fail(call, "cannot write '" + path + "'");
  }
}

/// Writes the tag line, then every line.
inline void writeWorkFile(const Invocation& call, const std::string& path, std::string_view tag,
                          const std::vector<std::string>& lines) {
  std::string text(tag);
  text += '\n';
  for (const std::string& line : lines) {
    text += line + '\n';
  }
  writeText(call, path, text);
}

/// The lines of `lines` that start with "<key> ", without that start.
inline std::vector<std::string> valuesOf(const std::vector<std::string>& lines, std::string_view key) {
  std::vector<std::string> values;
  const std::string start = std::string(key) + " ";
  for (const std::string& line : lines) {
    if (line.rfind(start, 0) == 0) {
      values.push_back(line.substr(start.size()));
    }
  }
  return values;
}

}  // namespace tool

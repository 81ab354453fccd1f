// The manual page and the shell completion document exactly the options the
// parser accepts, and the completion works in bash.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "constraint/keyword_table.h"
#include "settings/option_table.h"
#include "support/process.h"
#include "support/scratch.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> parserOptions() {
  std::vector<std::string> names = commandLineOptionNames();
  return {names.begin(), names.end()};
}

// The tag lines (the line after .TP or .TQ) of one section of a manual page.
std::vector<std::string> tagLines(const std::string& page, const std::string& section) {
  std::istringstream lines(page);
  std::string line;
  bool inSection = false;
  bool tagLine = false;
  std::vector<std::string> tags;
  while (std::getline(lines, line)) {
    if (line.rfind(".SH ", 0) == 0) {
      inSection = line == ".SH " + section;
      continue;
    }
    if (!inSection) {
      continue;
    }
    if (line == ".TP" || line == ".TQ") {
      tagLine = true;
      continue;
    }
    if (tagLine) {
      std::string plain = std::regex_replace(line, std::regex(R"(\\-)"), "-");
      tags.push_back(std::regex_replace(plain, std::regex(R"(\\f[RPBI])"), " "));
      tagLine = false;
    }
  }
  return tags;
}

// The option names on the tag lines of one section.
std::set<std::string> documentedOptions(const std::string& page, const std::string& section) {
  static const std::regex option(R"((^|[ "])(--?[A-Za-z][A-Za-z0-9_+]*(--)?))");
  std::set<std::string> names;
  for (const std::string& tag : tagLines(page, section)) {
    for (std::sregex_iterator it(tag.begin(), tag.end(), option), end; it != end; ++it) {
      names.insert((*it)[2].str());
    }
  }
  return names;
}

// The keywords of a constraint-file table, without the section keywords.
std::set<std::string> tableKeywords(std::span<const KeywordRow> table) {
  std::set<std::string> keys;
  for (const KeywordRow& row : table) {
    if (!row.key.empty() && row.key[0] != '$') {
      keys.emplace(row.key);
    }
  }
  return keys;
}

TEST(Documentation, ManualPageListsExactlyTheParsersOptions) {
  std::set<std::string> documented = documentedOptions(readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s.1"), "OPTIONS");
  std::set<std::string> accepted = parserOptions();
  for (const std::string& name : accepted) {
    EXPECT_TRUE(documented.count(name)) << name << " is accepted but not in talvo_s(1)";
  }
  for (const std::string& name : documented) {
    EXPECT_TRUE(accepted.count(name)) << name << " is in talvo_s(1) but the parser does not accept it";
  }
}

TEST(Documentation, ConstraintPageListsExactlyTheReadersKeywords) {
  const std::string page = readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s-constraint.5");
  EXPECT_EQ(documentedOptions(page, "OPTION SECTION"), tableKeywords(optionTable()));
  std::set<std::string> directives;
  for (const std::string& tag : tagLines(page, "DIRECTIVE SECTION")) {
    std::istringstream words(tag);
    std::string macro;
    std::string keyword;
    words >> macro >> keyword;
    directives.insert(keyword);
  }
  EXPECT_EQ(directives, tableKeywords(directiveTable()));
}

TEST(Documentation, CompletionOffersExactlyTheParsersOptions) {
  std::string script = readFile(TALVO_COMPLETION_FILE);
  std::smatch match;
  ASSERT_TRUE(std::regex_search(script, match, std::regex(R"re(local options="([^"]*)")re")));
  std::istringstream words(match[1].str());
  std::set<std::string> offered;
  for (std::string word; words >> word;) {
    offered.insert(word);
  }
  EXPECT_EQ(offered, parserOptions());
}

// Runs the completion function on a command line and returns COMPREPLY, sorted.
std::string complete(const Scratch& scratch, const std::string& words) {
  ProcessOptions options;
  options.cwd = scratch.project();
  options.env = {{"PATH", "/usr/bin:/bin"}};
  std::string program = "source '" TALVO_COMPLETION_FILE "'; COMP_WORDS=(" + words +
                        "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _talvo_s; "
                        "printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort | paste -sd ' '";
  return runProcess({"/bin/bash", "-c", program}, options).out;
}

TEST(Documentation, CompletionCompletesOptionsAndFiles) {
  Scratch scratch;
  scratch.write("filter.c", "");
  scratch.write("filter.ctf", "");
  scratch.write("inc/x.h", "");
  EXPECT_EQ(complete(scratch, "talvo_s -bx_bi"), "-bx_bits\n");
  EXPECT_EQ(complete(scratch, "talvo_s -n_at"), "-n_atan2tbl -n_atantbl\n");
  EXPECT_EQ(complete(scratch, "talvo_s -algoc fil"), "filter.c filter.ctf\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ctf filter.ct"), "filter.ctf\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ip i"), "inc\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ghbit ''"), "\n");
}

}  // namespace

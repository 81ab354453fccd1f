// The manual page and the shell completion document exactly the options the
// parser accepts, and the completion works in bash, with and without Debian's
// bash-completion.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <variant>

#include "constraint/keyword_table.h"
#include "settings/option_table.h"
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

std::set<std::string> wordsOf(const std::string& text) {
  std::istringstream words(text);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

TEST(Documentation, CompletionOffersExactlyTheParsersOptionsAndKeywords) {
  const std::string script = readFile(TALVO_COMPLETION_FILE);
  std::smatch match;
  ASSERT_TRUE(std::regex_search(script, match, std::regex(R"re(local options="([^"]*)")re")));
  EXPECT_EQ(wordsOf(match[1].str()), parserOptions());
  // A keyword option offers its keywords; one read by its first character
  // offers each first character once, in lower case.
  std::map<std::string, std::set<std::string>> offered;
  std::map<std::string, std::set<std::string>> accepted;
  static const std::regex valueSet(R"re((-\S+)\) values="([^"]*)")re");
  for (std::sregex_iterator it(script.begin(), script.end(), valueSet), end; it != end; ++it) {
    offered[(*it)[1].str()] = wordsOf((*it)[2].str());
  }
  for (const OptionRow& row : commandLineOptions()) {
    if (const auto* keyword = std::get_if<Keyword>(&row.value)) {
      for (const KeywordCode& code : keyword->codes) {
        accepted[std::string(row.name)].insert(keyword->match == KeywordMatch::kFirstCharacter
                                                   ? std::string(1, static_cast<char>(std::tolower(code.keyword[0])))
                                                   : std::string(code.keyword));
      }
    }
  }
  EXPECT_EQ(offered, accepted);
}

// Runs the completion function on a command line in bash, once with Debian's
// bash-completion loaded and once without it, and returns COMPREPLY sorted,
// one entry per line, when both agree.
std::string complete(const Scratch& scratch, const std::string& words) {
  ProcessOptions options;
  options.cwd = scratch.project();
  options.env = {{"PATH", "/usr/bin:/bin"}};
  auto reply = [&](const std::string& preamble) {
    std::string program = preamble + "source '" TALVO_COMPLETION_FILE "'; COMP_WORDS=(" + words +
                          "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=\"${COMP_WORDS[*]}\"; "
                          "COMP_POINT=${#COMP_LINE}; _talvo_s; printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort";
    return runProcess({"/bin/bash", "-c", program}, options).out;
  };
  const std::string plain = reply("");
  const std::string loaded = reply("source /usr/share/bash-completion/bash_completion || exit; ");
  return plain == loaded ? loaded : "without bash-completion:\n" + plain + "with it:\n" + loaded;
}

TEST(Documentation, CompletionCompletesOptionsValuesAndFiles) {
  Scratch scratch;
  for (const char* file : {"my file.c", "filter.c", "filter.ctf", "notes.txt", "inc/x.h"}) {
    scratch.write(file, "");
  }
  EXPECT_EQ(complete(scratch, "talvo_s -n_at"), "-n_atan2tbl\n-n_atantbl\n");
  EXPECT_EQ(complete(scratch, "talvo_s my"), "my file.c\n");
  EXPECT_EQ(complete(scratch, "talvo_s -algoc ''"), "filter.c\ninc\nmy file.c\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ctf ''"), "filter.c\nfilter.ctf\ninc\nmy file.c\nnotes.txt\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ip ''"), "inc\n");
  EXPECT_EQ(complete(scratch, "talvo_s -n_sqrttbl o"), "off\non\n");
  EXPECT_EQ(complete(scratch, "talvo_s -fdp ''"), "m\nn\ny\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ghbit ''"), "\n");
}

}  // namespace

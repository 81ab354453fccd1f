// The manual pages list exactly what the parser and the reader accept, and
// the completion, generated from the parser's table, works in bash (with
// Debian's bash-completion, and once without it).
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "constraint/keyword_table.h"
#include "settings/option_table.h"
#include "support/scratch.h"

namespace {

using Words = std::set<std::string>;
using Entries = std::map<std::string, std::string>;  // a word of a tag and the text of its entry

// The words of the tag lines (after .TP or .TQ) of one section of a manual
// page that match `word`, each with the text of its entry; "\-" read as "-".
Entries entries(const std::string& page, const std::string& section, const std::regex& word) {
  std::istringstream lines(page);
  Entries found;
  Words open;  // the words of the entry being read
  bool inSection = false;
  bool tag = false;
  for (std::string line; std::getline(lines, line);) {
    line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
    inSection = line.starts_with(".SH ") ? line == ".SH " + section : inSection;
    if (!inSection || line == ".TP" || line.starts_with(".S") || line == ".PP") {
      open.clear();
    }
    const std::string tagLine = std::regex_replace(line, std::regex(R"(\\f[RPBI])"), " ");
    for (std::sregex_iterator it(tagLine.begin(), tagLine.end(), word), end; tag && it != end; ++it) {
      open.insert((*it)[1].str());
    }
    for (const std::string& name : open) {
      found[name] += line + "\n";
    }
    tag = inSection && (line == ".TP" || line == ".TQ");
  }
  return found;
}

Words tagWords(const std::string& page, const std::string& section, const std::regex& word) {
  Words words;
  for (const auto& [name, text] : entries(page, section, word)) {
    words.insert(name);
  }
  return words;
}

const std::regex kOption(R"((?:^|[ "])(--?[A-Za-z][A-Za-z0-9_+]*(?:--)?))");

Words keywordsOf(std::span<const KeywordRow> table) {
  Words keys;
  for (const KeywordRow& row : table) {
    if (!row.key.starts_with('$')) {
      keys.emplace(row.key);
    }
  }
  return keys;
}

// Each option row of the constraint page that can reject a line quotes its
// usage text as printed, or says it prints none.
TEST(Documentation, ThePagesListExactlyWhatTheParserAndTheReaderAccept) {
  const std::vector<std::string> names = commandLineOptionNames();
  EXPECT_EQ(tagWords(readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s.1"), "OPTIONS", kOption),
            Words(names.begin(), names.end()));
  const std::string page = readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s-constraint.5");
  EXPECT_EQ(tagWords(page, "OPTION SECTION", kOption), keywordsOf(optionTable()));
  EXPECT_EQ(tagWords(page, "DIRECTIVE SECTION", std::regex(R"(^\S+ (\S+))")), keywordsOf(directiveTable()));
  Entries options = entries(page, "OPTION SECTION", kOption);
  for (const KeywordRow& row : optionTable()) {
    const auto* kind = std::get_if<ctf::OptionValue>(&row.value);
    const std::string usage = row.usage != nullptr ? row.usage : "no usage text";
    EXPECT_TRUE(kind == nullptr || std::holds_alternative<ctf::Flag>(*kind) ||
                options[std::string(row.key)].find(usage) != std::string::npos)
        << row.key;
  }
}

// "Passed on" exactly for the options that change a tool line; the others
// are "Recorded only", or act in talvo_s itself.
TEST(Documentation, EveryOptionSaysWhetherAToolSeesIt) {
  const std::string reaching = "\n" + runProcess({TALVO_OPTION_NAMES, "tools"}, {}).out;
  EXPECT_TRUE(std::regex_match(reaching, std::regex("(\n-[^\n]+)*\n"))) << reaching;  // names, nothing else
  Entries found = entries(readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s.1"), "OPTIONS", kOption);
  for (const std::string& name : commandLineOptionNames()) {
    const bool reaches = reaching.find("\n" + name + "\n") != std::string::npos;
    const std::string& text = found[name];
    EXPECT_EQ(text.find("assed on") != std::string::npos, reaches) << name;
    EXPECT_EQ(text.find("Recorded only") != std::string::npos,
              !reaches && text.find("talvo_s itself") == std::string::npos)
        << name;
  }
}

// One list, in the manual and in the README, of texts the program itself prints.
TEST(Documentation, TheTextsKeptAsTheToolchainPrintsThemAreListedInBothPlaces) {
  const std::string readme = readFile(TALVO_SOURCE_DIR "/README.md");
  const std::string program = readFile(TALVO_S_BINARY);
  const std::string page = readFile(TALVO_SOURCE_DIR "/docs/man/talvo_s.1");
  const Words listed = tagWords(page, "DIAGNOSTICS", std::regex(R"x(^\.B "(.+)"$)x"));
  EXPECT_GE(listed.size(), 10U);
  for (const std::string& text : listed) {
    EXPECT_NE(readme.find("\n- `" + text + "`"), std::string::npos) << text;
    EXPECT_NE(program.find(text), std::string::npos) << text;
  }
}

// COMPREPLY for a command line, sorted, one entry a line: with Debian's
// bash-completion loaded, or (plain) with the completion's own fallbacks.
std::string complete(const Scratch& scratch, const std::string& words, bool plain = false) {
  const std::string program = std::string(plain ? "" : "source /usr/share/bash-completion/bash_completion || exit; ") +
                              "source '" TALVO_COMPLETION_FILE "'; COMP_WORDS=(" + words +
                              "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=\"${COMP_WORDS[*]}\"; "
                              "COMP_POINT=${#COMP_LINE}; _talvo_s; printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort";
  return runProcess({"/bin/bash", "-c", program}, {.cwd = scratch.project(), .env = {{"PATH", "/usr/bin:/bin"}}}).out;
}

TEST(Documentation, TheCompletionCompletesOptionsValuesAndFiles) {
  Scratch scratch;
  for (const char* file : {"my file.c", "filter.c", "filter.ctf", "notes.txt", "inc/x.h"}) {
    scratch.write(file, "");
  }
  EXPECT_EQ(complete(scratch, "talvo_s -n_at"), "-n_atan2tbl\n-n_atantbl\n");
  EXPECT_EQ(complete(scratch, "talvo_s -algoc ''"), "filter.c\ninc\nmy file.c\n");
  EXPECT_EQ(complete(scratch, "talvo_s -algoc ''", true), "filter.c\ninc\nmy file.c\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ctf ''"), "filter.ctf\ninc\n");
  EXPECT_EQ(complete(scratch, "talvo_s -c"), "-ctf\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ctf c.ctf -c"), "\n");  // only the first counts
  EXPECT_EQ(complete(scratch, "talvo_s -ip ''"), "inc\n");
  EXPECT_EQ(complete(scratch, "talvo_s -fdp ''"), "m\nn\ny\n");
  EXPECT_EQ(complete(scratch, "talvo_s -n_atan2tbl ''"), "off\non\n");
  EXPECT_EQ(complete(scratch, "talvo_s -ghbit ''"), "16\n2\n32\n4\n64\n8\n");
  EXPECT_EQ(complete(scratch, "talvo_s -maxt ''"), "\n");  // any number: nothing to offer
}

}  // namespace

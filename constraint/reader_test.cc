// The reader through its entry points and the real keyword tables: sections,
// comments, the reading mode, and its two messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "constraint/read_testing.h"

namespace {

std::string syntaxError(int line, const std::string& usage = "") {
  return "Error:c.ctf:" + std::to_string(line) + ":Syntx error :" + usage + "\n";
}

const std::string kOptions = "$def_start_option\n";

TEST(Reader, EmptyFilesCommentsAndBlankLinesAreAccepted) {
  for (const char* text : {"", "# one\n// two\n#\n   \t\n , ,\n", "\\\n#x\n\\\n//x\n", "$def_start_option"}) {
    ConstraintStore store;
    EXPECT_EQ(readPrinting(store, text), "") << text;
  }
}

TEST(Reader, KeywordsAreLookedUpInTheCurrentSectionOnly) {
  for (const auto& [text, line] : std::vector<std::pair<std::string, int>>{
           {"-max 16\n", 1},                            // an option at the top level
           {"$def_start_option\n$def_directive\n", 2},  // sections do not nest
           {"$def_directive\n$end_start_option\n", 2},  // nor end each other
           {"$def_start_option\n/x\n", 2},              // one slash is no comment
       }) {
    ConstraintStore store;
    EXPECT_EQ(readPrinting(store, text), syntaxError(line)) << text;
  }
}

TEST(Reader, SectionsMayRepeatInAnyOrderAndTheFileMayEndInside) {
  ConstraintStore store;
  EXPECT_EQ(readPrinting(store, "$def_directive\nscale a f v 8\n$end_directive\n" + kOptions +
                                    "-max,8\n$end_start_option\n" + kOptions + "-max 9\n"),
            "");
  EXPECT_EQ(store.constraintOptions.max.value, 9);
  EXPECT_EQ(store.currentTable, KeywordTableId::option);
}

TEST(Reader, AnErrorNamesTheLineFeedsReadAndEndsTheRead) {
  ConstraintStore store;
  EXPECT_EQ(readPrinting(store, kOptions + "-max \\\n \\\n 99\n-max 8\n"), syntaxError(4, "-max <numOfBit>"));
  EXPECT_EQ(store.constraintOptions.max.given, 0);
  // A read starts at the top level; the usage text stays from the last rejection.
  EXPECT_EQ(readPrinting(store, "\n-max 8\n"), syntaxError(2, "-max <numOfBit>"));
}

TEST(Reader, EachSwitchSilencesTheLinesOfItsSectionButNotTheKeywords) {
  const std::string directives = "$def_directive\nscale\n$end_directive\n";
  const std::string options = kOptions + "-max 999\n$end_start_option\n";
  ConstraintStore directivesOff;
  setConstraintMode(directivesOff, 0, 1);
  EXPECT_EQ(readPrinting(directivesOff, directives + options), syntaxError(5, "-max <numOfBit>"));
  ConstraintStore optionsOff;
  setConstraintMode(optionsOff, 1, 0);
  EXPECT_EQ(readPrinting(optionsOff, options + directives), syntaxError(5, "scale directive <fileName>"));
}

TEST(Reader, AFileIsReadLikeItsTextAndOneThatCannotBeReadIsNotOpened) {
  const std::string path = testing::TempDir() + "/reader_test.ctf";
  const std::string missing = path + ".missing";
  std::ofstream(path, std::ios::binary) << kOptions << "-max 8\n-max 70";
  for (const auto& [name, printed] : std::vector<std::pair<std::string, std::string>>{
           {path, "Error:" + path + ":2:Syntx error :-max <numOfBit>\n"},
           {missing, "Error:constarint:Cat't open '" + missing + "'\n"},
           {testing::TempDir(), "Error:constarint:Cat't open '" + testing::TempDir() + "'\n"},
       }) {
    ConstraintStore store;
    testing::internal::CaptureStdout();
    EXPECT_EQ(readConstraintFile(store, name), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), printed);
  }
  std::filesystem::remove(path);
}

}  // namespace

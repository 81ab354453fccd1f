// The reader through its text entry point and the real keyword tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "constraint/constraint.h"
#include "constraint/read_testing.h"

namespace {

using constraint_testing::Read;

Read read(ConstraintStore& store, const std::string& text) {
  return constraint_testing::readCapturing(store, text, "c.ctf");
}

std::string syntaxError(int line, const std::string& usage = "") {
  return "Error:c.ctf:" + std::to_string(line) + ":Syntx error :" + usage + "\n";
}

const std::string kOptions = "$def_start_option\n";

TEST(Reader, EmptyFilesCommentsAndBlankLinesAreAccepted) {
  for (const char* text : {"", "\n\n", "# one\n// two\n#\n#x y\n//x\n   \t\n , ,\n", "#only a comment without line end",
                           "$def_start_option", "$def_start_option\n$end_start_option\n$def_directive\n"}) {
    ConstraintStore store;
    EXPECT_EQ(read(store, text).status, 0) << text;
  }
}

TEST(Reader, KeywordsAreLookedUpInTheCurrentSectionOnly) {
  struct Case {
    const char* text;
    int line;
  };
  for (const Case& c : std::vector<Case>{
           {"-max 16\n", 1},                            // an option at the top level
           {"$end_directive\n", 1},                     // a closing keyword at the top level
           {"$def_start_option\n$def_directive\n", 2},  // sections do not nest
           {"$def_directive\n$end_start_option\n", 2},  // the other section's end
           {"$def_directive\nscaling a b c 8\n", 2},    // a misspelt directive
           {"$def_start_option\n-MAX 16\n", 2},         // keywords are case-sensitive
           {"$def_start_option\n/x\n", 2},              // one slash is no comment
           {"$def_start_option\n$end_start_option\n-p x\n", 3},
       }) {
    ConstraintStore store;
    EXPECT_EQ(read(store, c.text).out, syntaxError(c.line)) << c.text;
  }
}

TEST(Reader, SectionsMayRepeatInAnyOrderAndTheFileMayEndInside) {
  ConstraintStore store;
  EXPECT_EQ(read(store, "$def_directive\nscale a f v 8\n$end_directive\n" + kOptions + "-max 8\n$end_start_option\n" +
                            kOptions + "-max 9\n")
                .status,
            0);
  EXPECT_EQ(store.constraintOptions.max.value, 9);
  EXPECT_EQ(store.currentTable, KeywordTableId::option);
}

TEST(Reader, ACommaEndsAKeyword) {
  ConstraintStore store;
  EXPECT_EQ(read(store, kOptions + "-max,16\n").status, 0);
  EXPECT_EQ(store.constraintOptions.max.value, 16);
}

TEST(Reader, AKeywordAloneOnItsLineReachesItsHandlerWithoutARest) {
  ConstraintStore store;
  EXPECT_EQ(read(store, kOptions + "-grun_level\n").out, syntaxError(2));
  ConstraintStore other;
  EXPECT_EQ(read(other, kOptions + "-grun_level ,\n").status, 0);
}

TEST(Reader, CarriageReturnLineFeedEndsLinesAndABackslashBeforeItContinues) {
  ConstraintStore store;
  EXPECT_EQ(read(store, "$def_start_option\r\n-D A \\\r\n B\r\n-max 12\r\n").status, 0);
  EXPECT_EQ(store.constraintOptions.D.list, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(store.constraintOptions.max.value, 12);
}

TEST(Reader, ACommentEndingInABackslashSwallowsTheNextLine) {
  ConstraintStore store;
  EXPECT_EQ(read(store, kOptions + "# note \\\n-max 99\n").status, 0);
}

TEST(Reader, TheLineNumberOfAnErrorIsThatOfTheLastLineFeedRead) {
  struct Case {
    std::string text;
    int line;
  };
  for (const Case& c : std::vector<Case>{
           {kOptions + "-max \\\n \\\n 99\n", 4},  // a continued line: its last physical line
           {kOptions + "-max 8\n-max 99", 2},      // no line feed after the last line
           {kOptions + "-D " + std::string(6000, 'm') + "\n-max 0\n", 3},
       }) {
    ConstraintStore store;
    EXPECT_EQ(read(store, c.text).out, syntaxError(c.line, "-max <numOfBit>")) << c.text.substr(0, 40);
  }
}

TEST(Reader, ALineOfSeveralThousandCharactersIsAssembledWhole) {
  ConstraintStore store;
  std::string name(7000, 'n');
  EXPECT_EQ(read(store, kOptions + "-D " + name + " tail\n").status, 0);
  EXPECT_EQ(store.constraintOptions.D.list, (std::vector<std::string>{name, "tail"}));
}

TEST(Reader, ReadingStopsAtTheFirstRejectedLineAndKeepsWhatCameBefore) {
  ConstraintStore store;
  EXPECT_EQ(read(store, kOptions + "-max 8\n-max 0\n-max 16\n").status, -1);
  EXPECT_EQ(store.constraintOptions.max.value, 8);
}

TEST(Reader, EveryReadStartsAtTheTopLevelAndKeepsTheLastUsageText) {
  ConstraintStore store;
  EXPECT_EQ(read(store, kOptions + "-rnd x\n").out, syntaxError(2, "-rnd <t|r|e>"));
  EXPECT_EQ(read(store, "\n-max 8\n").out, syntaxError(2, "-rnd <t|r|e>"));
}

TEST(Reader, TheModeSilencesOneSectionButNotItsKeywords) {
  ConstraintStore store;
  setConstraintMode(store, 0, 0);
  EXPECT_EQ(read(store, kOptions + "-max 999\n$end_start_option\n$def_directive\nscale\nunroll a f x\n").status, 0);
  EXPECT_EQ(store.constraintOptions.max.given, 0);
  EXPECT_TRUE(directiveList(store, DirectiveKind::scale).empty());
  EXPECT_EQ(read(store, "$def_directive\nscaling\n").out, syntaxError(2));
}

TEST(Reader, ANulByteNeitherCrashesNorHangs) {
  ConstraintStore store;
  // The NUL ends the text of its piece; the line goes on with the next one.
  EXPECT_EQ(read(store, kOptions + std::string("-p ab\0cd\n-q\n", 12)).status, 0);
  EXPECT_EQ(store.constraintOptions.p.text, "ab-q");
  EXPECT_EQ(read(store, std::string("\0\0\0", 3)).status, 0);
}

TEST(Reader, APathThatCannotBeReadIsReportedAsNotOpened) {
  ConstraintStore store;
  std::string missing = testing::TempDir() + "/no-such-constraint-file";
  std::string directory = testing::TempDir();
  for (const std::string& path : {missing, directory}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(readConstraintFile(store, path), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error:constarint:Cat't open '" + path + "'\n");
  }
}

TEST(Reader, AFileIsReadLikeItsText) {
  std::string path = testing::TempDir() + "/reader_test.ctf";
  std::ofstream(path, std::ios::binary) << kOptions << "-max 8\n-maxt 9d\n-max 70";
  ConstraintStore store;
  testing::internal::CaptureStdout();
  EXPECT_EQ(readConstraintFile(store, path), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error:" + path + ":3:Syntx error :-max <numOfBit>\n");
  EXPECT_EQ(store.constraintOptions.maxt.value, 9);
  std::filesystem::remove(path);
}

}  // namespace

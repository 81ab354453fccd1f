// The reader through its entry points and the real keyword tables: sections,
// comments, the reading mode, and its two messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "constraint/read_testing.h"

namespace {

const std::string kOptions = "$def_start_option\n";

TEST(Reader, KeywordsAreLookedUpInTheCurrentSectionOnlyAfterCommentsAndBlanks) {
  for (const auto& [text, printed] : std::vector<std::pair<std::string, std::string>>{
           {"# one\n// two\n#\n   \t\n , ,\n\\\n#x\n\\\n//x\n", ""},  // the last two become comments when joined
           {"-max 16\n", ">>> '-max' is not a keyword outside a section.\n" + syntaxError(1)},
           {"$def_directive\n$end_start_option\n",  // sections do not end each other
            ">>> '$end_start_option' is not a keyword of this section.\n" + syntaxError(2)},
           {kOptions + "/x\n", ">>> '/x' is not a keyword of this section.\n" + syntaxError(2)},  // no comment
       }) {
    ConstraintStore store;
    EXPECT_EQ(readPrinting(store, text), printed) << text;
  }
}

TEST(Reader, AnErrorNamesTheLineFeedsReadAndEndsTheRead) {
  ConstraintStore store;
  EXPECT_EQ(readPrinting(store, kOptions + "-max \\\n \\\n 99\n-max 8\n"), syntaxError(4, "-max <numOfBit>"));
  EXPECT_EQ(store.constraintOptions.max.given, 0);
  // A read starts at the top level. Nothing resets the usage text, so an error
  // whose line sets none shows the last one (its reason line shows the
  // keyword); a run reads one file only.
  EXPECT_EQ(readPrinting(store, "\n-max 8\n"),
            ">>> '-max' is not a keyword outside a section.\n" + syntaxError(2, "-max <numOfBit>"));
}

// A run reads options only: the directive lines are let through unread, but
// the section's keywords still count.
TEST(Reader, WithDirectivesOffTheirLinesAreSilentButNotTheKeywords) {
  ConstraintStore store;
  setConstraintMode(store, 0, 1);
  EXPECT_EQ(readPrinting(store, "$def_directive\nscale\n$end_directive\n" + kOptions + "-max 999\n"),
            syntaxError(5, "-max <numOfBit>"));
}

// A file that cannot be opened is reported the same way, with its reason (see the
// run control tests).
TEST(Reader, AFileIsReadLikeItsTextAndOneThatCannotBeReadIsReported) {
  const std::string path = testing::TempDir() + "/reader_test.ctf";
  std::ofstream(path, std::ios::binary) << kOptions << "-max 8\n-max 70";
  ConstraintStore store;
  testing::internal::CaptureStdout();
  EXPECT_EQ(readConstraintFile(store, path), -1);
  EXPECT_EQ(readConstraintFile(store, testing::TempDir()), -1);  // a folder opens, but cannot be read
  EXPECT_EQ(testing::internal::GetCapturedStdout(), syntaxError(2, "-max <numOfBit>", path) + ">>> '" +
                                                        testing::TempDir() + "' cannot be read: Is a directory.\n" +
                                                        "Error:constarint:Cat't open '" + testing::TempDir() + "'\n");
  std::filesystem::remove(path);
}

}  // namespace

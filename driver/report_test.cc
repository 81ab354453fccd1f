#include "driver/report.h"

#include <gtest/gtest.h>

namespace {

TEST(Reporters, PrintPrefixAndCountEvenForEmptyMessages) {
  RunSettings rs;
  testing::internal::CaptureStdout();
  reportError(rs, "");
  reportError(rs, "No input files.");
  reportWarning(rs, "too large");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error : \nError : No input files.\nWarning : too large\n");
  EXPECT_EQ(rs.errorCount, 2);
  EXPECT_EQ(rs.warningCount, 1);
}

}  // namespace

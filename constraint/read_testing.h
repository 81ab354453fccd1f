// Test helper: what the reader prints reading constraint-file text named
// "c.ctf"; nothing when it accepted every line.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "constraint/constraint.h"

inline std::string readPrinting(ConstraintStore& store, const std::string& text) {
  testing::internal::CaptureStdout();
  readConstraintText(store, text, "c.ctf");
  return testing::internal::GetCapturedStdout();
}

// Test helper: reads constraint-file text and captures what the reader printed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "constraint/constraint.h"

namespace constraint_testing {

struct Read {
  int status;
  std::string out;
};

inline Read readCapturing(ConstraintStore& store, const std::string& text, const std::string& name) {
  testing::internal::CaptureStdout();
  int status = readConstraintText(store, text, name);
  return {status, testing::internal::GetCapturedStdout()};
}

}  // namespace constraint_testing

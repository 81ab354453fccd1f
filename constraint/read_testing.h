// Test helpers: what the reader prints reading constraint-file text named
// "c.ctf" (nothing when it accepted every line), and its syntax error message.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "constraint/constraint.h"

inline std::string readPrinting(ConstraintStore& store, const std::string& text) {
  testing::internal::CaptureStdout();
  readConstraintText(store, text, "c.ctf");
  return testing::internal::GetCapturedStdout();
}

inline std::string syntaxError(int line, const std::string& usage = "", const std::string& name = "c.ctf") {
  return "Error:" + name + ":" + std::to_string(line) + ":Syntx error :" + usage + "\n";
}

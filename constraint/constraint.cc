#include "constraint/constraint.h"

#include <cstdio>

void setConstraintMode(ConstraintStore& store, int directivesEnabled, int optionsEnabled) {
  store.directivesEnabled = directivesEnabled;
  store.optionsEnabled = optionsEnabled;
}

int readConstraintFile(ConstraintStore& /*store*/, const std::string& path) {
  // The reader lands with the constraint-file work; until then a file cannot be taken.
  std::printf("Error:constarint:Cat't open '%s'\n", path.c_str());
  return -1;
}

void applyConstraintOptions(const ConstraintStore& /*store*/, RunSettings& /*rs*/) {}

void releaseConstraintStore(ConstraintStore& /*store*/) {}

// What the constraint file reader keeps for the rest of the run.
#pragma once

struct ConstraintStore {
  int directivesEnabled = 1;
  int optionsEnabled = 1;
};

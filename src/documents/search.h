// The state of Find and Replace, kept for the run.
#pragma once
#include <string>

struct SearchState {
  std::string findText;
  std::string replaceText;
};

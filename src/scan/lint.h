// Checks of a database text before it ships: the layout the line reader relies on and the
// entry grammar, as far as a mistake would make the scan misread a line or miss a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvanta::scan {

struct LintProblem {
  size_t line = 0;  // 1-based, as an editor counts lines (LF); 0 for the text as a whole
  std::string message;
};

// Problems in text order; none for a good text.
std::vector<LintProblem> LintDatabaseText(const uint8_t* text, size_t size);

}  // namespace morvanta::scan

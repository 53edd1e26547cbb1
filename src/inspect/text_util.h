// Small text helpers of the inspection tools.
#pragma once

#include <string>

namespace morvanta::inspect {

// Blanks and control characters off both ends.
inline std::string TrimText(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// ASCII letters lower-cased; other bytes unchanged.
inline std::string AsciiLowerText(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace morvanta::inspect

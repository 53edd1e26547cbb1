// Small helpers shared by the database tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace morvanta::database::testing {

inline std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

inline std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A file of the build machine, read directly (these are the build's own outputs and the
// source data, not the system under test).
inline std::vector<uint8_t> ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

// Lines joined with CR LF after each.
inline std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// A date line of the database's 33 characters.
inline std::string DateLine(char variant) {
  return std::string("Threat database 2026-01-1") + variant + ", Upd 1";
}

}  // namespace morvanta::database::testing

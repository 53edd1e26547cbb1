// The program part of a command line or service image path, as the fake machine reads it.
#pragma once

#include <string>

namespace morvanta::platform::fake {

// A quoted first token, or the text up to the first blank.
inline std::string ProgramOf(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find(' '));
}

}  // namespace morvanta::platform::fake

// The program's two modes, decided once at entry by its own file name.
#pragma once

#include <string>

#include "platform/platform.h"

namespace morvanta::app {

extern const char kUpgradeFileName[];  // "kavup.exe"
extern const char kProgramFileName[];  // "morvanta.exe"

enum class EntryMode {
  Normal,   // create the windows and run
  Upgrade,  // the freshly downloaded upgrade: replace the installed program and end
};

// The file name part of the program's path, compared with "kavup.exe" exactly (letter case
// included).
EntryMode DecideEntryMode(const std::string& modulePath);

// Removes a downloaded upgrade left in the program folder; a failure is of no concern.
void DeleteLeftoverUpgrade(platform::Files& files, const std::string& programFolder);

}  // namespace morvanta::app

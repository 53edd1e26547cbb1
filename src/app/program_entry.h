// The program's two modes, decided once at entry by its own file name.
#pragma once

#include <cstdint>
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

struct ReplacementOptions {
  uint32_t retryMilliseconds = 250;  // between two tries of the copy
  uint32_t giveUpMilliseconds = 30000;
};

// The replacement step, run as "kavup.exe": the program's own file, read whole, is written
// over "morvanta.exe" beside it (a new file first, then the replacement, so a failed try
// never leaves half a program), tried again while the old program still holds the file.
// Then "morvanta.exe" is started. When the copy never succeeds within the time given, the
// installed program is started all the same, so the user is never left without one (its
// start deletes this download), and the result is false.
bool ReplaceInstalledProgram(platform::Platform& p, const std::string& modulePath,
                             ReplacementOptions options = {});

// Removes a downloaded upgrade left in the program folder; a failure is of no concern.
void DeleteLeftoverUpgrade(platform::Files& files, const std::string& programFolder);

}  // namespace morvanta::app

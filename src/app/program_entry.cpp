#include "app/program_entry.h"
#include "platform/text.h"

namespace morvanta::app {

const char kUpgradeFileName[] = "kavup.exe";
const char kProgramFileName[] = "morvanta.exe";

EntryMode DecideEntryMode(const std::string& modulePath) {
  return platform::FileNamePart(modulePath) == kUpgradeFileName ? EntryMode::Upgrade : EntryMode::Normal;
}

void DeleteLeftoverUpgrade(platform::Files& files, const std::string& programFolder) {
  files.DeleteFile(programFolder + kUpgradeFileName);
}

}  // namespace morvanta::app

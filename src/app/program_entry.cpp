#include "app/program_entry.h"

namespace morvanta::app {

const char kUpgradeFileName[] = "kavup.exe";
const char kProgramFileName[] = "morvanta.exe";

EntryMode DecideEntryMode(const std::string& modulePath) {
  std::string name = modulePath.substr(modulePath.find_last_of("\\:/") + 1);
  return name == kUpgradeFileName ? EntryMode::Upgrade : EntryMode::Normal;
}

void DeleteLeftoverUpgrade(platform::Files& files, const std::string& programFolder) {
  files.DeleteFile(programFolder + kUpgradeFileName);
}

}  // namespace morvanta::app

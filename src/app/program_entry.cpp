#include "app/program_entry.h"
#include "platform/text.h"

namespace morvanta::app {

const char kUpgradeFileName[] = "kavup.exe";
const char kProgramFileName[] = "morvanta.exe";

EntryMode DecideEntryMode(const std::string& modulePath) {
  return platform::FileNamePart(modulePath) == kUpgradeFileName ? EntryMode::Upgrade : EntryMode::Normal;
}

bool ReplaceInstalledProgram(platform::Platform& p, const std::string& modulePath,
                             ReplacementOptions options) {
  const std::string installed = platform::FolderPart(modulePath) + kProgramFileName;
  const auto image = p.files.ReadAll(modulePath);
  bool replaced = false;
  if (image && !image->empty()) {
    const uint32_t start = p.system.TickCount();
    while (true) {
      if (p.files.WriteAtomically(installed, image->data(), image->size())) {
        replaced = true;
        break;
      }
      if (p.system.TickCount() - start >= options.giveUpMilliseconds) break;
      p.system.Sleep(options.retryMilliseconds);
    }
  }
  p.shell.Open(installed);
  return replaced;
}

void DeleteLeftoverUpgrade(platform::Files& files, const std::string& programFolder) {
  files.DeleteFile(programFolder + kUpgradeFileName);
}

}  // namespace morvanta::app

// The running-object inventory: every file the machine runs or starts automatically, with
// its digest and size, as one sorted list the name patterns and the reports read.
#pragma once

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/views.h"
#include "inspect/startup_page.h"
#include "platform/platform.h"
#include "scan/name_patterns.h"

namespace morvanta::inspect {

// Lines kept sorted without regard to case; a line equal to one present (ignoring case) is
// dropped.
class RunningObjectList : public scan::RunningObjects {
 public:
  const std::vector<std::string>& List() override { return lines_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() {
    lines_.clear();
    ForgetResolvedPaths();
  }
  // False when the line was dropped as a duplicate.
  bool Add(const std::string& line);

 private:
  std::vector<std::string> lines_;
};

// What the inspection tools held when they were last loaded; the inventory does not reload
// them itself.
struct InventorySources {
  std::vector<StartupF> startupValues;             // the main window's startup page
  std::vector<std::string> startupFolderTargets;   // the tool window's Startup folder rows
  std::vector<std::string> serviceImagePaths;      // the image paths of the service rows
  std::vector<std::string> systemIniLines;         // the System.ini rows
};

// The autostart places of the registry, in their fixed order: distinct paths (ignoring
// case), some of them empty. Pending messages go through before each place's entries.
std::vector<std::string> CollectAutostartFiles(platform::Platform& p, common::MessagePump& pump);

// Rebuilds `list` from empty: "Proc ", "RegRun ", "Startup ", "Service ", "System.ini " and
// "Clsid " lines of path, "[" digest "]" and "[" size "]". Each added path is shown in
// `status` when one is given, and pending messages go through after it.
void CollectRunningObjects(platform::Platform& p, const common::MessageCatalog& catalog,
                           const InventorySources& sources, RunningObjectList& list,
                           common::MessagePump& pump, common::TextLine* status = nullptr);

}  // namespace morvanta::inspect

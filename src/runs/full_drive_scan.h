// The full drive scan: after a quick scan that found something, every file of the chosen
// drives is compared with the files the quick scan flagged; one of the same size and digest
// at another path is a copy, and becomes a new alert of the same threat.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/views.h"
#include "runs/quick_scan.h"

namespace morvanta::runs {

struct FullScanViews {
  common::CheckList& results;  // still with its header line, which every way out removes
  common::LogLines& log;
  common::TextLine& status;
  common::Prompts& prompts;
  common::MessagePump& pump;
  ScanPageControls& controls;
};

// `ListDrives(index, driveType)`: drive roots in the system's order, each followed by ";",
// of one type (any type without one); with an index other than -1, only the root counted at
// that index, whatever its type. The drive window lists the fixed drives.
std::string ListDrives(platform::Platform& platform, int index,
                       std::optional<platform::DriveType> type);
// The roots of a drive list ("C:\;D:\;").
std::vector<std::string> SplitDrives(const std::string& selectedDrives);

struct FullScanResult {
  size_t copies = 0;  // new alerts
  size_t files = 0;   // files looked at
  bool aborted = false;
};

// `FullDriveScan` over the roots of `selectedDrives`, ending with the page put back (the
// header line removed).
FullScanResult FullDriveScan(app::Session& session, FullScanViews views,
                             const std::string& selectedDrives);

// What `AbortFullScan` decided when the drive window was closed without "Scan".
enum class AbortChoice {
  ScanAnyway,  // No to "Do you want to abort full scan process?": the scan runs after all
  Fix,         // Yes, then Yes to cleaning what was found: the page is put back, then the fix
  Back,        // Yes, and nothing to clean or No to cleaning: the page is put back
};

// `AbortFullScan`: asks, and puts the results page back unless the scan runs after all.
AbortChoice AbortFullScan(app::Session& session, FullScanViews views);

}  // namespace morvanta::runs

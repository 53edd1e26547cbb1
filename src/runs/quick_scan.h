// The quick scan: the whole threat database once against the machine, from the first entry
// line to the end line. Every hit becomes an alert and, for most kinds, a checked line of
// the result list. The window, the full report builder (report mode) and the console
// scanner drive the same scan through the views below.
#pragma once

#include <cstdint>
#include <string>

#include "app/session.h"
#include "common/views.h"

namespace morvanta::runs {

// The results page's buttons during and after a scan.
class ScanPageControls {
 public:
  virtual ~ScanPageControls() = default;
  // "Fix" and with it "Add to Quarantine".
  virtual void SetFixEnabled(bool enabled) = 0;
  virtual void SetAbortEnabled(bool enabled) = 0;
  virtual void SetScanEnabled(bool enabled) = 0;
  virtual void SetBackVisible(bool visible) = 0;

  // A run has started: only "Abort" is left to press.
  void ShowRunning() {
    SetFixEnabled(false);
    SetAbortEnabled(true);
    SetScanEnabled(false);
    SetBackVisible(false);
  }
  // The run is over: "Quick scan" and "Back" again, "Fix" as the run leaves it.
  void ShowIdle(bool fixEnabled) {
    SetFixEnabled(fixEnabled);
    SetScanEnabled(true);
    SetAbortEnabled(false);
    SetBackVisible(true);
  }
};

// What the end of a scan offers: the full drive scan after a finding, the log upload after
// a clean scan (when the last update check asked for logs).
class ScanOffers {
 public:
  virtual ~ScanOffers() = default;
  virtual void StartFullDriveScan() = 0;
  virtual void SendScanLog() = 0;
};

// What the quick scan reaches of its window.
struct QuickScanViews {
  common::CheckList& results;      // "Worms && Viruses list:"
  common::LogLines& log;           // the results page's progress lines
  common::TextLine& status;        // the status bar's first panel
  common::Prompts& prompts;
  common::MessagePump& pump;
  common::ReportSink& report;      // writing while the full report is built: report mode
  common::CheckList& startupList;  // the startup page, refreshed before the scan
  ScanPageControls& controls;
  ScanOffers& offers;
};

// The row id of the "Scanning..." header line; alert lines carry their alert's index.
inline constexpr common::RowId kHeaderRow = ~common::RowId{0};
// The row id of the "Your computer is clean..." line.
inline constexpr common::RowId kCleanRow = kHeaderRow - 1;

struct QuickScanResult {
  uint64_t entriesRead = 0;  // entry lines taken up
  bool found = false;
  bool aborted = false;
  bool fullDriveScanStarted = false;  // the scan ended by starting it: the page stays as is
};

// `RunQuickScan`. Report mode runs while the full report is being written (the scan
// session's report flag, or `views.report` writing).
QuickScanResult RunQuickScan(app::Session& session, QuickScanViews views);

// The page after a scan, or after the full drive scan that went on from it: the header line
// enabled and removed, "Quick scan" enabled, "Abort" disabled, "Back" shown, and the status
// "Scan process aborted." or "Scan process finished.".
void FinishPage(QuickScanViews views, const common::MessageCatalog& catalog, bool aborted);

// Removes the result list's header line (enabled first), so that every alert's line index
// is its line's position. Every way out of a scan does this.
void RemoveHeaderLine(common::CheckList& results);

// The scan log line of a flagged file: "!Infected " and, lower-cased, the file name, "=;",
// the folder with its backslash, ";", the threat name, ";", the digest, ";", the size, ";".
std::string ScanLogLine(const std::string& path, const std::string& threatName,
                        const std::string& digest, int32_t size);

// The name generated threat names use: the file name up to its first "." (the whole file
// name when that is empty).
std::string BaseName(const std::string& path);

}  // namespace morvanta::runs

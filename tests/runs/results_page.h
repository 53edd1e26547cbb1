// A results page over a session whose program folder is the test's scratch folder, for the
// runs that work on a scan's alerts: the quick scan, the fix, the full drive scan and the
// quarantine run, each over in-memory views.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "machine.h"
#include "platform/text.h"
#include "runs/fix.h"
#include "runs/full_drive_scan.h"
#include "runs/quarantine_alerts.h"
#include "runs/quick_scan.h"
#include "runs/recorded_page.h"

namespace morvanta::runs {

inline constexpr char kDate[] = "Thursday, 10.12.2026, Upd 0042   ";
inline constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A results page over a session whose program folder is the test's scratch folder, with a
// RegBase.rgk that names HKEY_CURRENT_USER's Run key.
class Page {
 public:
  explicit Page(testing::Machine& m) : m_(m), session_(m.Get(), m.Scratch() + "\\") {
    m.Get().files.WriteAll(m.ScratchPath("RegBase.rgk"),
                           std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
  }
  app::Session& Session() { return session_; }
  void QuickScan(const std::vector<std::string>& entries, bool fullScanAfter = false) {
    std::string text = std::string(kDate) + "\r\n";
    for (const auto& e : entries) text += e + "\r\n";
    text += "_end\r\n";
    session_.Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
    prompts.Answer({fullScanAfter});
    RunQuickScan(session_, {results, log, status, prompts, pump, report, startup, controls, offers});
    prompts.shown.clear();
  }
  FixResult Fix() { return FixAlerts(session_, {results, log, status, prompts, pump, controls, offers}); }
  QuarantineResult Quarantine() {
    return QuarantineAlerts(session_, {results, log, status, prompts, pump, controls});
  }
  FullScanResult FullScan(const std::string& roots) {
    return FullDriveScan(session_, {results, log, status, prompts, pump, controls}, roots);
  }
  AbortChoice Abort() { return AbortFullScan(session_, {results, log, status, prompts, pump, controls}); }
  bool Logged(const std::string& end) const {
    return std::any_of(log.lines.begin(), log.lines.end(),
                       [&](const std::string& l) { return platform::EndsWith(l, end); });
  }

  common::MemoryCheckList results, startup;
  common::MemoryLog log;
  common::MemoryText status;
  common::ScriptedPrompts prompts{true};
  common::CountingPump pump;
  common::MemoryReport report;
  RecordedControls controls;
  RecordedOffers offers;

 private:
  testing::Machine& m_;
  app::Session session_;
};

}  // namespace morvanta::runs

// The detections of a scan: `Alert` records in an `AlertList` whose paths are unique without
// regard to letter case, and the `ScanSession` that owns them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/views.h"
#include "scan/ignored_paths.h"

namespace morvanta::scan {

struct Alert {
  std::string Path;
  std::string ThreatName;
  bool IsScanDir = false;
  bool IsWalkDir = false;
  bool IsWalkFile = false;
  bool IsFullScanFile = false;
  int32_t LineIndex = -1;  // its line in the result list, or -1
  std::string Md5;         // empty for folders
};

class AlertList {
 public:
  // True when an alert with this path, compared in lower case, is listed.
  bool IsAlertPath(const std::string& path) const;
  // The index of the alert with this path (compared in lower case); nothing when none.
  std::optional<size_t> IndexOf(const std::string& path) const;
  // Appends a new alert; false (and nothing added) when the path is already listed.
  bool AddAlert(const std::string& path, const std::string& threatName,
                const std::string& digest, int32_t lineIndex, bool isWalkFile, bool isWalkDir,
                bool isFullScanFile, bool isScanDir);

  size_t Size() const { return alerts_.size(); }
  bool Empty() const { return alerts_.empty(); }
  const Alert& operator[](size_t i) const { return alerts_[i]; }
  // For setting `LineIndex` once the result list is built; the path stays as it is.
  int32_t& LineIndexOf(size_t i) { return alerts_[i].LineIndex; }
  std::vector<Alert>::const_iterator begin() const { return alerts_.begin(); }
  std::vector<Alert>::const_iterator end() const { return alerts_.end(); }
  void Clear();

 private:
  std::vector<Alert> alerts_;
  std::unordered_map<std::string, size_t> lowerPaths_;  // to the alert's index
};

struct ScanSession {
  AlertList Alerts;
  int32_t AlertCounter = 0;  // flagged files, shown at the end of the scans
  // The run's one abort flag: "Abort", a second click on a starting button, Ctrl+C.
  common::AbortFlag Abort;
  bool Found = false;
  bool ReportInProgress = false;
  bool ReportHeaderWritten = false;
  std::string TimeStamp;
  // What the ignore lists cover, as each run takes them up at its start; nothing covered is
  // flagged, walked or removed. Kept over a reset: the lists are not the scan's.
  IgnoredPaths Ignored;
  // What the scans passed over because the lists cover it; emptied by a reset.
  SkippedPaths Skipped;

  // The start of a quick scan: no alerts, counter 0, flags cleared (except the report
  // flag, which belongs to the report builder).
  void Reset();
  // Counter steps that stop at the ends of the 32-bit range instead of overflowing.
  void CountUp();
  void CountDown();
};

}  // namespace morvanta::scan

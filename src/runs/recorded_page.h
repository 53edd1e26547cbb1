// The results page's buttons and end-of-run offers as plain state, for the runs that have
// no window: the console, the benchmarks and the tests.
#pragma once

#include "runs/quick_scan.h"

namespace morvanta::runs {

class RecordedControls : public ScanPageControls {
 public:
  void SetFixEnabled(bool e) override { fix = e; }
  void SetAbortEnabled(bool e) override { abort = e; }
  void SetScanEnabled(bool e) override { scan = e; }
  void SetBackVisible(bool v) override { back = v; }
  bool fix = false, abort = false, scan = true, back = true;
};

// Counts what a run offered; the offers themselves are the caller's to follow.
class RecordedOffers : public ScanOffers {
 public:
  void StartFullDriveScan() override { ++fullScans; }
  void SendScanLog() override { ++logUploads; }
  int fullScans = 0, logUploads = 0;
};

}  // namespace morvanta::runs

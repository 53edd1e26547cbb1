// "Fix": removes what the scans found. Works through the session's alert list: every
// selected file is deleted (its processes ended, its startup values removed, retried for up
// to four seconds), then the infected folders are removed deepest first. Each alert's line is
// marked with its outcome and the scan log line of each file with its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/views.h"
#include "runs/quick_scan.h"

namespace morvanta::runs {

// What the fix reaches of its window.
struct FixViews {
  common::CheckList& results;  // the lines the scans added; their ticks select what goes
  common::LogLines& log;
  common::TextLine& status;
  common::Prompts& prompts;
  common::MessagePump& pump;
  ScanPageControls& controls;
  ScanOffers& offers;  // the log upload after the summary
};

struct FixResult {
  size_t cleaned = 0;  // files and folders removed (a file already gone counts)
  size_t failed = 0;   // files that stayed: locked, or not removable within the retry time
  // Of those, the ones the system deletes when it next starts.
  std::vector<std::string> leftForRestart;
  size_t foldersLeft = 0;  // infected folders that could not be removed
  bool aborted = false;
};

// How long the fix keeps trying to delete one file.
inline constexpr double kCleanRetrySeconds = 4.0;

// Whether the fix acts on a file alert: found by the full drive scan or inside a flagged
// folder, without a line, or with its line ticked. Folder alerts are not files.
bool IsSelectedFile(const scan::Alert& alert, const common::CheckList& results);

// `FixAlerts`.
FixResult FixAlerts(app::Session& session, FixViews views);

// The outcome of a cleaned file's line: "Clean...[%f sec]" with two decimals and the user's
// decimal separator.
std::string CleanLine(const common::MessageCatalog& catalog, double seconds,
                      const std::string& decimalSeparator);

}  // namespace morvanta::runs

// "Add to Quarantine": copies the alerts the fix would remove into the quarantine, ending
// their processes first; the files stay where they are until the fix removes them. A file
// alert found by a name pattern that is locked is never stored, but its processes end.
#pragma once

#include <cstddef>

#include "app/session.h"
#include "common/views.h"
#include "runs/quick_scan.h"

namespace morvanta::runs {

// What the run reaches of its window.
struct QuarantineViews {
  common::CheckList& results;  // the scans' lines; their ticks select what is stored
  common::LogLines& log;
  common::TextLine& status;
  common::Prompts& prompts;
  common::MessagePump& pump;
  ScanPageControls& controls;
};

struct QuarantineResult {
  size_t added = 0;
  size_t failed = 0;  // selected files that were there and could not be stored
  bool aborted = false;
};

// `QuarantineAlerts`. The window offers the fix afterwards, as after every such run.
QuarantineResult QuarantineAlerts(app::Session& session, QuarantineViews views);

}  // namespace morvanta::runs

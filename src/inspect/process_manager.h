// The process manager: the running-process list and the main window's process page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/views.h"
#include "platform/platform.h"
#include "scan/path_tokens.h"

namespace morvanta::inspect {

struct RunningProcess {
  uint32_t pid = 0;
  // The full image path, or the snapshot's executable name where the path cannot be had;
  // "System Idle Process" for identifier 0.
  std::string path;
};

// The running processes in snapshot order; empty when the snapshot fails.
std::vector<RunningProcess> ListRunningProcesses(platform::Processes& processes);

// The presence test the scans use decides which processes the page lists.
using scan::IsFilePresent;

// What the process page reaches of its window.
struct ProcessPageViews {
  common::CheckList& list;
  common::TextLine& label;   // "Active processes (N)."
  common::TextLine& status;  // the status bar's hint panel, while a report is written
  common::ReportSink& report;
  common::Prompts& prompts;
};

// The logic of the "Active processes" page. Each row's id is the index of its path.
class ProcessPage {
 public:
  ProcessPage(platform::Platform platform, const common::MessageCatalog& catalog,
              ProcessPageViews views)
      : p_(platform), catalog_(catalog), views_(views) {}

  // `Button12Click`: rebuilds the list from the present image files, rewrites the label
  // and, while a report is written, its "Running processes" section.
  void Refresh();
  // `Button11Click`: after a Yes, ends every process of each ticked row's file name and,
  // with `deleteFiles`, deletes the row's file; then refreshes.
  void EndTask(bool deleteFiles);

  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  platform::Platform p_;
  const common::MessageCatalog& catalog_;
  ProcessPageViews views_;
  std::vector<std::string> paths_;
};

}  // namespace morvanta::inspect

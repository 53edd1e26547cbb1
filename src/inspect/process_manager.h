// The process manager: the running-process list and the main window's process page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "inspect/page_views.h"
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

// The logic of the "Active processes" page.
class ProcessPage {
 public:
  ProcessPage(platform::Platform platform, const common::MessageCatalog& catalog, CheckList& list,
              TextSink& label, TextSink& status, ReportSink& report)
      : p_(platform), catalog_(catalog), list_(list), label_(label), status_(status),
        report_(report) {}

  // `Button12Click`: rebuilds the list from the present image files, rewrites the label
  // and, while a report is written, its "Running processes" section.
  void Refresh();
  // `Button11Click`: after a Yes, ends every process of each ticked row's file name and,
  // with `deleteFiles`, deletes the row's file; then refreshes.
  void EndTask(bool deleteFiles, platform::WindowHandle owner);

 private:
  platform::Platform p_;
  const common::MessageCatalog& catalog_;
  CheckList& list_;
  TextSink& label_;
  TextSink& status_;
  ReportSink& report_;
};

}  // namespace morvanta::inspect

// The main window's "Startup files" page: the string values of the keys RegBase.rgk lists.
#pragma once

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/views.h"
#include "platform/platform.h"

namespace morvanta::inspect {

// One listed value of the page, one per row in row order.
struct StartupF {
  platform::RegRoot RootKey = platform::RegRoot::CurrentUser;
  std::string Key;
  std::string Name;
  std::string Value;
};

// What the startup page reaches of its window.
struct StartupPageViews {
  common::CheckList& list;
  common::ReportSink& report;
  common::Prompts& prompts;
};

// The logic of the page. Each row's id is the index of its entry in `entries`, the list the
// page fills (the session keeps it for the inventory and the reports).
class StartupPage {
 public:
  // `regBasePath` is the RegBase file to read: the program folder's in the program.
  StartupPage(platform::Platform platform, const common::MessageCatalog& catalog,
              StartupPageViews views, std::string regBasePath, std::vector<StartupF>& entries)
      : p_(platform), catalog_(catalog), views_(views), regBasePath_(std::move(regBasePath)),
        entries_(entries) {}

  // `Button15Click`: rebuilds the rows and the StartupF list; while a report is written,
  // also its "Startup files:" section.
  void Refresh();
  // `Button14Click`: after a Yes, deletes the value of each ticked row, reports each
  // failure, confirms when every deletion succeeded, and refreshes.
  void DeleteValues();

  const std::vector<StartupF>& Entries() const { return entries_; }

 private:
  // False after the failure was reported.
  bool DeleteValue(const StartupF& entry);

  platform::Platform p_;
  const common::MessageCatalog& catalog_;
  StartupPageViews views_;
  std::string regBasePath_;
  std::vector<StartupF>& entries_;
};

}  // namespace morvanta::inspect

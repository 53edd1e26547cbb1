// The main window's "Startup files" page: the string values of the keys RegBase.rgk lists.
#pragma once

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "inspect/page_views.h"
#include "platform/platform.h"

namespace morvanta::inspect {

// One listed value of the page, one per row in row order.
struct StartupF {
  platform::RegRoot RootKey = platform::RegRoot::CurrentUser;
  std::string Key;
  std::string Name;
  std::string Value;
};

class StartupPage {
 public:
  // `regBasePath` is the RegBase file to read: the program folder's in the program.
  StartupPage(platform::Platform platform, const common::MessageCatalog& catalog, CheckList& list,
              ReportSink& report, std::string regBasePath)
      : p_(platform), catalog_(catalog), list_(list), report_(report),
        regBasePath_(std::move(regBasePath)) {}

  // `Button15Click`: rebuilds the rows and the StartupF list; while a report is written,
  // also its "Startup files:" section.
  void Refresh();
  // `Button14Click`: after a Yes, deletes the value of each ticked row, reports failures,
  // confirms, and refreshes.
  void DeleteValues(platform::WindowHandle owner);

  const std::vector<StartupF>& Entries() const { return entries_; }

 private:
  platform::Platform p_;
  const common::MessageCatalog& catalog_;
  CheckList& list_;
  ReportSink& report_;
  std::string regBasePath_;
  std::vector<StartupF> entries_;
};

}  // namespace morvanta::inspect

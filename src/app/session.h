// What one run of the program shares, below every front end: the platform, the message
// catalogue, the program folder, the threat database, the scan session with its one abort
// flag, the running-object list, the inspection lists as last loaded, the update check
// state, the scan log list, the quarantine and the ignore lists. The GUI builds one and its
// windows hold a reference; a console program and the tests build one the same way.
#pragma once

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/ui_tasks.h"
#include "database/threat_database.h"
#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
#include "inspect/startup_page.h"
#include "inspect/startup_programs.h"
#include "platform/platform.h"
#include "remedy/ignore_lists.h"
#include "remedy/quarantine_store.h"
#include "scan/alerts.h"
#include "scan/scan_log.h"

namespace morvanta::app {

// The state of the most recent completed update check.
enum class UpdateCheckState {
  NotChecked = 0,     // no check has completed yet
  UpToDate = 1,
  UpdateOffered = 2,  // the program or the database was offered for download
  Failed = 3,
};

// What the inspection tools loaded last; the inventory, the full report and the report
// manager read these.
struct InspectionLists {
  std::vector<inspect::StartupF> startupValues;           // the main window's startup page
  std::vector<inspect::StartupRegEntry> startupRegistry;  // the tool window's Run keys
  std::vector<inspect::StartupFolderEntry> startupFolders;
  inspect::ServiceListing services;                       // both service lists
  inspect::KeyboardFilterListing keyboardFilters;
  inspect::IniListing systemIni;
  inspect::IniListing winIni;
};

class Session {
 public:
  // The program folder is the running executable's.
  explicit Session(platform::Platform platform);
  Session(platform::Platform platform, std::string programFolder);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  platform::Platform& Platform() { return platform_; }
  common::MessageCatalog& Catalog() { return catalog_; }
  const common::MessageCatalog& Catalog() const { return catalog_; }
  // With its trailing backslash; every data file is named relative to it.
  const std::string& ProgramFolder() const { return programFolder_; }
  std::string ProgramFile(const std::string& name) const { return programFolder_ + name; }

  database::ThreatDatabase& Database() { return database_; }
  // Loads "files.dat" from the program folder.
  database::LoadResult LoadDatabase();
  // The database's date line, or "Error" (catalogue entry 2) when it cannot be read.
  std::string DatabaseDate();

  scan::ScanSession& Scan() { return scan_; }
  common::AbortFlag& Abort() { return scan_.Abort; }
  scan::ScanLogList& ScanLog() { return scanLog_; }
  inspect::RunningObjectList& RunningObjects() { return runningObjects_; }
  InspectionLists& Lists() { return lists_; }
  const InspectionLists& Lists() const { return lists_; }
  // The quarantine folder and its index, shared by every front end of the run.
  remedy::QuarantineStore& Quarantine() { return quarantine_; }
  // The file and registry ignore lists, created empty; every front end loads them once.
  remedy::IgnoreLists& Ignore() { return ignore_; }
  const remedy::IgnoreLists& Ignore() const { return ignore_; }
  // From "FileIgnoreL.fil" and "RegIgnoreL.fil" in the program folder, and back.
  void LoadIgnoreLists() { ignore_.Load(platform_.files, programFolder_); }
  bool SaveIgnoreLists() const { return ignore_.Save(platform_.files, programFolder_); }
  // What the file ignore list covers, for a run to take up at its start.
  scan::IgnoredPaths IgnoredPaths() const { return scan::IgnoredPaths(ignore_.IgnoredPaths()); }
  // What the running-object collector reads of the lists.
  inspect::InventorySources InventorySources() const;

  // What workers (the downloads) hand to the thread that runs the windows or the console.
  common::UiTasks& Tasks() { return tasks_; }

  UpdateCheckState updateCheckState = UpdateCheckState::NotChecked;
  // Set by an update list that asks for scan logs; cleared by a successful upload.
  bool logUploadWanted = false;

 private:
  platform::Platform platform_;
  common::MessageCatalog catalog_;
  std::string programFolder_;
  database::ThreatDatabase database_;
  scan::ScanSession scan_;
  scan::ScanLogList scanLog_;
  inspect::RunningObjectList runningObjects_;
  InspectionLists lists_;
  remedy::QuarantineStore quarantine_;
  remedy::IgnoreLists ignore_;
  common::UiTasks tasks_;
};

}  // namespace morvanta::app

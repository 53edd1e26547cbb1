// The Report Manager's table: every file the machine runs or starts automatically, as rows
// of a kind, a path, the file's size and (for startup values) the key, in the order the
// window lists them; how a cell is drawn and which context menu the rows choose.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/views.h"

namespace morvanta::runs {

struct ReportRow {
  std::string kind;  // "Proc", "Clsid", "RegStartup", "Startup", "Service" or "System.ini"
  std::string path;  // for "RegStartup" the value's data as stored
  std::string size;  // in bytes, decimal; "0" when the file cannot be opened
  std::string key;   // for "RegStartup": root name + "\" + key path + "\"; else empty
};

// The size column of a path: its file's size, or "0" when it cannot be opened.
std::string FileSizeText(platform::Files& files, const std::string& path);

// `TFormR_DisplayFullLogFile`: the running processes whose files are present, the
// autostart places of the registry, the string values of the RegBase keys, then the
// Startup-folder, service and System.ini rows of the lists as last loaded (each resolved
// to an existing file; those that resolve to nothing add no row). Pending messages go
// through before each of the last three lists' rows.
std::vector<ReportRow> BuildReportRows(app::Session& session, common::MessagePump& pump);

// The table's columns, the kind's first.
enum ReportColumn { kKindColumn = 0, kPathColumn, kSizeColumn, kKeyColumn, kReportColumns };

// How a cell is drawn (`TFormR_List1CustomDrawItem`): a ticked row on a yellow background;
// the size "0" in red when its file passes `IsFilePresent` (present but empty or
// unreadable) and in blue when it does not; every other text in the window's text colour.
enum class CellText {
  Normal,
  EmptyFile,   // red
  MissingFile  // blue
};
struct CellColours {
  bool yellow = false;  // the background of a ticked row
  CellText text = CellText::Normal;
  bool operator==(const CellColours& o) const { return yellow == o.yellow && text == o.text; }
};
CellColours ColoursOf(platform::Files& files, const ReportRow& row, bool ticked, int column);

enum class ReportMenu { General, Process, StartupValue, Service };

// The menu a selected row chooses.
ReportMenu MenuOfSelection(const ReportRow& row);
// The menu a left click chooses from the ticked rows, in table order (never the service
// menu).
ReportMenu MenuOfTicked(const std::vector<const ReportRow*>& ticked);

// Retries of a forced deletion stop once this much time has passed on the system's clock.
inline constexpr double kForcedDeleteRetrySeconds = 4.0;

// What the Report Manager reaches of its window.
struct ReportManagerViews {
  common::CheckList& table;  // `List1`: caption the kind, sub-items path, size and key
  common::Prompts& prompts;
  common::MessagePump& pump;
};

// The logic of `TFormR`. Each row's id is the index of its ReportRow in `Rows`.
class ReportManager {
 public:
  ReportManager(app::Session& session, ReportManagerViews views)
      : s_(session), v_(views) {}

  // `TFormR_DisplayFullLogFile`.
  void Refresh();
  const std::vector<ReportRow>& Rows() const { return rows_; }
  // The row a table row shows; null for none.
  const ReportRow* RowAt(int row) const;

  // `TFormR_List1SelectItem`: remembers the row and its path; the menu it chooses.
  ReportMenu SelectItem(int row);
  // `TFormR_List1Click`: the menu the ticked rows choose.
  ReportMenu ClickMenu() const;
  const std::string& SelectedPath() const { return selectedPath_; }

  // The actions, each with its confirmation where it has one.
  void DeleteSelected();        // "Delete selected" and the general menu's "Delete files"
  void TerminateProcesses();    // "Terminate proceses"
  void DeleteProcesses();       // "Delete proceses"
  void DeleteValues();          // "Delete values"
  void DeleteFiles();           // the startup-value menu's "Delete files"
  void TerminateService();      // "Terminate service"
  void DeleteServiceFile();     // the service menu's "Delete file"

  // What a forced deletion does besides ending the file's processes and deleting it.
  enum class Deletion {
    File,            // the file alone
    FileAndValues,   // the startup values that name it too
    // A service's file: the startup values too, and the service is stopped through the
    // Service Control Manager, within the retries, before its processes are ended. A
    // service whose process is ended behind the manager's back counts as failed (Windows
    // then runs its recovery actions, which may start it again) or, under Wine, as running
    // for good.
    ServiceFile,
  };
  // Ends the processes of the file and deletes it, retrying (stopping a service run from it
  // too) for up to kForcedDeleteRetrySeconds. False, after the error box, when the file is
  // still there.
  bool ForcedDelete(const std::string& path, Deletion deletion);

 private:
  // Runs `act` on every ticked row from the top (or, with `selectedWhenNone` and none
  // ticked, on the selected row); a row `act` returns true for is deleted.
  void ForTickedRows(bool selectedWhenNone, const std::function<bool(const std::string&)>& act);
  void DeleteTableRow(int row);
  // Deletes the row last passed to SelectItem, if the table still shows it: never another
  // row of the same path (a program that runs and has a startup value of that very path).
  void DeleteSelectedRow();
  // Stops the first listed service whose image path begins with the path, written with or
  // without the quotes a path with blanks needs.
  bool StopServiceOf(const std::string& path);
  bool Confirm(const char* question);
  void Guarded(const std::function<void()>& action);

  app::Session& s_;
  ReportManagerViews v_;
  std::vector<ReportRow> rows_;
  std::string selectedPath_;
  std::optional<common::RowId> selectedId_;
};

}  // namespace morvanta::runs

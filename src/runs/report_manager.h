// The Report Manager's table: every file the machine runs or starts automatically, as rows
// of a kind, a path, the file's size and (for startup values) the key, in the order the
// window lists them; how a row is drawn and which context menu the rows choose.
#pragma once

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

enum class RowColour {
  Normal,
  Ticked,      // yellow background
  EmptyFile,   // red: size "0", the file present but empty or unreadable
  MissingFile  // blue: size "0", no such file
};
RowColour ColourOf(platform::Files& files, const ReportRow& row, bool ticked);

enum class ReportMenu { General, Process, StartupValue, Service };

// The menu a selected row chooses.
ReportMenu MenuOfSelection(const ReportRow& row);
// The menu a left click chooses from the ticked rows, in table order (never the service
// menu).
ReportMenu MenuOfTicked(const std::vector<const ReportRow*>& ticked);

}  // namespace morvanta::runs

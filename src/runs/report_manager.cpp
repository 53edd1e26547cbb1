#include "runs/report_manager.h"

#include <exception>

#include "inspect/process_manager.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
#include "remedy/regbase_file.h"
#include "scan/path_tokens.h"

namespace morvanta::runs {

std::string FileSizeText(platform::Files& files, const std::string& path) {
  if (path.empty()) return "0";
  auto file = files.Open(path, platform::OpenMode::Read);
  return file ? std::to_string(file->Size()) : "0";
}

std::vector<ReportRow> BuildReportRows(app::Session& session, common::MessagePump& pump) {
  platform::Platform& p = session.Platform();
  std::vector<ReportRow> rows;
  auto add = [&](const char* kind, const std::string& path, std::string key = {}) {
    rows.push_back({kind, path, FileSizeText(p.files, path), std::move(key)});
  };

  // The running programs whose files are there.
  try {
    for (const auto& process : inspect::ListRunningProcesses(p.processes))
      if (scan::IsFilePresent(p.files, process.path)) add("Proc", process.path);
  } catch (const std::exception&) {
  }

  try {
    for (const std::string& path : inspect::CollectAutostartFiles(p, pump))
      if (!path.empty()) add("Clsid", path);
  } catch (const std::exception&) {
  }

  // `TFormR_GetStartupRegValues`.
  try {
    remedy::WalkRegBaseFile(p.files, p.registry, session.ProgramFile(remedy::kRegBaseFileName),
                            [&](const remedy::RegBaseValue& v) {
                              add("RegStartup", v.data,
                                  std::string(platform::RegRootName(v.root)) + "\\" + v.keyPath + "\\");
                            },
                            platform::RegAccess::Read);
  } catch (const std::exception&) {
  }

  // The other windows' lists as they stand; an entry that fails to resolve adds nothing.
  auto resolved = [&](const char* kind, const std::string& text) {
    pump.ProcessPendingMessages();
    std::string path;
    try {
      path = scan::ResolveCommandPath(p, text);
    } catch (const std::exception&) {
      path.clear();
    }
    if (!path.empty()) add(kind, path);
  };
  const app::InspectionLists& lists = session.Lists();
  for (const auto& entry : lists.startupFolders) resolved("Startup", entry.target);
  for (const auto& row : lists.services.rows)
    if (row.IsComplete()) resolved("Service", row.imagePath);
  for (const auto& row : lists.systemIni.rows)
    if (!lists.systemIni.notice) resolved("System.ini", row.line);
  return rows;
}

RowColour ColourOf(platform::Files& files, const ReportRow& row, bool ticked) {
  if (ticked) return RowColour::Ticked;
  if (row.size != "0") return RowColour::Normal;
  return scan::IsFilePresent(files, row.path) ? RowColour::EmptyFile : RowColour::MissingFile;
}

ReportMenu MenuOfSelection(const ReportRow& row) {
  if (row.kind == "Proc") return ReportMenu::Process;
  if (row.kind == "RegStartup") return ReportMenu::StartupValue;
  if (row.kind == "Service") return ReportMenu::Service;
  return ReportMenu::General;
}

ReportMenu MenuOfTicked(const std::vector<const ReportRow*>& ticked) {
  ReportMenu state = ReportMenu::General;
  for (const ReportRow* row : ticked) {
    if (row->kind == "Proc") {
      state = state == ReportMenu::StartupValue ? ReportMenu::General : ReportMenu::Process;
    } else if (row->kind == "RegStartup") {
      state = state == ReportMenu::Process ? ReportMenu::General : ReportMenu::StartupValue;
    } else {
      return ReportMenu::General;
    }
  }
  return state;
}

}  // namespace morvanta::runs

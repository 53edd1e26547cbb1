#include "runs/report_manager.h"

#include <algorithm>
#include <exception>

#include "inspect/process_manager.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
#include "platform/text.h"
#include "remedy/process_ending.h"
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

CellColours ColoursOf(platform::Files& files, const ReportRow& row, bool ticked, int column) {
  CellColours colours;
  colours.yellow = ticked;
  if (column == kSizeColumn && row.size == "0")
    colours.text = scan::IsFilePresent(files, row.path) ? CellText::EmptyFile : CellText::MissingFile;
  return colours;
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

namespace {

using common::Msg;
using common::PromptKind;

}  // namespace

void ReportManager::Refresh() {
  v_.table.Clear();
  selectedId_.reset();  // the ids name the new rows
  rows_ = BuildReportRows(s_, v_.pump);
  for (size_t i = 0; i < rows_.size(); ++i)
    v_.table.AddRow(i, rows_[i].kind, {rows_[i].path, rows_[i].size, rows_[i].key});
}

const ReportRow* ReportManager::RowAt(int row) const {
  if (row < 0 || row >= v_.table.RowCount()) return nullptr;
  const common::RowId id = v_.table.IdAt(row);
  return id < rows_.size() ? &rows_[id] : nullptr;
}

ReportMenu ReportManager::SelectItem(int row) {
  const ReportRow* r = RowAt(row);
  if (!r) return ReportMenu::General;
  selectedPath_ = r->path;
  selectedId_ = v_.table.IdAt(row);
  return MenuOfSelection(*r);
}

ReportMenu ReportManager::ClickMenu() const {
  std::vector<const ReportRow*> ticked;
  for (int row = 0; row < v_.table.RowCount(); ++row)
    if (v_.table.IsChecked(row))
      if (const ReportRow* r = RowAt(row)) ticked.push_back(r);
  return MenuOfTicked(ticked);
}

bool ReportManager::Confirm(const char* question) {
  return v_.prompts.Ask({PromptKind::PlainQuestion, Msg::None, question});
}

void ReportManager::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception&) {
    v_.prompts.Tell({PromptKind::Error, Msg::None, "Error."});
  }
}

void ReportManager::DeleteTableRow(int row) { v_.table.DeleteRow(row); }

void ReportManager::DeleteSelectedRow() {
  if (!selectedId_) return;
  for (int row = 0; row < v_.table.RowCount(); ++row)
    if (v_.table.IdAt(row) == *selectedId_) {
      DeleteTableRow(row);
      break;
    }
}

bool ReportManager::StopServiceOf(const std::string& path) {
  platform::Platform& p = s_.Platform();
  std::vector<inspect::ServiceRow>& rows = s_.Lists().services.rows;
  return inspect::StopServiceByImagePath(p, rows, path, v_.pump) ||
         inspect::StopServiceByImagePath(p, rows, "\"" + path, v_.pump);
}

void ReportManager::ForTickedRows(bool selectedWhenNone,
                                  const std::function<bool(const std::string&)>& act) {
  bool anyTicked = false;
  for (int row = 0; row < v_.table.RowCount() && !anyTicked; ++row)
    anyTicked = v_.table.IsChecked(row);
  if (!anyTicked) {
    if (!selectedWhenNone || selectedPath_.empty()) return;
    if (act(selectedPath_)) DeleteSelectedRow();
    return;
  }
  // From the top again after each deletion; every ticked row once.
  std::vector<common::RowId> visited;
  for (;;) {
    int next = -1;
    for (int row = 0; row < v_.table.RowCount() && next < 0; ++row) {
      if (!v_.table.IsChecked(row)) continue;
      const common::RowId id = v_.table.IdAt(row);
      if (std::find(visited.begin(), visited.end(), id) == visited.end()) next = row;
    }
    if (next < 0) return;
    visited.push_back(v_.table.IdAt(next));
    const ReportRow* r = RowAt(next);
    if (r && act(r->path)) DeleteTableRow(next);
  }
}

bool ReportManager::ForcedDelete(const std::string& path, Deletion deletion) {
  platform::Platform& p = s_.Platform();
  const std::string name = platform::FileNamePart(path);
  // Only the exact path is deleted: a text that names no file (a command with arguments)
  // is never taken apart, and counts as not deleted once the retries are over.
  const bool named = p.files.FileExists(path);
  // A running service holds its file: the first attempt leaves its process to the stop
  // below, which the manager sees.
  if (deletion != Deletion::ServiceFile) remedy::KillProcessByName(p.processes, name);
  v_.pump.ProcessPendingMessages();
  p.files.SetAttributes(path, 0);
  p.files.DeleteFile(path);
  if (deletion != Deletion::File)
    remedy::DeleteRegBaseValues(p.files, p.registry, s_.ProgramFile(remedy::kRegBaseFileName), path,
                                s_.Ignore());
  auto gone = [&] { return named && !p.files.Exists(path); };
  const uint32_t started = p.system.TickCount();
  while (!gone() &&
         static_cast<uint32_t>(p.system.TickCount() - started) / 1000.0 <= kForcedDeleteRetrySeconds) {
    StopServiceOf(path);
    remedy::KillProcessByName(p.processes, name);
    v_.pump.ProcessPendingMessages();
    p.files.SetAttributes(path, 0);
    p.files.DeleteFile(path);
    if (!gone()) p.system.Sleep(10);
  }
  if (gone()) return true;
  v_.prompts.Tell({PromptKind::Error, Msg::None, "Cannot delete file " + path + "."});
  return false;
}

void ReportManager::DeleteSelected() {
  if (!Confirm("Do you want to delete selected items?")) return;
  Guarded([&] {
    ForTickedRows(false,
                  [&](const std::string& path) { return ForcedDelete(path, Deletion::FileAndValues); });
  });
}

void ReportManager::TerminateProcesses() {
  Guarded([&] {
    ForTickedRows(true, [&](const std::string& path) {
      remedy::KillProcessByName(s_.Platform().processes, platform::FileNamePart(path));
      return true;  // the row goes whatever the result
    });
  });
}

void ReportManager::DeleteProcesses() {
  if (!Confirm("Do you want to delete selected proceses?")) return;
  Guarded([&] {
    ForTickedRows(true, [&](const std::string& path) { return ForcedDelete(path, Deletion::File); });
  });
}

void ReportManager::DeleteValues() {
  Guarded([&] {
    ForTickedRows(true, [&](const std::string& path) {
      platform::Platform& p = s_.Platform();
      remedy::DeleteRegBaseValues(p.files, p.registry, s_.ProgramFile(remedy::kRegBaseFileName), path,
                                  s_.Ignore());
      return true;
    });
  });
}

void ReportManager::DeleteFiles() {
  if (!Confirm("Do you want to delete selected files?")) return;
  Guarded([&] {
    ForTickedRows(true, [&](const std::string& path) { return ForcedDelete(path, Deletion::File); });
  });
}

void ReportManager::TerminateService() {
  if (selectedPath_.empty()) return;
  Guarded([&] {
    platform::Platform& p = s_.Platform();
    const std::string name = platform::FileNamePart(selectedPath_);
    remedy::KillProcessByName(p.processes, name);
    StopServiceOf(selectedPath_);
    remedy::KillProcessByName(p.processes, name);
  });
}

void ReportManager::DeleteServiceFile() {
  if (selectedPath_.empty() || !Confirm("Do you want to delete selected file?")) return;
  Guarded([&] {
    if (ForcedDelete(selectedPath_, Deletion::ServiceFile)) DeleteSelectedRow();
  });
}

}  // namespace morvanta::runs

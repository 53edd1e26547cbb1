#include "inspect/process_manager.h"

#include "platform/text.h"
#include "remedy/process_ending.h"

namespace morvanta::inspect {

using common::Msg;

std::vector<RunningProcess> ListRunningProcesses(platform::Processes& processes) {
  std::vector<RunningProcess> list;
  auto snapshot = processes.Snapshot();
  if (!snapshot) return list;
  for (const platform::ProcessEntry& entry : *snapshot) {
    RunningProcess process;
    process.pid = entry.pid;
    if (entry.pid == 0) {
      process.path = "System Idle Process";
    } else {
      auto image = processes.ImagePath(entry.pid);
      process.path = image && !image->empty() ? *image : entry.exeName;
    }
    list.push_back(std::move(process));
  }
  return list;
}

void ProcessPage::Refresh() {
  views_.list.Clear();
  paths_.clear();
  for (const RunningProcess& process : ListRunningProcesses(p_.processes))
    if (IsFilePresent(p_.files, process.path)) paths_.push_back(process.path);
  for (size_t i = 0; i < paths_.size(); ++i) views_.list.AddRow(i, paths_[i], {""});
  const std::string count = std::to_string(paths_.size());
  views_.label.SetText(catalog_.Text(Msg::ActiveProcesses) + count + ").");
  if (!views_.report.Writing()) return;
  views_.report.WriteLine(catalog_.Text(Msg::RunningProcesses) + count + ")");
  for (const std::string& path : paths_) {
    views_.status.SetText(path);
    views_.report.WriteLine(path);
  }
  views_.report.WriteLine("");
}

void ProcessPage::EndTask(bool deleteFiles) {
  if (!views_.prompts.Ask({common::PromptKind::Question, Msg::TerminateQuestion,
                           catalog_.Text(Msg::TerminateQuestion)}))
    return;
  for (int row = 0; row < views_.list.RowCount(); ++row) {
    if (!views_.list.IsChecked(row)) continue;
    const common::RowId id = views_.list.IdAt(row);
    if (id >= paths_.size()) continue;
    const std::string path = paths_[id];
    remedy::KillProcessByName(p_.processes, platform::FileNamePart(path));
    if (!deleteFiles || !IsFilePresent(p_.files, path)) continue;
    if (p_.files.DeleteFile(path)) continue;
    views_.prompts.Tell({common::PromptKind::UrgentError, Msg::CannotDeleteProcess,
                         catalog_.Text(Msg::CannotDeleteProcess) + path});
  }
  Refresh();
}

}  // namespace morvanta::inspect

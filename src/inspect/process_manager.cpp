#include "inspect/process_manager.h"

#include "app/questions.h"
#include "platform/text.h"
#include "remedy/process_ending.h"

namespace morvanta::inspect {

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
  list_.Clear();
  std::vector<std::string> present;
  for (const RunningProcess& process : ListRunningProcesses(p_.processes))
    if (IsFilePresent(p_.files, process.path)) present.push_back(process.path);
  for (const std::string& path : present) list_.AddRow(path, {""});
  const std::string count = std::to_string(list_.RowCount());
  label_.SetText(catalog_.Text(72) + count + ").");
  if (!report_.Writing()) return;
  report_.WriteLine(catalog_.Text(73) + count + ")");
  for (int row = 0; row < list_.RowCount(); ++row) {
    const std::string path = list_.Caption(row);
    status_.SetText(path);
    report_.WriteLine(path);
  }
  report_.WriteLine("");
}

void ProcessPage::EndTask(bool deleteFiles, platform::WindowHandle owner) {
  if (p_.dialogs.Show(app::MainWindowQuestion(catalog_, 65, owner)) !=
      platform::MessageAnswer::Yes)
    return;

  for (int row = 0; row < list_.RowCount(); ++row) {
    if (!list_.IsChecked(row)) continue;
    const std::string path = list_.Caption(row);
    remedy::KillProcessByName(p_.processes, platform::FileNamePart(path));
    if (!deleteFiles || !IsFilePresent(p_.files, path)) continue;
    if (p_.files.DeleteFile(path)) continue;
    platform::Message error;
    error.text = catalog_.Text(66) + path;
    error.caption = catalog_.Text(2);
    error.icon = platform::MessageIcon::Error;
    error.topmost = error.setForeground = true;
    error.owner = owner;
    p_.dialogs.Show(error);
  }
  Refresh();
}

}  // namespace morvanta::inspect

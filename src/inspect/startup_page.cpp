#include "inspect/startup_page.h"

#include "remedy/regbase_file.h"

namespace morvanta::inspect {

using common::Msg;
using common::PromptKind;

void StartupPage::Refresh() {
  views_.list.Clear();
  entries_.clear();
  auto regBase = remedy::ReadRegBase(p_.files, regBasePath_);
  if (!regBase) return;
  common::ReportSink& report = views_.report;
  if (regBase->count && report.Writing()) report.WriteLine("Startup files:");
  remedy::WalkRegBase(p_.registry, *regBase, [&](const remedy::RegBaseValue& v) {
    views_.list.AddRow(entries_.size(), v.name, {v.data});
    entries_.push_back(StartupF{v.root, v.keyPath, v.name, v.data});
    if (!report.Writing()) return;
    report.WriteLine(std::string(platform::RegRootName(v.root)) + "\\" + v.keyPath + "\\" + v.name);
    report.WriteLine("[" + v.data + "]");
  });
}

bool StartupPage::DeleteValue(const StartupF& entry) {
  platform::RegistryObject reg(p_.registry);
  reg.SetRootKey(entry.RootKey);
  if (!reg.OpenKey(entry.Key, true)) {
    views_.prompts.Tell({PromptKind::Error, Msg::KeyValue,
                         catalog_.Text(Msg::KeyValue) + entry.Name + catalog_.Text(Msg::DoesNotExist)});
    return false;
  }
  if (reg.ValueExists(entry.Name) && !reg.DeleteValue(entry.Name)) {
    views_.prompts.Tell({PromptKind::Error, Msg::CannotDeleteValue,
                         catalog_.Text(Msg::CannotDeleteValue) + entry.Name + "\r" + entry.Value});
    return false;
  }
  return true;
}

void StartupPage::DeleteValues() {
  if (!views_.prompts.Ask({PromptKind::Question, Msg::DeleteValuesQuestion,
                           catalog_.Text(Msg::DeleteValuesQuestion)}))
    return;
  // The entries go by their rows' ids, never by the rows' texts: a value of any length, or
  // two rows alike under different keys, each name exactly one entry.
  std::vector<StartupF> ticked;
  for (int row = 0; row < views_.list.RowCount(); ++row) {
    const common::RowId id = views_.list.IdAt(row);
    if (views_.list.IsChecked(row) && id < entries_.size()) ticked.push_back(entries_[id]);
  }
  bool allDeleted = true;
  for (const StartupF& entry : ticked) allDeleted = DeleteValue(entry) && allDeleted;
  if (allDeleted)
    views_.prompts.Tell({PromptKind::Information, Msg::ValuesDeleted, catalog_.Text(Msg::ValuesDeleted)});
  Refresh();
}

}  // namespace morvanta::inspect

// TfrmMain, first tab: the startup programs of the Run keys and the Startup folders.
#include "ui/frm_main.h"

#include <commctrl.h>

namespace morvanta::ui {

void TfrmMain::CreateStartupTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  r.right = ToDesign(r.right);
  r.bottom = ToDesign(r.bottom);
  const int width = r.right - 16;
  const std::vector<Column> columns = {{"Startup Item", 150}, {"Command", 345}, {"Location", 60}};
  AddLabel("registryLabel", registryLabel, page, {8, 6, 200, 16});
  ListView1.Create(page, nextId_++, {8, 24, width, 200}, columns, true, LVS_SINGLESEL);
  AddLabel("folderLabel", folderLabel, page, {8, 230, 200, 16});
  ListView1_2.Create(page, nextId_++, {8, 248, width, r.bottom - 248 - 30}, columns, false,
                     LVS_SINGLESEL);
  AddLabel("Label1", Label1, page, {8, r.bottom - 24, width, 18});
  for (ListView* list : {&ListView1, &ListView1_2}) {
    list->SetSmallImages(images_.Handle());
    list->DiscardKeys();
  }
}

void TfrmMain::LoadStartupPrograms() {
  const bool was = settingChecks_;
  settingChecks_ = true;
  ListView1.Clear();
  ListView1_2.Clear();
  images_.TrimTo(designImages_);

  auto& registry = Lists().startupRegistry;
  registry = inspect::LoadAllFromReg(P().registry);
  ListView1.SetCheckBoxes(!registry.empty());
  if (registry.empty()) ListView1.AddItem(kPlaceholder, 0);
  for (size_t index = 0; index < registry.size(); ++index) {
    const auto& entry = registry[index];
    const int row = ListView1.AddItem(entry.name, images_.AddIconOf(entry.programPath));
    ListView1.SetSubItemText(row, 1, entry.command);
    ListView1.SetSubItemText(row, 2, entry.code);
    ListView1.SetChecked(row, entry.enabled);
    // The row's data word leads to its entry, whose `enabled` is the row's marker.
    ListView1.SetItemData(row, static_cast<LPARAM>(index + 1));
  }

  auto& folders = Lists().startupFolders;
  folders = inspect::LoadAllFromDirs(P());
  if (folders.empty()) ListView1_2.AddItem(kPlaceholder, 0);
  for (const auto& entry : folders) {
    const int row = ListView1_2.AddItem(entry.fileName, images_.AddIconOf(entry.target));
    ListView1_2.SetSubItemText(row, 1, entry.target);
    ListView1_2.SetSubItemText(row, 2, entry.code);
  }
  settingChecks_ = was;
}

inspect::StartupRegEntry* TfrmMain::RegistryEntryOf(int row) {
  return ItemOf(ListView1, Lists().startupRegistry, row);
}

bool TfrmMain::RowEnabledMarker(int row) {
  const inspect::StartupRegEntry* entry = RegistryEntryOf(row);
  return entry && entry->enabled;
}

void TfrmMain::ListView1MouseUp(int row) {
  // The placeholder row has no entry behind it.
  inspect::StartupRegEntry* entry = RegistryEntryOf(row);
  if (!entry) return;
  const auto change = inspect::CheckChangeOf(ListView1.IsChecked(row), entry->enabled);
  if (change == inspect::CheckChange::None) return;
  ListView1.Select(row);
  if (!ChangeReg(row, false)) return;
  entry->enabled = change == inspect::CheckChange::Enable;
}

bool TfrmMain::ChangeReg(int row, bool remove) {
  inspect::StartupRegEntry* entry = RegistryEntryOf(row);
  if (!entry) return false;
  const bool ticked = ListView1.IsChecked(row);
  switch (inspect::ChangeReg(P().registry, *entry, ticked, remove)) {
    case inspect::ChangeResult::Done:
      break;
    case inspect::ChangeResult::Stale:
      // Changed behind the list's back: show what is there now, move nothing.
      ::PostMessageA(Handle(), kReloadStartupMessage, 0, 0);
      return false;
    case inspect::ChangeResult::Failed:
      if (!remove) SetCheckQuietly(ListView1, row, entry->enabled);
      prompts_.Tell({common::PromptKind::Error, common::Msg::None,
                     "Cannot move [" + entry->name + "] between the startup keys!"});
      return false;
  }
  if (!remove) return true;
  // The entry leaves the list, and the rows behind it lead one entry lower.
  auto& registry = Lists().startupRegistry;
  const LPARAM gone = ListView1.ItemData(row);
  registry.erase(registry.begin() + (gone - 1));
  ListView1.DeleteItem(row);
  for (int other = 0; other < ListView1.ItemCount(); ++other)
    if (const LPARAM data = ListView1.ItemData(other); data > gone)
      ListView1.SetItemData(other, data - 1);
  return true;
}

void TfrmMain::PopupMenu1Popup() {
  bool remove = false, detail = false;
  if (activeTab_ == kStartupTab) {
    remove = detail = ::GetFocus() == ListView1.Handle() ? RegistryEntryOf(ListView1.SelectedIndex()) != nullptr
                                                         : ListView1_2.SelectedIndex() >= 0 &&
                                                               !Lists().startupFolders.empty();
  } else if (activeTab_ == kFiltersTab) {
    // A notice row is no driver; a driver whose file was not found has nothing to show.
    const auto& filters = Lists().keyboardFilters;
    const int row = ListView3.SelectedIndex();
    const bool driver = !filters.notice && row >= 0 && row < static_cast<int>(filters.rows.size());
    remove = driver;
    detail = driver && !filters.rows[static_cast<size_t>(row)].file.empty();
  } else {
    return;  // the services tab leaves the menu as it was
  }
  PopupMenu1.EnableItem(kRemoveCommand, remove);
  PopupMenu1.EnableItem(kDetailCommand, detail);
}

bool TfrmMain::AskRemove(const std::string& caption) {
  return prompts_.Ask({common::PromptKind::Irreversible, common::Msg::None,
                       "Remove [" + caption + "] from this list?"});
}

void TfrmMain::mnuDelClick() {
  if (activeTab_ == kFiltersTab) {
    DelKBf();
    return;
  }
  if (activeTab_ != kStartupTab) return;
  if (::GetFocus() == ListView1.Handle()) {
    const int row = ListView1.SelectedIndex();
    const inspect::StartupRegEntry* entry = RegistryEntryOf(row);
    if (entry && AskRemove(entry->name)) ChangeReg(row, true);
    return;
  }
  auto& folders = Lists().startupFolders;
  const int row = ListView1_2.SelectedIndex();
  if (row < 0 || row >= static_cast<int>(folders.size())) return;
  if (!AskRemove(folders[static_cast<size_t>(row)].fileName)) return;
  if (!P().files.DeleteFile(folders[static_cast<size_t>(row)].fullPath)) return;
  ListView1_2.DeleteItem(row);
  folders.erase(folders.begin() + row);
}

void TfrmMain::mnuInfClick() {
  if (activeTab_ == kFiltersTab) {
    const auto& filters = Lists().keyboardFilters;
    const int row = ListView3.SelectedIndex();
    if (filters.notice || row < 0 || row >= static_cast<int>(filters.rows.size())) return;
    const std::string& file = filters.rows[static_cast<size_t>(row)].file;
    if (!file.empty()) P().shell.ShowProperties(file, Handle());
    return;
  }
  if (activeTab_ != kStartupTab) return;
  const inspect::StartupRegEntry* entry = RegistryEntryOf(ListView1.SelectedIndex());
  if (::GetFocus() == ListView1.Handle() && entry) {
    P().shell.ShowProperties(entry->programPath, Handle());
    return;
  }
  const auto& folders = Lists().startupFolders;
  const int folderRow = ListView1_2.SelectedIndex();
  if (folderRow >= 0 && folderRow < static_cast<int>(folders.size()))
    P().shell.ShowProperties(folders[static_cast<size_t>(folderRow)].target, Handle());
}

}  // namespace morvanta::ui

// TfrmMain, first tab: the startup programs of the Run keys and the Startup folders.
#include "ui/frm_main.h"

#include <commctrl.h>

namespace morvanta::ui {

void TfrmMain::CreateStartupTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  const int width = r.right - 16;
  const std::vector<Column> columns = {{"Startup Item", 150}, {"Command", 345}, {"Location", 60}};
  registryLabel.Create(page, "Registry:", {8, 6, 200, 16});
  ListView1.Create(page, nextId_++, {8, 24, width, 200}, columns, true, LVS_SINGLESEL);
  folderLabel.Create(page, "Startup Folder:", {8, 230, 200, 16});
  ListView1_2.Create(page, nextId_++, {8, 248, width, r.bottom - 248 - 30}, columns, false,
                     LVS_SINGLESEL);
  Label1.Create(page, "NOTE: Some changes will not take effect until the Computer is restarted.",
                {8, r.bottom - 24, width, 18});
  for (ListView* list : {&ListView1, &ListView1_2}) {
    list->SetSmallImages(images_.Handle());
    list->DiscardKeys();
  }
}

void TfrmMain::LoadStartupPrograms() {
  ListView1.Clear();
  ListView1_2.Clear();
  images_.TrimTo(designImages_);

  regRows_ = inspect::LoadAllFromReg(p_.registry);
  ListView1.SetCheckBoxes(!regRows_.empty());
  if (regRows_.empty()) ListView1.AddItem(kPlaceholder, 0);
  for (const auto& entry : regRows_) {
    const int row = ListView1.AddItem(entry.name, images_.AddIconOf(entry.programPath));
    ListView1.SetSubItemText(row, 1, entry.command);
    ListView1.SetSubItemText(row, 2, entry.code);
    ListView1.SetChecked(row, entry.enabled);
    ListView1.SetItemData(row, entry.enabled ? 1 : 0);
  }

  folderRows_ = inspect::LoadAllFromDirs(p_);
  if (folderRows_.empty()) ListView1_2.AddItem(kPlaceholder, 0);
  for (const auto& entry : folderRows_) {
    const int row = ListView1_2.AddItem(entry.fileName, images_.AddIconOf(entry.target));
    ListView1_2.SetSubItemText(row, 1, entry.target);
    ListView1_2.SetSubItemText(row, 2, entry.code);
  }
}

void TfrmMain::ListView1MouseUp(int row) {
  // The placeholder row has no entry behind it.
  if (regRows_.empty() || row < 0 || row >= static_cast<int>(regRows_.size())) return;
  const auto change = inspect::CheckChangeOf(ListView1.IsChecked(row), RowEnabledMarker(row));
  if (change == inspect::CheckChange::None) return;
  ListView1.Select(row);
  ChangeReg(row, false);
  const bool enabled = change == inspect::CheckChange::Enable;
  ListView1.SetItemData(row, enabled ? 1 : 0);
  regRows_[row].enabled = enabled;
}

void TfrmMain::ChangeReg(int row, bool remove) {
  if (row < 0 || row >= static_cast<int>(regRows_.size())) return;
  const auto& entry = regRows_[row];
  // A move whose target key does not open changes nothing; the row still shows the new
  // state until the next reload.
  inspect::ChangeReg(p_.registry, entry.code, entry.name, entry.command, ListView1.IsChecked(row),
                     remove);
  if (!remove) return;
  ListView1.DeleteItem(row);
  regRows_.erase(regRows_.begin() + row);
}

void TfrmMain::PopupMenu1Popup() {
  bool enabled = false;
  if (activeTab_ == kStartupTab) {
    enabled = ::GetFocus() == ListView1.Handle() ? ListView1.SelectedIndex() >= 0
                                                 : ListView1_2.SelectedIndex() >= 0;
  } else if (activeTab_ == kFiltersTab) {
    const int row = ListView3.SelectedIndex();
    enabled = row >= 0 && !ListView3.ItemText(row, 1).empty();
  } else {
    return;  // the services tab leaves the menu as it was
  }
  PopupMenu1.EnableItem(kRemoveCommand, enabled);
  PopupMenu1.EnableItem(kDetailCommand, enabled);
}

bool TfrmMain::AskRemove(const std::string& caption) {
  platform::Message m;
  m.text = "Remove [" + caption + "] from this list?";
  m.caption = "This action can not be undone!";
  m.icon = platform::MessageIcon::Question;
  m.buttons = platform::MessageButtons::YesNo;
  m.secondButtonDefault = true;
  m.owner = Handle();
  return p_.dialogs.Show(m) == platform::MessageAnswer::Yes;
}

void TfrmMain::mnuDelClick() {
  if (activeTab_ == kFiltersTab) {
    DelKBf();
    return;
  }
  if (activeTab_ != kStartupTab) return;
  if (::GetFocus() == ListView1.Handle()) {
    const int row = ListView1.SelectedIndex();
    if (row < 0 || row >= static_cast<int>(regRows_.size())) return;
    if (AskRemove(ListView1.ItemText(row))) ChangeReg(row, true);
    return;
  }
  const int row = ListView1_2.SelectedIndex();
  if (row < 0 || row >= static_cast<int>(folderRows_.size())) return;
  if (!AskRemove(ListView1_2.ItemText(row))) return;
  if (!p_.files.DeleteFile(folderRows_[row].fullPath)) return;
  ListView1_2.DeleteItem(row);
  folderRows_.erase(folderRows_.begin() + row);
}

void TfrmMain::mnuInfClick() {
  if (activeTab_ == kFiltersTab) {
    const int row = ListView3.SelectedIndex();
    if (row >= 0 && !ListView3.ItemText(row, 1).empty())
      p_.shell.ShowProperties(ListView3.ItemText(row, 1), Handle());
    return;
  }
  if (activeTab_ != kStartupTab) return;
  const int regRow = ListView1.SelectedIndex();
  if (::GetFocus() == ListView1.Handle() && regRow >= 0 &&
      regRow < static_cast<int>(regRows_.size())) {
    p_.shell.ShowProperties(regRows_[regRow].programPath, Handle());
    return;
  }
  const int folderRow = ListView1_2.SelectedIndex();
  if (folderRow >= 0 && folderRow < static_cast<int>(folderRows_.size()))
    p_.shell.ShowProperties(folderRows_[folderRow].target, Handle());
}

}  // namespace morvanta::ui

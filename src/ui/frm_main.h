// The tool window "Runtime & Process Manager": startup programs (registry and Startup
// folders), services, and keyboard filter drivers with the INI autostart lines, one tab each.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "inspect/startup_programs.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace morvanta::ui {

class TfrmMain : public Window {
 public:
  enum Tab { kStartupTab = 0, kServicesTab, kFiltersTab };
  static constexpr int kTabCount = 3;
  // A message sent to this window that ends the whole application.
  static constexpr UINT kEndApplicationMessage = WM_USER + 9;
  static constexpr char kPlaceholder[] = "No startup program found!";
  static constexpr int kRemoveCommand = 1;
  static constexpr int kDetailCommand = 2;

  TfrmMain(HWND owner, platform::Platform platform);
  ~TfrmMain() override;

  // `FormCreate`: the message trap is in place from creation; loads the startup lists.
  void FormCreate();
  int ActiveTab() const { return activeTab_; }
  void ShowTab(int tab);

  // `LoadStartupPrograms`: fills both lists of the first tab.
  void LoadStartupPrograms();
  // `ListView1MouseUp` for the row under the mouse (-1: none).
  void ListView1MouseUp(int row);
  // `ChangeReg`: moves the row's value between its live and "_Bak" key, or removes it.
  void ChangeReg(int row, bool remove);
  // `PopupMenu1Popup`: enables or disables the two menu items.
  void PopupMenu1Popup();
  void mnuDelClick();
  void mnuInfClick();

  // The last loaded rows, which the reports read. Empty while a list shows its placeholder.
  const std::vector<inspect::StartupRegEntry>& RegistryRows() const { return regRows_; }
  const std::vector<inspect::StartupFolderEntry>& FolderRows() const { return folderRows_; }
  bool RowEnabledMarker(int row) const { return ListView1.ItemData(row) != 0; }

  TabControl PageControl1;
  // First tab.
  Label registryLabel, folderLabel, Label1;
  ListView ListView1, ListView1_2;
  PopupMenu PopupMenu1;
  // Second tab (its logic comes with the services manager).
  ListView ListView2;
  Label legendLabel;
  Button cmdServiceStart, cmdServiceStop, cmdServiceRestart, cmdServiceChangeStartupMode;
  // Third tab (its logic comes with the keyboard filters and INI lines).
  Label filterLabel, filterNote, systemIniLabel, winIniLabel, iniNote;
  ListView ListView3, ListView4, ListView5;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateControls();
  void CreateStartupTab(HWND page);
  void CreateServicesTab(HWND page);
  void CreateFiltersTab(HWND page);
  // Asks before a removal for good; true on Yes.
  bool AskRemove(const std::string& caption);
  void OnContextMenu(LPARAM lParam);
  bool OnNotify(const NMHDR& header);

  platform::Platform p_;
  std::array<HWND, kTabCount> pages_{};
  int activeTab_ = kStartupTab;
  ImageList images_;
  int designImages_ = 1;
  std::vector<inspect::StartupRegEntry> regRows_;
  std::vector<inspect::StartupFolderEntry> folderRows_;
  int nextId_ = 200;
};

}  // namespace morvanta::ui

// The tool window "Runtime & Process Manager": startup programs (registry and Startup
// folders), services, and keyboard filter drivers with the INI autostart lines, one tab each.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
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
  // The start-type menu of the services tab.
  static constexpr int kAutomaticCommand = 11;
  static constexpr int kManualCommand = 12;
  static constexpr int kDisabledCommand = 13;

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

  // The main window's "Refresh": reloads the startup, filter and INI tabs, then shows the
  // main window's service listing.
  void RefreshFromMain(const inspect::ServiceListing& services);

  // Services tab. `LoadServices`: the creation's listing into ListView2.
  void LoadServices();
  void ShowServiceRows(const inspect::ServiceListing& listing);
  void cmdServiceStartClick();
  void cmdServiceStopClick();
  void cmdServiceRestartClick();
  void cmdServiceChangeStartupModeClick();
  void mnuServiceStartupTypeClick(platform::StartType type);
  void ListView2SelectItem() { ChangeCmdStatus(true, ListView2.SelectedIndex()); }
  void ListView2DblClick();
  // Enables or disables the four service buttons for the list item (-1: none).
  void ChangeCmdStatus(bool enable, int item);
  // The service rows in list order.
  std::vector<inspect::ServiceRow> ServiceRows() const;
  // For the report manager: stops the first listed service whose image path begins with the
  // path; true when it stopped.
  bool StopServiceByImagePath(const std::string& pathPrefix);

  // Filters tab.
  void ScanKeyboardFilterDriver();
  void DelKBf();
  // `ScanSystemINI`: "System.ini" fills ListView4, any other name ListView5.
  void ScanSystemINI(const std::string& fileName);
  // `ListView4MouseUp` / `ListView5MouseUp` for the row under the mouse (-1: none).
  void ListView4MouseUp(int row) { IniMouseUp("System.ini", ListView4, systemIniRows_, row); }
  void ListView5MouseUp(int row) { IniMouseUp("Win.ini", ListView5, winIniRows_, row); }
  const inspect::KeyboardFilterListing& FilterRows() const { return filterRows_; }
  const inspect::IniListing& SystemIniRows() const { return systemIniRows_; }
  const inspect::IniListing& WinIniRows() const { return winIniRows_; }

  // What the running-object inventory reads: this window's Startup folder targets and
  // System.ini lines as last loaded, with the main window's startup values and service rows.
  inspect::InventorySources InventorySourcesWith(
      const std::vector<inspect::StartupF>& startupValues,
      const std::vector<inspect::ServiceRow>& mainServiceRows) const;

  // The last loaded rows, which the reports read. Empty while a list shows its placeholder.
  const std::vector<inspect::StartupRegEntry>& RegistryRows() const { return regRows_; }
  const std::vector<inspect::StartupFolderEntry>& FolderRows() const { return folderRows_; }
  bool RowEnabledMarker(int row) const { return ListView1.ItemData(row) != 0; }

  TabControl PageControl1;
  // First tab.
  Label registryLabel, folderLabel, Label1;
  ListView ListView1, ListView1_2;
  PopupMenu PopupMenu1, mnuServiceStartupType;
  // Second tab: the services.
  ListView ListView2;
  Label legendLabel;
  Button cmdServiceStart, cmdServiceStop, cmdServiceRestart, cmdServiceChangeStartupMode;
  // Third tab: keyboard filters and INI lines.
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
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  int ServiceRowIndex(int item) const;
  // Blanks the cell, runs the operation with the list disabled, shows its outcome.
  void RunServiceStep(int item, int cell, const std::function<bool(inspect::ServiceRow&)>& op);
  void IniMouseUp(const std::string& fileName, ListView& list, inspect::IniListing& rows, int row);

  platform::Platform p_;
  std::array<HWND, kTabCount> pages_{};
  int activeTab_ = kStartupTab;
  ImageList images_;
  HWND legendIcon_ = nullptr;  // a child of the services page
  int designImages_ = 1;
  std::vector<inspect::StartupRegEntry> regRows_;
  std::vector<inspect::StartupFolderEntry> folderRows_;
  std::vector<inspect::ServiceRow> serviceRows_;  // in listing order; ListView2 sorts them
  inspect::KeyboardFilterListing filterRows_;
  inspect::IniListing systemIniRows_, winIniRows_;
  int nextId_ = 200;
};

}  // namespace morvanta::ui

// The tool window "Runtime & Process Manager": startup programs (registry and Startup
// folders), services, and keyboard filter drivers with the INI autostart lines, one tab each.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/session.h"
#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "inspect/services.h"
#include "inspect/startup_programs.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TfrmMain : public Window {
 public:
  enum Tab { kStartupTab = 0, kServicesTab, kFiltersTab };
  static constexpr int kTabCount = 3;
  // A message sent to this window that ends the whole application.
  static constexpr UINT kEndApplicationMessage = WM_USER + 9;
  // Reloads after a check-box change, once the list's own notification is over.
  static constexpr UINT kReloadIniMessage = WM_APP + 1;
  static constexpr UINT kReloadStartupMessage = WM_APP + 2;
  // A tick the mouse changed (wParam: the list, lParam: the row), acted on once the list's
  // notification is over: during it the box can still read as it was.
  static constexpr UINT kTickChangedMessage = WM_APP + 3;
  static constexpr char kPlaceholder[] = "No startup program found!";
  static constexpr int kRemoveCommand = 1;
  static constexpr int kDetailCommand = 2;
  // The start-type menu of the services tab.
  static constexpr int kAutomaticCommand = 11;
  static constexpr int kManualCommand = 12;
  static constexpr int kDisabledCommand = 13;

  TfrmMain(HWND owner, app::Session& session);
  ~TfrmMain() override;

  // `FormCreate`: the message trap is in place from creation; loads the startup lists.
  void FormCreate();
  int ActiveTab() const { return activeTab_; }
  void ShowTab(int tab);

  // `LoadStartupPrograms`: fills both lists of the first tab.
  void LoadStartupPrograms();
  // `ListView1MouseUp`: the mouse changed the row's check box (-1: no row).
  void ListView1MouseUp(int row);
  // `ChangeReg`: moves the row's value between its live and "_Bak" key, or removes it.
  // A failed move is reported; a stale row reloads the list. True when it was done.
  bool ChangeReg(int row, bool remove);
  // `PopupMenu1Popup`: enables or disables the two menu items.
  void PopupMenu1Popup();
  void mnuDelClick();
  void mnuInfClick();

  // The main window's "Refresh": reloads the startup, filter and INI tabs, then shows the
  // session's service rows that it listed.
  void RefreshFromMain();

  // Services tab. `LoadServices`: the creation's listing, into the session and ListView2.
  void LoadServices();
  void ShowServiceRows();
  void cmdServiceStartClick();
  void cmdServiceStopClick();
  void cmdServiceRestartClick();
  void cmdServiceChangeStartupModeClick();
  void mnuServiceStartupTypeClick(platform::StartType type);
  void ListView2SelectItem() { ChangeCmdStatus(true, ListView2.SelectedIndex()); }
  void ListView2DblClick();
  // Enables or disables the four service buttons for the list item (-1: none).
  void ChangeCmdStatus(bool enable, int item);
  // For the report manager: stops the first listed service whose image path begins with the
  // path; true when it stopped.
  bool StopServiceByImagePath(const std::string& pathPrefix);

  // Filters tab.
  void ScanKeyboardFilterDriver();
  void DelKBf();
  // `ScanSystemINI`: "System.ini" fills ListView4, any other name ListView5.
  void ScanSystemINI(const std::string& fileName);
  // `ListView4MouseUp` / `ListView5MouseUp`: the mouse changed the row's check box.
  void ListView4MouseUp(int row) { IniMouseUp("System.ini", ListView4, Lists().systemIni, row); }
  void ListView5MouseUp(int row) { IniMouseUp("Win.ini", ListView5, Lists().winIni, row); }

  // The rows as last loaded live in the session, which the reports read. The registry list
  // is empty while its list shows the placeholder.
  const std::vector<inspect::StartupRegEntry>& RegistryRows() { return Lists().startupRegistry; }
  // Whether the row's value lives in the live key, as the list last saw it.
  bool RowEnabledMarker(int row);

  // The components a language file reaches, in component order.
  const ComponentRegistry& Components() const { return components_; }

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
  std::string Design(const std::string& name) const;
  void AddLabel(const std::string& name, Label& label, HWND page, const Rect& r);
  // Asks before a removal for good; true on Yes.
  bool AskRemove(const std::string& caption);
  void OnContextMenu(LPARAM lParam);
  bool OnNotify(const NMHDR& header);
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  inspect::ServiceRow* ServiceRowOf(int item);
  // The registry entry a row of ListView1 stands for; null for the placeholder.
  inspect::StartupRegEntry* RegistryEntryOf(int row);
  // Blanks the cell, runs the operation with the list disabled, shows its outcome.
  void RunServiceStep(int item, int cell, const std::function<bool(inspect::ServiceRow&)>& op);
  void SetServiceCells(int item, const inspect::ServiceRow& row);
  void IniMouseUp(const std::string& fileName, ListView& list, inspect::IniListing& rows, int row);
  // Sets a check box from the program, which is no user's change.
  void SetCheckQuietly(ListView& list, int row, bool checked);
  // A check-box change of one of the three lists with check boxes, made by the mouse.
  bool OnCheckChanged(const NMLISTVIEW& change);
  void OnTickChanged(WPARAM list, int row);
  app::InspectionLists& Lists() { return session_.Lists(); }
  platform::Platform& P() { return session_.Platform(); }

  app::Session& session_;
  WindowPrompts prompts_;
  WindowPump pump_;
  std::array<HWND, kTabCount> pages_{};
  int activeTab_ = kStartupTab;
  ImageList images_;
  HWND legendIcon_ = nullptr;    // a child of the services page
  HICON legendPicture_ = nullptr;  // owned: image 6 of the list, at its size
  int designImages_ = 1;
  bool settingChecks_ = false;   // the program sets check boxes: no user's change
  ComponentRegistry components_;
  int nextId_ = 200;
};

}  // namespace morvanta::ui

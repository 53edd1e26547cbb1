// The main window: a fixed-size window whose body is a notebook of six pages (start,
// scan results, processes, startup files, About, services) over a status bar of three
// panels. Pages are switched by index; no tabs are shown.
#pragma once

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/session.h"
#include "runs/fix.h"
#include "runs/full_drive_scan.h"
#include "runs/quarantine_alerts.h"
#include "runs/quick_scan.h"
#include "runs/update_check.h"
#include "common/messages.h"
#include "inspect/process_manager.h"
#include "inspect/services.h"
#include "inspect/startup_page.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_directory.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TForm2;
class TForm4;

class TForm1 : public Window,
               public runs::ScanPageControls,
               public runs::ScanOffers,
               public runs::UpdateWindow {
 public:
  enum Page { kStartPage = 0, kResultPage, kProcessPage, kStartupPage, kAboutPage, kServicePage };
  static constexpr int kPageCount = 6;

  // `owner` is the application window, whose title the task bar shows.
  TForm1(app::Session& session, WindowDirectory& windows, HWND owner);
  ~TForm1() override;

  // The creation step: refuses unsupported systems (false: end with exit code 1), loads the
  // database and shows its date.
  bool FormCreate();
  void SetChooser(TForm2* chooser) { chooser_ = chooser; }
  void SetUpgradeWindow(TForm4* upgrade) { upgrade_ = upgrade; }

  int ActivePage() const { return activePage_; }
  // The components a language file reaches, in component order.
  const ComponentRegistry& Components() const { return components_; }
  void ShowPage(int page);
  bool AbortFlag() const { return session_.Abort().IsSet(); }

  // Controls the tests and the later features reach.
  StatusBar sb1;
  Label bannerLabel, Label2;
  GroupBox welcomeGroup;
  Button Button4, Button7, Button8, xpButton15, Button9, Button10, Button18, xpButton3,
      xpButton4, xpButton6, Button17, xpButtonLanguage, xpButtonIgnoreList;
  Label wormsLabel;
  ListView List1;
  Memo Memo2;
  Button Button1, Button3, xpButton5, Button2, Button6;
  Label Label3;
  ListView List2;
  Button Button11, Button12, Button13;
  CheckBox cbx1;
  Label startupLabel;
  ListView List3;
  Button Button14, Button15, Button16, xpButton14;
  Label aboutTitle, aboutContact;
  Button Button19;
  ListView ListView2;
  Button xpButton8, xpButton13, xpButton12, xpButton11, xpButton9, xpButton10;

  // Handlers, named after their control and event.
  void Button4Click();
  void Button1Click();
  void Button3Click() { session_.Abort().Set(); }
  // The quick scan behind "Quick scan" and "Scan for viruses", once the user said Yes.
  runs::QuickScanResult RunQuickScan();
  void Button2Click();
  // The fix of what the scans found, once the user said Yes.
  runs::FixResult FixAlerts();
  // The full drive scan over the drives chosen in the drive window, and what follows when
  // that window is closed without "Scan".
  runs::FullScanResult RunFullDriveScan(const std::string& selectedDrives);
  runs::AbortChoice AbortFullScan();
  // "Add to Quarantine": on Yes the selected alerts are stored, then the fix is offered.
  void xpButton5Click();
  runs::QuarantineResult QuarantineAlerts();
  void Button7Click();
  void Button8Click();
  // Service page: "Services" (refresh, then the page), "Refresh", "Start Service",
  // "Stop Service", "Restart Service".
  void xpButton15Click();
  void xpButton12Click();
  void xpButton10Click();
  void xpButton9Click();
  void xpButton11Click();
  void Button9Click() { ShowPage(kStartupPage); }
  void Button10Click() { windows_.Show(WindowId::ReportManager); }
  void Button18Click() { ShowPage(kAboutPage); }
  void xpButton3Click();
  void xpButton4Click();
  void xpButton6Click() { windows_.Show(WindowId::QuarantineManager); }
  void Button17Click();
  void xpButton14Click() { windows_.Show(WindowId::ToolWindow); }
  // Process page: "Refresh", "End Task"; the focus entering the notebook.
  void Button12Click() { processPage_.Refresh(); }
  void Button11Click() { processPage_.EndTask(cbx1.IsChecked()); }
  void Note1Enter();
  // Startup page: "Refresh", "Delete values".
  void Button15Click() { startupPage_.Refresh(); }
  void Button14Click() { startupPage_.DeleteValues(); }
  // The full report writes its sections through this while it is being written.
  void SetReportSink(common::ReportSink* report) { report_.target = report; }
  void BackClick() { ShowPage(kStartPage); }
  void FormShow();
  void Timer3Timer();
  // The results page's buttons: "Fix" and "Add to Quarantine" always share their state.
  void SetFixEnabled(bool enabled) override;
  void SetAbortEnabled(bool enabled) override { Button3.Enable(enabled); }
  void SetScanEnabled(bool enabled) override { Button1.Enable(enabled); }
  void SetBackVisible(bool visible) override { Button6.SetVisible(visible); }
  // What the end of a scan offers.
  void StartFullDriveScan() override;
  void SendScanLog() override;

  // Shows the session's service rows (the tool window lists them at its creation).
  void ShowServiceRows();

  // Sets status panel 2 and the welcome label to "Last Update: " and the database date.
  void RefreshDateTexts() override;
  // What the update reaches of this window.
  void SetMainEnabled(bool enabled) override { Enable(enabled); }
  void SetUpdateButtonsEnabled(bool enabled) override;
  void StartProgramUpgrade(const std::string& label1) override;
  // The update check with the list and database downloads.
  runs::UpdateCheck& Update() { return update_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The result list's disabled lines: drawn grey, their check boxes left alone.
  bool OnResultListNotify(const NMHDR& header, LRESULT& result);
  void OnClose() override { Button17Click(); }

 private:
  void CreateControls();
  void CreateStartPage(HWND page);
  void CreateResultPage(HWND page);
  void CreateProcessPage(HWND page);
  void CreateStartupPage(HWND page);
  void CreateAboutPage(HWND page);
  void CreateServicePage(HWND page);
  // A component with its design caption, registered under its name; a button with its
  // click handler and its hint (a catalogue entry, or none).
  std::string Design(const std::string& name) const;
  void AddButton(const std::string& name, Button& button, HWND page, const Rect& r,
                 common::Msg hintEntry, std::function<void()> click);
  void AddLabel(const std::string& name, Label& label, HWND page, const Rect& r, DWORD style = 0);
  bool Ask(common::Msg textEntry);
  // Starts, stops or restarts the selected service row; the status cell shows the outcome.
  enum class ServiceAction { Start, Stop, Restart };
  void RunServiceAction(ServiceAction action);
  // The session's service row an item of ListView2 shows; null for none.
  inspect::ServiceRow* ServiceRowOf(int item);
  std::string StatusText(const inspect::ServiceRow& row) const;
  std::string Msg(common::Msg entry) const { return session_.Catalog().Text(entry); }
  // Status panel 2 takes the width its text needs; panel 0 gives way.
  void FitStatusPanels(const std::string& dateText);

  // Passes lines on to the report being written, if any; idle otherwise.
  class ReportRelay : public common::ReportSink {
   public:
    bool Writing() const override { return target && target->Writing(); }
    void WriteLine(const std::string& line) override {
      if (target) target->WriteLine(line);
    }
    common::ReportSink* target = nullptr;
  };

  app::Session& session_;
  WindowDirectory& windows_;
  WindowPrompts prompts_;
  WindowPump pump_;
  ListViewRows list1Rows_{List1}, list2Rows_{List2}, list3Rows_{List3};
  MemoLines memo2Lines_{Memo2};
  ControlText label3Text_{[this](const std::string& t) { Label3.SetText(t); }};
  ControlText statusHint_{[this](const std::string& t) {
    sb1.SetPanelText(0, t);
    showingHint_ = false;
  }};
  ControlText statusDate_{[this](const std::string& t) {
    FitStatusPanels(t);
    sb1.SetPanelText(2, t);
  }};
  ControlText label2Text_{[this](const std::string& t) { Label2.SetText(t); }};
  ReportRelay report_;
  inspect::ProcessPage processPage_;
  inspect::StartupPage startupPage_;
  TForm2* chooser_ = nullptr;
  TForm4* upgrade_ = nullptr;
  std::array<HWND, kPageCount> pages_{};
  int activePage_ = kStartPage;
  bool notebookEntered_ = false;
  std::vector<std::pair<int, std::function<void()>>> clicks_;  // by control id
  std::set<HWND> hintControls_;  // the controls with a hint of their own
  bool showingHint_ = false;  // panel 0 shows a control's hint, not a status text
  ComponentRegistry components_;
  int nextId_ = 100;
  runs::UpdateCheck update_;
};

}  // namespace morvanta::ui

// The main window: a fixed-size window whose body is a notebook of six pages (start,
// scan results, processes, startup files, About, services) over a status bar of three
// panels. Pages are switched by index; no tabs are shown.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "inspect/services.h"
#include "inspect/page_views.h"
#include "inspect/process_manager.h"
#include "inspect/startup_page.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace morvanta::ui {

class TForm2;

// What the main window needs from the rest of the program.
struct MainWindowServices {
  platform::Platform platform;
  common::MessageCatalog& catalog;
  // Loads the threat database from "files.dat"; false with the file error's text.
  std::function<bool(std::string& error)> loadDatabase;
  // The database's date line, or catalogue entry 2 when it cannot be read.
  std::function<std::string()> databaseDate;
  // The windows the buttons show.
  std::function<void(const std::string& windowClass)> showWindow;
  // The state of the most recent completed update check (2: an update is offered).
  std::function<int()> updateCheckState;
};

class TForm1 : public Window {
 public:
  enum Page { kStartPage = 0, kResultPage, kProcessPage, kStartupPage, kAboutPage, kServicePage };
  static constexpr int kPageCount = 6;

  explicit TForm1(MainWindowServices services);
  ~TForm1() override;

  // The creation step: refuses unsupported systems (false: end with exit code 1), loads the
  // database and shows its date.
  bool FormCreate();
  void SetChooser(TForm2* chooser) { chooser_ = chooser; }

  int ActivePage() const { return activePage_; }
  void ShowPage(int page);
  bool AbortFlag() const { return abort_; }

  // Controls the tests and the later features reach.
  StatusBar sb1;
  Label Label2;
  GroupBox welcomeGroup;
  Button Button4, Button7, Button8, xpButton15, Button9, Button10, Button18, xpButton3,
      xpButton4, xpButton6, Button17, languageButton, ignoreListButton;
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
  void Button3Click() { abort_ = true; }
  void Button2Click();
  void xpButton5Click();
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
  void Button10Click() { services_.showWindow("TFormR"); }
  void Button18Click() { ShowPage(kAboutPage); }
  void xpButton3Click();
  void xpButton4Click();
  void xpButton6Click() { services_.showWindow("TForm9"); }
  void Button17Click();
  void xpButton14Click() { services_.showWindow("TfrmMain"); }
  // Process page: "Refresh", "End Task"; the focus entering the notebook.
  void Button12Click() { processPage_.Refresh(); }
  void Button11Click() { processPage_.EndTask(cbx1.IsChecked(), Handle()); }
  void Note1Enter();
  // Startup page: "Refresh", "Delete values".
  void Button15Click() { startupPage_.Refresh(); }
  void Button14Click() { startupPage_.DeleteValues(Handle()); }
  const std::vector<inspect::StartupF>& StartupEntries() const { return startupPage_.Entries(); }
  // The full report writes its sections through this while it is being written.
  void SetReportSink(inspect::ReportSink* report) { report_.target = report; }
  void BackClick() { ShowPage(kStartPage); }
  void FormShow();
  void Timer3Timer();
  // "Fix" and "Add to Quarantine" always share their state.
  void SetFixEnabled(bool enabled);

  // "Refresh" hands its listing on to the tool window, which reloads its tabs with it.
  void SetToolWindowRefresh(std::function<void(const inspect::ServiceListing&)> refresh) {
    toolWindowRefresh_ = std::move(refresh);
  }
  // The service rows as last loaded, in list order, which the inventory and the reports read.
  std::vector<inspect::ServiceRow> ServiceRows() const;

  // Sets status panel 2 and the welcome label to "Last Update: " and the database date.
  void RefreshDateTexts();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override { Button17Click(); }

 private:
  void CreateControls();
  void CreateStartPage(HWND page);
  void CreateResultPage(HWND page);
  void CreateProcessPage(HWND page);
  void CreateStartupPage(HWND page);
  void CreateAboutPage(HWND page);
  void CreateServicePage(HWND page);
  // A button with its click handler and its hint (a catalogue entry).
  void AddButton(Button& button, HWND page, const std::string& caption, const Rect& r,
                 int hintEntry, std::function<void()> click);
  bool Ask(int textEntry);
  // Starts, stops or restarts the selected service row; the status cell shows the outcome.
  enum class ServiceAction { Start, Stop, Restart };
  void RunServiceAction(ServiceAction action);
  void ShowServiceRows(const inspect::ServiceListing& listing);
  // The index in serviceRows_ of the row an item of ListView2 shows; -1 for none.
  int ServiceRowIndex(int item) const;
  std::string Msg(int entry) const { return services_.catalog.Text(entry); }

  // A list view as the pages' list of rows.
  class ListRows : public inspect::CheckList {
   public:
    explicit ListRows(ListView& list) : list_(list) {}
    void Clear() override { list_.Clear(); }
    void AddRow(const std::string& caption, const std::vector<std::string>& subItems) override;
    int RowCount() const override { return list_.ItemCount(); }
    std::string Caption(int row) const override { return list_.ItemText(row); }
    std::string SubItem(int row, int index) const override { return list_.ItemText(row, index + 1); }
    bool IsChecked(int row) const override { return list_.IsChecked(row); }

   private:
    ListView& list_;
  };
  class ControlText : public inspect::TextSink {
   public:
    explicit ControlText(std::function<void(const std::string&)> set) : set_(std::move(set)) {}
    void SetText(const std::string& text) override { set_(text); }

   private:
    std::function<void(const std::string&)> set_;
  };
  // Passes lines on to the report being written, if any; idle otherwise.
  class ReportRelay : public inspect::ReportSink {
   public:
    bool Writing() const override { return target && target->Writing(); }
    void WriteLine(const std::string& line) override {
      if (target) target->WriteLine(line);
    }
    inspect::ReportSink* target = nullptr;
  };

  MainWindowServices services_;
  ListRows list2Rows_{List2}, list3Rows_{List3};
  ControlText label3Text_{[this](const std::string& t) { Label3.SetText(t); }};
  ControlText statusHint_{[this](const std::string& t) { sb1.SetPanelText(0, t); }};
  ReportRelay report_;
  inspect::ProcessPage processPage_;
  inspect::StartupPage startupPage_;
  TForm2* chooser_ = nullptr;
  std::array<HWND, kPageCount> pages_{};
  int activePage_ = kStartPage;
  bool abort_ = false;
  bool notebookEntered_ = false;
  std::function<void(const inspect::ServiceListing&)> toolWindowRefresh_;
  std::vector<inspect::ServiceRow> serviceRows_;  // in listing order; ListView2 sorts them
  std::vector<std::pair<int, std::function<void()>>> clicks_;  // by control id
  int nextId_ = 100;
};

}  // namespace morvanta::ui

// The drive window of the full drive scan: it opens when the user wants the drives searched
// for copies of what the quick scan found, lists the fixed drives to choose from and starts
// the scan a second after it closes. The main window stays disabled while it is open.
#pragma once

#include <string>

#include "app/session.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace morvanta::ui {

class TForm1;

class TForm3 : public Window {
 public:
  TForm3(app::Session& session, TForm1& main);

  // Handlers, named after their control and event.
  void FormShow();
  void dsButton2Click();   // "Refresh"
  void cList1ClickCheck();
  void xpButton1Click();   // "Scan"
  void Timer1Timer();
  void xpButton3Click();   // "Abort"
  void FormClose();

  // The drive roots the scan takes, each followed by ";".
  const std::string& SelectedDrives() const { return selectedDrives_; }
  bool DriveDialogAborted() const { return driveDialogAborted_; }
  bool TimerRunning() const { return timerRunning_; }

  ListView cList1;
  Label Label1;
  Memo Memo1;
  Button xpButton1, xpButton2, xpButton3;
  const ComponentRegistry& Components() const { return components_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The close box is "Abort".
  void OnClose() override { xpButton3Click(); }

 private:
  void Close();
  void StartTimer();
  void StopTimer();
  void ShowSelection();

  app::Session& session_;
  TForm1& main_;
  std::string selectedDrives_;
  bool driveDialogAborted_ = false;
  bool closingForFix_ = false;
  bool timerRunning_ = false;
  bool fillingList_ = false;  // the list is being filled: its check changes are ours
  ComponentRegistry components_;
};

}  // namespace morvanta::ui

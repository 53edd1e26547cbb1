// The Quarantine Manager: the quarantine's entries as ticked rows, and buttons that restore
// or remove the ticked ones, clear the quarantine or add a file the user picks. It stays open
// beside the main window; every showing reads the index file anew.
#pragma once

#include "app/session.h"
#include "platform/dialogs.h"
#include "runs/quarantine_manager.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TForm9 : public Window {
 public:
  TForm9(app::Session& session, HWND owner);

  // Handlers, named after their control and event.
  void FormShow();
  void RefreshList();
  void xpButton1Click();  // "Close"
  void xpButton2Click();  // "Restore selected tasks"
  void xpButton3Click();  // "Add Task"
  void xpButton4Click();  // "Remove Task"
  void xpButton5Click();  // "Clear Quarantine"
  void xpButton6Click() { RefreshList(); }  // "Refresh"

  runs::QuarantineManager& Manager() { return manager_; }

  ListView List1;
  Button xpButton1, xpButton2, xpButton3, xpButton4, xpButton5, xpButton6;
  StatusBar Bar1;
  platform::OpenFileDialog Open1;
  const ComponentRegistry& Components() const { return components_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The buttons that start something, off while a run serves the window's messages.
  void EnableActions(bool enabled);

  app::Session& session_;
  ListViewRows rows_{List1};
  ControlText barText_{[this](const std::string& text) { Bar1.SetPanelText(0, text); }};
  WindowPrompts prompts_;
  WindowPump pump_;
  runs::QuarantineManager manager_;
  ComponentRegistry components_;
};

}  // namespace morvanta::ui

// The upgrade window `TForm4` ("Upgrading..."): the new version, the transfer and its bar
// while the new program comes; closing it asks whether to abort. The main window is
// disabled while it is shown.
#pragma once

#include <functional>
#include <string>

#include "app/session.h"
#include "runs/program_upgrade.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TForm4 : public Window, public runs::UpgradeWindow {
 public:
  static constexpr char kCaption[] = "Upgrading...";

  TForm4(app::Session& session, HWND mainWindow);

  // Shows the window with `label1` and starts fetching the new program.
  void StartUpgrade(const std::string& label1);
  // "Cancel", as the window frame's close does.
  void Button1Click();

  // What ends the program once the new one has started; tests put something harmless here.
  void SetEndProgram(std::function<void(int exitCode)> end) { end_ = std::move(end); }

  // runs::UpgradeWindow
  void SetBarPosition(int position) override { pb1.SetPosition(position); }
  void SetMainEnabled(bool enabled) override { ::EnableWindow(mainWindow_, enabled); }
  void CloseWindow() override;
  void EndProgram(int exitCode) override { end_(exitCode); }

  Label Label1, Label2;
  ProgressBar pb1;
  Button Button1;
  const ComponentRegistry& Components() const { return components_; }
  runs::ProgramUpgrade& Upgrade() { return upgrade_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override { Button1Click(); }

 private:
  HWND mainWindow_;
  WindowPrompts prompts_;
  WindowPump pump_;
  ControlText label2Text_{[this](const std::string& t) { Label2.SetText(t); }};
  runs::ProgramUpgrade upgrade_;
  std::function<void(int)> end_;
  ComponentRegistry components_;
};

}  // namespace morvanta::ui

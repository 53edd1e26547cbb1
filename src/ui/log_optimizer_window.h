// The Log Optimizer `TForm12`: the four section switches of the full report log, "Build log"
// (which aborts the build in progress when clicked again) and "Cancel". Always on top; the
// report manager's "Save full report log" shows it. The build runs over the main window's
// own pages, which write their sections while the report is written.
#pragma once

#include "app/session.h"
#include "runs/full_report.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TForm1;

class TForm12 : public Window, public runs::ReportControls {
 public:
  static constexpr char kCaption[] = "Log Optimizer";

  TForm12(app::Session& session, TForm1& main);

  // Handlers, named after their component and event.
  void FormShow();
  void xpCheckBox1Click();  // "Startup files."
  void xpCheckBox2Click();  // "Active Services."
  void xpCheckBox3Click();  // "Active processes."
  void xpCheckBox4Click();  // "Infected files."
  void xpButton1Click();    // "Build log"
  void xpButton2Click() { Hide(); }  // "Cancel"

  const runs::ReportSections& Sections() const { return builder_.sections; }
  bool Building() const { return builder_.Building(); }
  runs::ReportOutcome LastOutcome() const { return lastOutcome_; }

  // The build's part of the main window.
  void HideOptions() override { Hide(); }
  void ShowBuilding(bool building) override;
  void SetMainEnabled(bool enabled) override;

  // The components a language file reaches.
  const ComponentRegistry& Components() const { return components_; }

  GroupBox GroupBox1;
  CheckBox xpCheckBox1, xpCheckBox2, xpCheckBox3, xpCheckBox4;
  Button xpButton1, xpButton2;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::string Msg(common::Msg entry) const { return session_.Catalog().Text(entry); }

  app::Session& session_;
  TForm1& main_;
  WindowPrompts prompts_;
  WindowPump pump_;
  runs::ReportBuilder builder_;
  runs::ReportOutcome lastOutcome_ = runs::ReportOutcome::Aborted;
  std::string buildCaption_;  // "Build log" as the language has it, while it reads "Abort log"
  ComponentRegistry components_;
};

}  // namespace morvanta::ui

// The running program in its normal mode: every window, created once in a fixed order over
// one session and kept until the end, and the message loop.
#pragma once

#include <memory>
#include <string>

#include "app/prompt_boxes.h"
#include "app/session.h"
#include "ui/action_chooser.h"
#include "ui/frm_main.h"
#include "ui/full_scan_window.h"
#include "ui/ignore_list_window.h"
#include "ui/log_optimizer_window.h"
#include "ui/language_window.h"
#include "ui/main_window.h"
#include "ui/quarantine_window.h"
#include "ui/report_manager_window.h"
#include "ui/upgrade_window.h"
#include "ui/window_texts.h"
#include "ui/window_directory.h"

namespace morvanta::ui {

// The hidden window whose title the task bar shows for the whole program; it owns the main
// window, so the main window has no button of its own there.
class ApplicationWindow : public Window {
 public:
  // Runs the tasks the workers posted.
  static constexpr UINT kRunTasksMessage = WM_APP + 1;

  explicit ApplicationWindow(const std::string& title);
  void SetMainWindow(HWND main) { main_ = main; }
  void SetTasks(common::UiTasks* tasks) { tasks_ = tasks; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override;

 private:
  HWND main_ = nullptr;
  common::UiTasks* tasks_ = nullptr;
};

class Application : public WindowDirectory {
 public:
  static constexpr const char* kTitle = app::kApplicationTitle;

  explicit Application(app::Session& session);
  ~Application() override;

  // Creates the windows in order; false when the main window's creation step refused to
  // run (the program then ends with exit code 1).
  bool CreateWindows();
  // Shows the main window and runs the message loop until it closes; the exit code.
  int Run();

  Window& Get(WindowId id) override;
  TfrmMain& ToolWindow() override { return *frmMain_; }
  TForm1& Main() { return *form1_; }
  TForm2& Chooser() { return *form2_; }
  TForm3& DriveWindow() { return *form3_; }
  TForm9& QuarantineWindow() { return *form9_; }
  TFormIG& IgnoreListWindow() { return *formIG_; }
  TForm12& LogOptimizer() { return *form12_; }
  TFormR& ReportManagerWindow() { return *formR_; }
  TFormL& LanguageWindow() { return *formL_; }
  TForm4& UpgradeWindow() { return *form4_; }
  ApplicationWindow& AppWindow() { return appWindow_; }
  // The windows' component texts, as a language file reads and writes them.
  WindowTexts& Texts() { return texts_; }

 private:
  app::Session& session_;
  ApplicationWindow appWindow_{kTitle};
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
  std::unique_ptr<TForm9> form9_;
  std::unique_ptr<TfrmMain> frmMain_;
  std::unique_ptr<TForm12> form12_;
  std::unique_ptr<TFormIG> formIG_;
  std::unique_ptr<TFormL> formL_;
  std::unique_ptr<TFormR> formR_;
  WindowTexts texts_;
};

}  // namespace morvanta::ui

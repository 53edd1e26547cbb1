// The running program in its normal mode: every window, created once in a fixed order and
// kept until the end, and the message loop.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/message_catalog.h"
#include "platform/platform.h"
#include "ui/action_chooser.h"
#include "ui/frm_main.h"
#include "ui/main_window.h"
#include "ui/tool_windows.h"

namespace morvanta::ui {

// What the windows need that lives outside them.
struct ApplicationServices {
  platform::Platform platform;
  common::MessageCatalog& catalog;
  std::function<bool(std::string& error)> loadDatabase;
  std::function<std::string()> databaseDate;
};

class Application {
 public:
  static constexpr char kTitle[] = "Morvanta Pro v4 - SE";

  explicit Application(ApplicationServices services);
  ~Application();

  // Creates the windows in order; false when the main window's creation step refused to
  // run (the program then ends with exit code 1).
  bool CreateWindows();
  // Shows the main window and runs the message loop until it closes; the exit code.
  int Run();

  TForm1& Main() { return *form1_; }
  TForm2& Chooser() { return *form2_; }
  TfrmMain& FrmMain() { return *frmMain_; }
  Window* WindowByClass(const std::string& className);
  void ShowWindowByClass(const std::string& className);

 private:
  ApplicationServices services_;
  int updateCheckState_ = 0;
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
};

}  // namespace morvanta::ui

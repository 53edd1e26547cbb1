// The windows of the program by what they are, for the windows that show each other.
#pragma once

#include "ui/window.h"

namespace morvanta::ui {

class TfrmMain;

// In the order they are created at start.
enum class WindowId {
  Main,               // TForm1
  Chooser,            // TForm2
  FullScan,           // TForm3
  Upgrade,            // TForm4
  QuarantineManager,  // TForm9
  ToolWindow,         // TfrmMain
  LogOptimizer,       // TForm12
  IgnoreList,         // TFormIG
  Language,           // TFormL
  ReportManager,      // TFormR
};

class WindowDirectory {
 public:
  virtual ~WindowDirectory() = default;
  virtual Window& Get(WindowId id) = 0;
  virtual TfrmMain& ToolWindow() = 0;
  void Show(WindowId id) { Get(id).Show(); }
};

}  // namespace morvanta::ui

// The windows whose content comes with later features: each exists from start to end with
// its caption, hidden until a button shows it.
#pragma once

#include <string>

#include "ui/window.h"

namespace morvanta::ui {

class ToolWindow : public Window {
 public:
  ToolWindow(const std::string& caption, HWND owner, int width, int height);

 protected:
  bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
};

// The program upgrade's progress.
class TForm4 : public ToolWindow {
 public:
  explicit TForm4(HWND owner) : ToolWindow("Upgrading...", owner, 360, 120) {}
};

class TForm12 : public ToolWindow {
 public:
  explicit TForm12(HWND owner) : ToolWindow("Log Optimizer", owner, 400, 320) {}
};

class TFormR : public ToolWindow {
 public:
  explicit TFormR(HWND owner) : ToolWindow("Report Manager", owner, 640, 480) {}
};

}  // namespace morvanta::ui

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

}  // namespace morvanta::ui

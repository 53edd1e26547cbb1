// The windows whose content comes with later features: each exists from start to end with
// its caption, hidden until a button shows it.
#pragma once

#include <functional>
#include <string>

#include "ui/controls.h"
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

// The report manager, so far with its "Save full report log" button only.
class TFormR : public ToolWindow {
 public:
  TFormR(HWND owner, std::function<void()> showLogOptimizer);
  void xpButton3Click() { showLogOptimizer_(); }  // "Save full report log"

  Button xpButton3;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::function<void()> showLogOptimizer_;
};

}  // namespace morvanta::ui

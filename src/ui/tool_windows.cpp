#include "ui/tool_windows.h"

namespace morvanta::ui {

ToolWindow::ToolWindow(const std::string& caption, HWND owner, int width, int height) {
  WindowArgs args;
  args.caption = caption;
  args.width = width;
  args.height = height;
  args.owner = owner;
  Create(args);
}

namespace {
enum { kSaveReportId = 10 };
}  // namespace

TFormR::TFormR(HWND owner, std::function<void()> showLogOptimizer)
    : ToolWindow("Report Manager", owner, 640, 480), showLogOptimizer_(std::move(showLogOptimizer)) {
  xpButton3.Create(Handle(), kSaveReportId, "Save full report log", {480, 440, 150, 28});
}

bool TFormR::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != kSaveReportId)
    return false;
  xpButton3Click();
  result = 0;
  return true;
}

}  // namespace morvanta::ui

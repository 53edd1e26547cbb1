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

}  // namespace morvanta::ui

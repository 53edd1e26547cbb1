// The windows of the program by what they are, for the windows that show each other.
#pragma once

#include "app/window_components.h"
#include "ui/window.h"

namespace morvanta::ui {

class TfrmMain;

using app::WindowId;

class WindowDirectory {
 public:
  virtual ~WindowDirectory() = default;
  virtual Window& Get(WindowId id) = 0;
  virtual TfrmMain& ToolWindow() = 0;
  void Show(WindowId id) { Get(id).Show(); }
};

}  // namespace morvanta::ui

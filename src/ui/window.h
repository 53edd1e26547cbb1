// The base of every window class: creation from a struct of arguments, `this` kept in the
// window's user data, messages dispatched to a member, no exception escaping into Windows.
#pragma once

#include <string>

#include "platform/win32/win_api.h"

namespace morvanta::ui {

struct WindowArgs {
  std::string caption;
  // CW_USEDEFAULT: centred on the screen's work area.
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = 640, height = 480;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  bool clientSize = true;  // width and height are of the client area
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  bool Create(const WindowArgs& args);
  HWND Handle() const { return hwnd_; }
  void Show();
  void Hide();
  bool IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  void SetCaption(const std::string& caption) { ::SetWindowTextA(hwnd_, caption.c_str()); }
  std::string Caption() const;
  void Enable(bool enabled) { ::EnableWindow(hwnd_, enabled); }

 protected:
  // Returns true when the message was handled and `result` holds the answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Closing a window only hides it, unless a class says otherwise.
  virtual void OnClose() { Hide(); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The default GUI font for every child control.
HFONT DefaultFont();

// The windows are laid out in pixels of a 96 DPI screen ("design pixels"). The program tells
// the system it is DPI aware (its manifest), so it scales them itself: controls, pages,
// windows, list columns and status panels are given in design pixels and created at the
// screen's DPI; what the system measures (client areas, text extents, heights) is turned
// back into design pixels before the layout uses it.
int ScreenDpi();
int ToScreen(int designPixels);
int ToDesign(int screenPixels);

// Leaves a trace (debug output) of a handler that failed where nothing may escape.
void TraceHandlerFailure(const char* where, const char* what);

}  // namespace morvanta::ui

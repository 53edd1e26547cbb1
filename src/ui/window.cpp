#include "ui/window.h"

#include <algorithm>
#include <exception>

namespace morvanta::ui {
namespace {

constexpr char kClassName[] = "MorvantaWindow";

void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExA(&wc);
  registered = true;
}

}  // namespace

void TraceHandlerFailure(const char* where, const char* what) {
  const std::string line = std::string("morvanta: ") + where + " handler failed: " + what + "\n";
  ::OutputDebugStringA(line.c_str());
}

HFONT DefaultFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return ::CreateFontIndirectA(&metrics.lfMessageFont);
  }();
  return font;
}

int ScreenDpi() {
  static const int dpi = [] {
    HDC screen = ::GetDC(nullptr);
    const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int ToScreen(int designPixels) { return ::MulDiv(designPixels, ScreenDpi(), 96); }

int ToDesign(int screenPixels) { return ::MulDiv(screenPixels, 96, ScreenDpi()); }

Window::~Window() {
  if (hwnd_) {
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

bool Window::Create(const WindowArgs& args) {
  RegisterOnce();
  RECT r = {0, 0, ToScreen(args.width), ToScreen(args.height)};
  if (args.clientSize) ::AdjustWindowRectEx(&r, args.style, FALSE, args.exStyle);
  const int width = r.right - r.left, height = r.bottom - r.top;
  int x = args.x, y = args.y;
  if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) {
    x = ToScreen(x);
    y = ToScreen(y);
  } else {
    // Centred on the work area, as the windows were designed to open.
    RECT area = {0, 0, 1024, 768};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    x = area.left + std::max(0, static_cast<int>(area.right - area.left - width) / 2);
    y = area.top + std::max(0, static_cast<int>(area.bottom - area.top - height) / 2);
  }
  hwnd_ = ::CreateWindowExA(args.exStyle, kClassName, args.caption.c_str(), args.style, x, y,
                            width, height, args.owner, nullptr, ::GetModuleHandleA(nullptr),
                            nullptr);
  if (!hwnd_) return false;
  ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure));
  return true;
}

void Window::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
}

void Window::Hide() { ::ShowWindow(hwnd_, SW_HIDE); }

std::string Window::Caption() const {
  char text[512] = {};
  ::GetWindowTextA(hwnd_, text, sizeof text);
  return text;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    try {
      if (message == WM_CLOSE) {
        self->OnClose();
        return 0;
      }
      LRESULT result = 0;
      if (self->OnMessage(message, wParam, lParam, result)) return result;
    } catch (const std::exception& e) {
      // A failed handler leaves the window as it was; nothing escapes into Windows, but
      // the failure leaves a trace for the debugger.
      TraceHandlerFailure("window message", e.what());
    } catch (...) {
      TraceHandlerFailure("window message", "unknown exception");
    }
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace morvanta::ui

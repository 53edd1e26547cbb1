// What the GUI tests share: letting the windows work for a while, and saving pictures.
#pragma once

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32/win_api.h"
#include "ui/screenshot.h"

namespace morvanta::ui::test_util {

// Dispatches the pending messages for at least `milliseconds`.
inline void Pump(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&m);
      ::DispatchMessageA(&m);
    }
    ::Sleep(10);
  } while (::GetTickCount() - start < milliseconds);
}

// Saves a picture of the window as NAME.bmp in MORVANTA_SCREENSHOT_DIR, when that is set.
inline void Screenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("MORVANTA_SCREENSHOT_DIR");
  if (!folder) return;
  ::CreateDirectoryA(folder, nullptr);
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  EXPECT_TRUE(SaveWindowBitmap(window, path)) << path;
}

}  // namespace morvanta::ui::test_util

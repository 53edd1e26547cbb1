// Saves what a window shows on the screen as a 24-bit BMP file: for the GUI tests.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win_api.h"

namespace morvanta::ui {

// What a window shows on the screen, as 24-bit rows bottom up.
struct WindowPicture {
  int width = 0, height = 0, stride = 0;
  BITMAPINFOHEADER info = {};
  std::vector<unsigned char> pixels;
  // A window that has drawn its frame, text and controls shows many; a blank one, one.
  size_t DistinctColours() const;
};

std::optional<WindowPicture> CaptureWindow(HWND window);
bool SaveWindowBitmap(const WindowPicture& picture, const std::string& path);
bool SaveWindowBitmap(HWND window, const std::string& path);

}  // namespace morvanta::ui

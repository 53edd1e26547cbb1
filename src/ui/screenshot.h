// Saves what a window shows on the screen as a 24-bit BMP file: for the GUI tests.
#pragma once

#include <string>

#include "platform/win32/win_api.h"

namespace morvanta::ui {

bool SaveWindowBitmap(HWND window, const std::string& path);

}  // namespace morvanta::ui

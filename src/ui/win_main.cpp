// The program entry.
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "ui/start_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  morvanta::platform::win32::Win32Platform platform;
  return morvanta::ui::RunStartWindow(platform.Get());
}

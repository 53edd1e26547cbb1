// What the GUI tests share: letting the windows work for a while, and saving pictures.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "database/container.h"
#include "platform/files.h"
#include "platform/win32/win_api.h"
#include "ui/screenshot.h"

#include <commctrl.h>

namespace morvanta::ui::test_util {

// A database file with a date line and nothing else, packed as it ships.
inline bool PutDatabase(platform::Files& files, const std::string& path, const std::string& date) {
  const std::string text = date + "\r\n_end\r\n";
  const auto packed =
      database::PackDatabase(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  return files.WriteAll(path, packed.data(), packed.size());
}

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

// Brings the window to the front and waits until it is there (another program starting
// meanwhile can take the front for a moment).
inline bool BringToFront(HWND window) {
  for (int waited = 0; waited < 1000; waited += 20) {
    if (::GetForegroundWindow() == window) return true;
    ::SetForegroundWindow(window);
    Pump(20);
  }
  return ::GetForegroundWindow() == window;
}

// A left click at a point of the screen. The press and the release carry the point
// themselves: under Wine a pointer placed with SetCursorPos alone can still be taken back to
// where it was by a motion event that was on its way, and the click then lands on the row
// clicked before.
inline bool ClickAt(POINT at) {
  ::SetCursorPos(at.x, at.y);
  POINT now = {};
  for (int waited = 0; waited < 500 && (!::GetCursorPos(&now) || now.x != at.x || now.y != at.y);
       waited += 10)
    Pump(10);
  Pump(20);
  // Absolute input is in 65536ths of the screen; rounding up lands on the pixel itself.
  const LONG width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  const LONG dx = static_cast<LONG>((static_cast<int64_t>(at.x) * 65536 + width - 1) / width);
  const LONG dy = static_cast<LONG>((static_cast<int64_t>(at.y) * 65536 + height - 1) / height);
  INPUT clicks[2] = {};
  const DWORD flags[2] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 2; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dx = dx;
    clicks[i].mi.dy = dy;
    clicks[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  return ::SendInput(2, clicks, sizeof(INPUT)) == 2;
}

// Clicks the check box of a list view's row with the real mouse, as a user does: the input
// goes through the system's input queue (SendInput) to whatever lies under the pointer.
// Waits until the box has changed (the window handles the click) or a while has passed;
// false when the row shows no check box or the box did not change. A click that changed
// nothing is made again (a busy machine can lose one), unless `once`: for a change the
// window itself takes back.
inline bool ClickCheckBox(HWND list, int item, bool once = false) {
  // Two clicks within the double-click time make a double click, which a list view does
  // not take as a second change of the box.
  static DWORD lastClick = 0;
  while (lastClick && ::GetTickCount() - lastClick <= ::GetDoubleClickTime() + 50) Pump(20);
  const HWND root = ::GetAncestor(list, GA_ROOT);
  ::SendMessageA(list, LVM_ENSUREVISIBLE, item, FALSE);
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  if (!::SendMessageA(list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&bounds))) return false;
  const auto checked = [&] {
    return (::SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK) >> 12) == 2;
  };
  const bool before = checked();
  const int y = (bounds.top + bounds.bottom) / 2;
  POINT at = {-1, -1};
  for (int x = bounds.left; x < bounds.left + 40 && at.x < 0; ++x) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, y};
    ::SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == item && (hit.flags & LVHT_ONITEMSTATEICON)) at = {x + 2, y};
  }
  if (at.x < 0) return false;
  for (int attempt = 0; attempt < 3; ++attempt) {
    BringToFront(root);
    POINT onScreen = at;  // the window may have moved since the last try
    ::ClientToScreen(list, &onScreen);
    if (!ClickAt(onScreen)) return false;
    lastClick = ::GetTickCount();
    for (int waited = 0; waited < (once ? 500 : 4000) && checked() == before; waited += 20) Pump(20);
    Pump(50);  // and what the change posts
    if (checked() != before || once) break;
    while (::GetTickCount() - lastClick <= ::GetDoubleClickTime() + 50) Pump(20);
  }
  return checked() != before;
}

// Clicks a row's check box until `done` holds (a busy machine can lose a click), for
// changes the window takes back or follows with other work. False when it never held.
template <typename Done>
bool ClickCheckBoxUntil(HWND list, int item, Done done) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    ClickCheckBox(list, item, /*once=*/true);
    for (int waited = 0; waited < 3000 && !done(); waited += 20) Pump(20);
    if (done()) return true;
  }
  return false;
}

// Clicks a control (a button) in its middle with the real mouse, until `done` holds (a busy
// machine can lose a click). False when it never held.
template <typename Done>
bool ClickControlUntil(HWND control, Done done) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    BringToFront(::GetAncestor(control, GA_ROOT));
    RECT r = {};
    ::GetWindowRect(control, &r);
    if (!ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2})) return false;
    for (int waited = 0; waited < 3000 && !done(); waited += 20) Pump(20);
    if (done()) return true;
  }
  return false;
}

// Takes a picture of the window, which must show that it drew itself (its frame, texts and
// controls: more than a handful of colours), and saves it as NAME.bmp in
// MORVANTA_SCREENSHOT_DIR when that is set.
inline void Screenshot(HWND window, const std::string& name) {
  auto picture = CaptureWindow(window);
  ASSERT_TRUE(picture) << name;
  EXPECT_GT(picture->DistinctColours(), 8u) << name << " looks blank";
  const char* folder = std::getenv("MORVANTA_SCREENSHOT_DIR");
  if (!folder) return;
  ::CreateDirectoryA(folder, nullptr);
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  EXPECT_TRUE(SaveWindowBitmap(*picture, path)) << path;
}

}  // namespace morvanta::ui::test_util

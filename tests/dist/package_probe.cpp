// package_probe: looks at the unpacked release package from inside Windows, for the
// package's smoke test.
//
//   package_probe version FILE
//       prints FILE's version strings, "KEY=VALUE" a line, read as the services page reads
//       them; exit 1 when it has none
//   package_probe window CAPTION PICTURE.bmp SECONDS
//       waits up to SECONDS for a visible top-level window named CAPTION, gives it a moment
//       to draw, prints "image=PATH" (its process's executable) and "window=CAPTION" for
//       each visible top-level window of that process, and saves a picture of the window;
//       exit 1 when none came or it looks blank
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "inspect/services.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "ui/screenshot.h"

namespace {

using namespace morvanta;

int Version(const std::string& path) {
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  const auto strings = inspect::ReadVersionStrings(p, path);
  for (const auto& [key, value] : strings) std::printf("%s=%s\n", key.c_str(), value.c_str());
  return strings.empty() ? 1 : 0;
}

std::string ImageOf(DWORD processId) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return "";
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool ok = ::QueryFullProcessImageNameA(process, 0, path, &size);
  ::CloseHandle(process);
  return ok ? std::string(path, size) : std::string();
}

struct Windows {
  DWORD processId;
  std::vector<std::string> captions;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Windows*>(param);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId != found->processId || !::IsWindowVisible(window)) return TRUE;
  char caption[256] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  found->captions.emplace_back(caption);
  return TRUE;
}

int Window(const std::string& caption, const std::string& picturePath, int seconds) {
  HWND window = nullptr;
  for (int waited = 0; waited < seconds * 1000; waited += 100) {
    window = ::FindWindowA(nullptr, caption.c_str());
    if (window && ::IsWindowVisible(window)) break;
    window = nullptr;
    ::Sleep(100);
  }
  if (!window) {
    std::fprintf(stderr, "package_probe: no window \"%s\" within %d s\n", caption.c_str(), seconds);
    return 1;
  }
  ::SetForegroundWindow(window);
  ::Sleep(2000);  // its controls and pictures drawn
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  std::printf("image=%s\n", ImageOf(processId).c_str());
  Windows windows{processId, {}};
  ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&windows));
  for (const auto& c : windows.captions) std::printf("window=%s\n", c.c_str());
  const auto picture = ui::CaptureWindow(window);
  if (!picture || picture->DistinctColours() <= 8) {
    std::fprintf(stderr, "package_probe: the window \"%s\" looks blank\n", caption.c_str());
    return 1;
  }
  if (!ui::SaveWindowBitmap(*picture, picturePath)) {
    std::fprintf(stderr, "package_probe: cannot write %s\n", picturePath.c_str());
    return 1;
  }
  std::printf("picture=%dx%d, %zu colours\n", picture->width, picture->height,
              picture->DistinctColours());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "version") return Version(args[1]);
  if (args.size() == 4 && args[0] == "window")
    return Window(args[1], args[2], std::atoi(args[3].c_str()));
  std::fputs("usage: package_probe version FILE | window CAPTION PICTURE.bmp SECONDS\n", stderr);
  return 2;
}

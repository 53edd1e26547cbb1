#include "ui/screenshot.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/win32/handle.h"

namespace morvanta::ui {
namespace {

struct DcReleaser {
  void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool SaveWindowBitmap(HWND window, const std::string& path) {
  RECT r = {};
  if (!::GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;

  std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser> screen(::GetDC(nullptr));
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> memory(::CreateCompatibleDC(screen.get()));
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter> bitmap(
      ::CreateCompatibleBitmap(screen.get(), width, height));
  if (!screen || !memory || !bitmap) return false;
  HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  ::SelectObject(memory.get(), previous);

  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as BMP files store them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  if (!::GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
    return false;

  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  return std::fwrite(&header, sizeof header, 1, file.get()) == 1 &&
         std::fwrite(&info, sizeof info, 1, file.get()) == 1 &&
         std::fwrite(pixels.data(), pixels.size(), 1, file.get()) == 1;
}

}  // namespace morvanta::ui

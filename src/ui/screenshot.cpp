#include "ui/screenshot.h"

#include <cstdio>
#include <memory>
#include <set>
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

std::optional<WindowPicture> CaptureWindow(HWND window) {
  RECT r = {};
  if (!::GetWindowRect(window, &r)) return std::nullopt;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return std::nullopt;

  std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser> screen(::GetDC(nullptr));
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> memory(::CreateCompatibleDC(screen.get()));
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter> bitmap(
      ::CreateCompatibleBitmap(screen.get(), width, height));
  if (!screen || !memory || !bitmap) return std::nullopt;
  HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  ::SelectObject(memory.get(), previous);

  WindowPicture picture;
  picture.width = width;
  picture.height = height;
  BITMAPINFOHEADER& info = picture.info;
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as BMP files store them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  picture.stride = (width * 3 + 3) & ~3;
  picture.pixels.resize(static_cast<size_t>(picture.stride) * height);
  if (!::GetDIBits(memory.get(), bitmap.get(), 0, height, picture.pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
    return std::nullopt;
  return picture;
}

size_t WindowPicture::DistinctColours() const {
  std::set<uint32_t> colours;
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = pixels.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x)
      colours.insert(row[3 * x] | row[3 * x + 1] << 8 | static_cast<uint32_t>(row[3 * x + 2]) << 16);
  }
  return colours.size();
}

bool SaveWindowBitmap(const WindowPicture& picture, const std::string& path) {
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof picture.info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(picture.pixels.size());
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  return std::fwrite(&header, sizeof header, 1, file.get()) == 1 &&
         std::fwrite(&picture.info, sizeof picture.info, 1, file.get()) == 1 &&
         std::fwrite(picture.pixels.data(), picture.pixels.size(), 1, file.get()) == 1;
}

bool SaveWindowBitmap(HWND window, const std::string& path) {
  auto picture = CaptureWindow(window);
  return picture && SaveWindowBitmap(*picture, path);
}

}  // namespace morvanta::ui

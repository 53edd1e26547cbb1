#include "platform/win32/folders_win32.h"

#include "platform/win32/handle.h"

#include <shlobj.h>

namespace morvanta::platform::win32 {
namespace {

// For the calls that return the length copied, or the size needed (with the NUL) when the
// buffer is too small, and 0 on failure.
template <class Call>
std::string GrowingText(Call call) {
  std::string text(MAX_PATH + 1, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT length = call(text.data(), static_cast<UINT>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length + 1);
  }
  return {};
}

}  // namespace

std::string Win32Folders::WindowsDirectory() {
  return GrowingText([](char* buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); });
}

std::string Win32Folders::SystemDirectory() {
  return GrowingText([](char* buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); });
}

std::string Win32Folders::TempPath() {
  return GrowingText([](char* buffer, UINT size) {
    return static_cast<UINT>(::GetTempPathA(size, buffer));
  });
}

std::string Win32Folders::SpecialFolder(int csidl) {
  PidlHandle pidl;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, pidl.Put())) || !pidl) return {};
  char path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListA(pidl.Get(), path)) return {};
  return path;
}

std::vector<std::string> Win32Folders::LogicalDrives() {
  std::vector<std::string> roots;
  std::string buffer(256, '\0');
  DWORD length = ::GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length > buffer.size()) {  // too small: `length` is the size needed
    buffer.assign(length + 1, '\0');
    length = ::GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (length == 0 || length > buffer.size()) return roots;
  // "C:\<NUL>D:\<NUL><NUL>"
  for (size_t start = 0; start < length;) {
    size_t end = buffer.find('\0', start);
    if (end == std::string::npos || end == start) break;
    roots.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return roots;
}

DriveType Win32Folders::GetDriveType(const std::string& root) {
  switch (::GetDriveTypeA(root.c_str())) {
    case DRIVE_NO_ROOT_DIR: return DriveType::NoRootDir;
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    default: return DriveType::Unknown;
  }
}

}  // namespace morvanta::platform::win32

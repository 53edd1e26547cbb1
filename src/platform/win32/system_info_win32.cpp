#include "platform/win32/system_info_win32.h"

#include <cstring>

#include "platform/win32/win_api.h"

#include <lmcons.h>
#include <winver.h>

namespace morvanta::platform::win32 {

std::vector<std::pair<uint16_t, uint16_t>> Win32VersionResource::Translations() {
  std::vector<std::pair<uint16_t, uint16_t>> pairs;
  void* data = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &data, &length) || !data)
    return pairs;
  const auto* words = static_cast<const WORD*>(data);
  for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) pairs.emplace_back(words[i], words[i + 1]);
  return pairs;
}

std::optional<std::string> Win32VersionResource::QueryString(const std::string& subBlock) {
  void* data = nullptr;
  UINT length = 0;  // characters, with the NUL
  if (!::VerQueryValueA(block_.data(), subBlock.c_str(), &data, &length) || !data)
    return std::nullopt;
  const char* text = static_cast<const char*>(data);
  return std::string(text, ::strnlen(text, length));
}

std::optional<OsVersion> Win32SystemInfo::QueryVersion() {
  OSVERSIONINFOEXA info;
  std::memset(&info, 0, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::nullopt;
  OsVersion version;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  version.platformId = info.dwPlatformId;
  version.servicePack.assign(info.szCSDVersion,
                             ::strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
  version.servicePackMajor = info.wServicePackMajor;
  version.servicePackMinor = info.wServicePackMinor;
  version.suiteMask = info.wSuiteMask;
  version.productType = info.wProductType;
  return version;
}

uint16_t Win32SystemInfo::NativeProcessorArchitecture() {
  SYSTEM_INFO info;
  std::memset(&info, 0, sizeof(info));
  ::GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

uint32_t Win32SystemInfo::PackedVersion() { return ::GetVersion(); }

std::string Win32SystemInfo::UserName() {
  std::vector<char> name(UNLEN + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = static_cast<DWORD>(name.size());
    if (::GetUserNameA(name.data(), &size))
      return std::string(name.data(), ::strnlen(name.data(), name.size()));
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= name.size()) return {};
    name.resize(size);
  }
  return {};
}

std::string Win32SystemInfo::ModulePath() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::string(path.data(), length);
    if (path.size() >= 0x8000) return {};  // longer than any path can be
    path.resize(path.size() * 2);  // cut short: the result filled the whole buffer
  }
}

std::unique_ptr<VersionResource> Win32SystemInfo::OpenVersionResource(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return nullptr;
  std::vector<uint8_t> block(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return nullptr;
  return std::make_unique<Win32VersionResource>(std::move(block));
}

std::string Win32SystemInfo::LongTimeText() {
  int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, nullptr, 0);
  if (length <= 0) return {};
  std::vector<char> text(static_cast<size_t>(length));
  length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text.data(), length);
  if (length <= 0) return {};
  return std::string(text.data(), ::strnlen(text.data(), text.size()));
}

std::string Win32SystemInfo::ShortDateText() {
  int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, nullptr, 0);
  if (length <= 0) return {};
  std::vector<char> text(static_cast<size_t>(length));
  length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text.data(), length);
  if (length <= 0) return {};
  return std::string(text.data(), ::strnlen(text.data(), text.size()));
}

std::string Win32SystemInfo::DecimalSeparator() {
  char text[8] = {};
  if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) <= 0) return ".";
  return text;
}

uint32_t Win32SystemInfo::TickCount() { return ::GetTickCount(); }

void Win32SystemInfo::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32SystemInfo::HasAdministratorRights() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const bool read =
      ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  ::CloseHandle(token);
  return read && elevation.TokenIsElevated != 0;
}

}  // namespace morvanta::platform::win32

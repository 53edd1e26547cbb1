// System information through kernel32, advapi32 and the version library.
#pragma once

#include "platform/system_info.h"

namespace morvanta::platform::win32 {

class Win32VersionResource : public VersionResource {
 public:
  explicit Win32VersionResource(std::vector<uint8_t> block) : block_(std::move(block)) {}

  std::vector<std::pair<uint16_t, uint16_t>> Translations() override;
  std::optional<std::string> QueryString(const std::string& subBlock) override;

 private:
  std::vector<uint8_t> block_;  // as GetFileVersionInfoA filled it
};

class Win32SystemInfo : public SystemInfo {
 public:
  std::optional<OsVersion> QueryVersion() override;
  uint16_t NativeProcessorArchitecture() override;
  uint32_t PackedVersion() override;
  std::string UserName() override;
  std::string ModulePath() override;
  std::unique_ptr<VersionResource> OpenVersionResource(const std::string& path) override;
  std::string LongTimeText() override;
  std::string ShortDateText() override;
  std::string DecimalSeparator() override;
  uint32_t TickCount() override;
  void Sleep(uint32_t milliseconds) override;
  bool HasAdministratorRights() override;
};

}  // namespace morvanta::platform::win32

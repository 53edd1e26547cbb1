// System information of a made-up Windows XP machine; a virtual clock that Sleep moves.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"
#include "platform/system_info.h"

namespace morvanta::platform::fake {

// The version resource content of one fake file.
struct FakeVersionInfo {
  std::vector<std::pair<uint16_t, uint16_t>> translations;
  std::map<std::string, std::string> strings;  // by full sub-block
};

class FakeSystemInfo : public SystemInfo {
 public:
  FakeSystemInfo();

  std::optional<OsVersion> QueryVersion() override;
  uint16_t NativeProcessorArchitecture() override { return architecture_; }
  uint32_t PackedVersion() override { return packedVersion_; }
  std::string UserName() override { return userName_; }
  std::string ModulePath() override { return modulePath_; }
  std::unique_ptr<VersionResource> OpenVersionResource(const std::string& path) override;
  std::string LongTimeText() override { return timeText_; }
  std::string ShortDateText() override { return dateText_; }
  std::string DecimalSeparator() override { return decimalSeparator_; }
  uint32_t TickCount() override { return ticks_; }
  void Sleep(uint32_t milliseconds) override { ticks_ += milliseconds; }
  bool HasAdministratorRights() override { return administratorRights_; }
  void SetAdministratorRights(bool rights) { administratorRights_ = rights; }

  // Test set-up. `failures` version queries fail before the record is returned.
  void SetVersion(std::optional<OsVersion> version, int failures = 0);
  void SetArchitecture(uint16_t architecture) { architecture_ = architecture; }
  void SetPackedVersion(uint32_t packed) { packedVersion_ = packed; }
  void SetUserName(std::string name) { userName_ = std::move(name); }
  void SetModulePath(std::string path) { modulePath_ = std::move(path); }
  void SetTimeText(std::string text) { timeText_ = std::move(text); }
  void SetDateText(std::string text) { dateText_ = std::move(text); }
  void SetDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }
  void SetVersionInfo(const std::string& path, FakeVersionInfo info);
  int VersionQueries() const { return versionQueries_; }

 private:
  bool administratorRights_ = true;
  std::optional<OsVersion> version_;
  int versionFailures_ = 0;
  int versionQueries_ = 0;
  uint16_t architecture_ = arch::Intel;
  uint32_t packedVersion_ = 0x0A280105;  // 5.1, build 2600
  std::string userName_ = "tester";
  std::string modulePath_ = "C:\\Program Files\\Morvanta Pro\\morvanta.exe";
  std::string timeText_ = "12:00:00";
  std::string dateText_ = "10.12.2026";
  std::string decimalSeparator_ = ".";
  uint32_t ticks_ = 1000;
  std::map<std::string, FakeVersionInfo> versionInfo_;  // by lower-case path
};

}  // namespace morvanta::platform::fake

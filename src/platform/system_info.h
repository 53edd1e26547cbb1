// System information: version records, user, own executable, version resources, clock.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvanta::platform {

// The extended version record, as the system reports it.
struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
  std::string servicePack;  // the service-pack text
  uint16_t servicePackMajor = 0;
  uint16_t servicePackMinor = 0;
  uint16_t suiteMask = 0;
  uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

namespace arch {
constexpr uint16_t Intel = 0;
constexpr uint16_t Amd64 = 9;
}  // namespace arch

// The version resource of one file.
class VersionResource {
 public:
  virtual ~VersionResource() = default;
  // The language/code-page pairs of "\VarFileInfo\Translation".
  virtual std::vector<std::pair<uint16_t, uint16_t>> Translations() = 0;
  // A value such as "\StringFileInfo\040904E4\CompanyName"; nothing when absent.
  virtual std::optional<std::string> QueryString(const std::string& subBlock) = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // Nothing when the query fails.
  virtual std::optional<OsVersion> QueryVersion() = 0;
  virtual uint16_t NativeProcessorArchitecture() = 0;
  // The packed version of GetVersion (the top bit set on the Windows 9x family).
  virtual uint32_t PackedVersion() = 0;
  virtual std::string UserName() = 0;
  // The full path of the running executable.
  virtual std::string ModulePath() = 0;
  // Nothing when the file has no version resource.
  virtual std::unique_ptr<VersionResource> OpenVersionResource(const std::string& path) = 0;
  // The time of day in the system's long time format.
  virtual std::string LongTimeText() = 0;
  // Today's date in the system's short date format.
  virtual std::string ShortDateText() = 0;
  // The user's decimal separator, for numbers shown with fractions.
  virtual std::string DecimalSeparator() = 0;
  virtual uint32_t TickCount() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Whether this process runs with administrator rights (elevated, where the system asks):
  // without them the program's folder under Program Files, machine-wide startup values,
  // services and system folders cannot be changed.
  virtual bool HasAdministratorRights() = 0;
};

}  // namespace morvanta::platform

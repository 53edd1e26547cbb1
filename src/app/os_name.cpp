#include "app/os_name.h"
#include "platform/text.h"

namespace morvanta::app {
namespace {

constexpr uint32_t kWin32s = 0, kWindows9x = 1, kWindowsNt = 2;
constexpr uint8_t kWorkstation = 1, kDomainController = 2, kServer = 3;
constexpr uint16_t kSuiteEnterprise = 0x0002, kSuiteDatacenter = 0x0080,
                   kSuitePersonal = 0x0200, kSuiteBlade = 0x0400;

const char kHotfix6aKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

bool Is(const platform::OsVersion& v, uint32_t major, uint32_t minor) {
  return v.major == major && v.minor == minor;
}

char SecondChar(const std::string& text) { return text.size() > 1 ? text[1] : '\0'; }

std::string BaseName(const platform::OsVersion& v, uint16_t architecture) {
  switch (v.platformId) {
    case kWin32s: return "Microsoft Win32s";
    case kWindows9x:
      if (Is(v, 4, 0)) {
        char c = SecondChar(v.servicePack);
        return std::string("Microsoft Windows 95") + (c == 'B' || c == 'C' ? " OSR2" : "");
      }
      if (Is(v, 4, 10))
        return std::string("Microsoft Windows 98") + (SecondChar(v.servicePack) == 'A' ? " SE" : "");
      if (Is(v, 4, 90)) return "Microsoft Windows Millennium Edition";
      return "";
    case kWindowsNt:
      if (Is(v, 5, 2)) return "Microsoft Windows Server 2003";
      if (v.productType == kWorkstation && architecture == platform::arch::Amd64)
        return "Microsoft Windows XP Professional x64 Edition ";
      if (Is(v, 5, 1)) return "Microsoft Windows XP";
      if (Is(v, 6, 0)) return "Microsoft Windows Vista";
      if (Is(v, 5, 0)) return "Microsoft Windows 2000";
      return "Microsoft Windows NT";
  }
  return "";
}

std::string Edition(const platform::OsVersion& v) {
  const bool enterprise = v.suiteMask & kSuiteEnterprise;
  const bool datacenter = v.suiteMask & kSuiteDatacenter;
  switch (v.productType) {
    case kWorkstation:
      if (v.major == 4) return " Workstation 4.0";
      return (v.suiteMask & kSuitePersonal) ? " Home Edition " : " Professional ";
    case kServer:
      if (Is(v, 5, 2)) {
        if (datacenter) return " Datacenter Edition ";
        if (enterprise) return " Enterprise Edition ";
        if (v.suiteMask == kSuiteBlade) return " Web Edition ";
        return " Standard Edition ";
      }
      if (Is(v, 5, 0)) {
        if (datacenter) return " Datacenter Server ";
        if (enterprise) return " Advanced Server ";
        return " Server ";
      }
      return " Server " + std::to_string(v.major) + "." + std::to_string(v.minor) +
             (enterprise ? ", Enterprise Edition " : "");
    case kDomainController:
    default:
      return "";
  }
}

}  // namespace

std::string ComposeOsName(const std::optional<platform::OsVersion>& version,
                          uint16_t nativeArchitecture, bool hotfix6a) {
  if (!version) return "";
  const platform::OsVersion& v = *version;
  std::string name = BaseName(v, nativeArchitecture);
  if (v.platformId != kWindowsNt) return name;
  name += Edition(v);
  if (v.major == 4 && platform::EqualsNoCase(v.servicePack, "Service Pack 6 ") && hotfix6a)
    name += " Service Pack 6a ";
  else
    name += v.servicePack;
  name += " (Build " + std::to_string(v.build & 0xFFFF) + ")";
  return name;
}

std::string OsDisplayName(platform::Platform p) {
  auto version = p.system.QueryVersion();
  if (!version) version = p.system.QueryVersion();
  bool hotfix = false;
  if (version && version->platformId == kWindowsNt && version->major == 4)
    hotfix = p.registry.OpenKey(platform::RegRoot::LocalMachine, kHotfix6aKey) != nullptr;
  return ComposeOsName(version, p.system.NativeProcessorArchitecture(), hotfix);
}

bool IsUnsupportedOs(const std::string& osName) {
  const std::string lower = platform::AsciiLower(osName);
  for (const char* mark : {"95", "98", "millennium", "2000"})
    if (lower.find(mark) != std::string::npos) return true;
  return false;
}

}  // namespace morvanta::app

#include "platform/fake/fake_system_info.h"
#include "platform/text.h"

namespace morvanta::platform::fake {
namespace {

class FakeVersionResource : public VersionResource {
 public:
  explicit FakeVersionResource(FakeVersionInfo info) : info_(std::move(info)) {}
  std::vector<std::pair<uint16_t, uint16_t>> Translations() override {
    return info_.translations;
  }
  std::optional<std::string> QueryString(const std::string& subBlock) override {
    for (const auto& s : info_.strings)
      if (EqualsNoCase(s.first, subBlock)) return s.second;
    return std::nullopt;
  }

 private:
  FakeVersionInfo info_;
};

}  // namespace

FakeSystemInfo::FakeSystemInfo() {
  OsVersion xp;
  xp.major = 5;
  xp.minor = 1;
  xp.build = 2600;
  xp.platformId = 2;
  xp.servicePack = "Service Pack 3";
  xp.servicePackMajor = 3;
  xp.suiteMask = 0x0100;
  xp.productType = 1;
  version_ = xp;
}

std::optional<OsVersion> FakeSystemInfo::QueryVersion() {
  ++versionQueries_;
  if (versionFailures_ > 0) {
    --versionFailures_;
    return std::nullopt;
  }
  return version_;
}

std::unique_ptr<VersionResource> FakeSystemInfo::OpenVersionResource(const std::string& path) {
  auto it = versionInfo_.find(AsciiLower(path));
  if (it == versionInfo_.end()) return nullptr;
  return std::make_unique<FakeVersionResource>(it->second);
}

void FakeSystemInfo::SetVersion(std::optional<OsVersion> version, int failures) {
  version_ = std::move(version);
  versionFailures_ = failures;
}

void FakeSystemInfo::SetVersionInfo(const std::string& path, FakeVersionInfo info) {
  versionInfo_[AsciiLower(path)] = std::move(info);
}

}  // namespace morvanta::platform::fake

// The Service Control Manager through advapi32.
#pragma once

#include "platform/services.h"

namespace morvanta::platform::win32 {

class Win32Services : public Services {
 public:
  std::optional<std::vector<ServiceListEntry>> List(size_t bufferBytes) override;
  std::string KeyNameOf(const std::string& displayName) override;
  ConfigQuery QueryConfig(const std::string& keyName) override;
  std::optional<ServiceStatus> QueryStatus(const std::string& keyName) override;
  bool RequestStart(const std::string& keyName) override;
  bool RequestStop(const std::string& keyName) override;
  bool ChangeStartType(const std::string& keyName, StartType type) override;
  bool Create(const NewService& service) override;
  bool Delete(const std::string& keyName) override;
};

}  // namespace morvanta::platform::win32

// The Service Control Manager: listing, querying, starting, stopping, configuring.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvanta::platform {

enum class ServiceState : uint32_t {
  Stopped = 1,
  StartPending = 2,
  StopPending = 3,
  Running = 4,
  ContinuePending = 5,
  PausePending = 6,
  Paused = 7,
};

enum class StartType : uint32_t { Boot = 0, System = 1, Automatic = 2, Manual = 3, Disabled = 4 };

struct ServiceListEntry {
  std::string keyName;
  std::string displayName;
  ServiceState state = ServiceState::Stopped;
};

struct ServiceStatus {
  ServiceState state = ServiceState::Stopped;
  uint32_t checkPoint = 0;
  uint32_t waitHint = 0;  // milliseconds
};

struct ServiceConfig {
  std::string binaryPath;
  StartType startType = StartType::Manual;
  std::string displayName;
};

// Why a configuration query failed, in the order the steps can fail.
enum class ConfigQueryError { CannotOpen, CannotGetSize, CannotQuery };

struct ConfigQuery {
  std::optional<ServiceConfig> config;
  ConfigQueryError error = ConfigQueryError::CannotOpen;  // when there is no config
};

struct NewService {
  std::string keyName;
  std::string displayName;
  std::string binaryPath;
  StartType startType = StartType::Manual;
};

class Services {
 public:
  virtual ~Services() = default;
  // Win32 services in all states, as one enumeration into a buffer of `bufferBytes` returns
  // them (those that do not fit are left out); nothing when the manager cannot be opened.
  virtual std::optional<std::vector<ServiceListEntry>> List(size_t bufferBytes) = 0;
  // Empty when the display name is unknown.
  virtual std::string KeyNameOf(const std::string& displayName) = 0;
  virtual ConfigQuery QueryConfig(const std::string& keyName) = 0;
  virtual std::optional<ServiceStatus> QueryStatus(const std::string& keyName) = 0;
  // Asks the manager to start (no arguments) or stop the service; true when it accepted.
  virtual bool RequestStart(const std::string& keyName) = 0;
  virtual bool RequestStop(const std::string& keyName) = 0;
  virtual bool ChangeStartType(const std::string& keyName, StartType type) = 0;
  // Registering and removing an own-process service: for the tests and the tools.
  virtual bool Create(const NewService& service) = 0;
  virtual bool Delete(const std::string& keyName) = 0;
};

}  // namespace morvanta::platform

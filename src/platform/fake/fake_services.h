// A service table with states, start types and the manager's refusals. Services change
// state at once unless a test asks for a pending phase.
#pragma once

#include <map>
#include <string>

#include "platform/types.h"
#include "platform/files.h"
#include "platform/services.h"

namespace morvanta::platform::fake {

class FakeServices : public Services {
 public:
  explicit FakeServices(Files& files) : files_(files) {}

  std::optional<std::vector<ServiceListEntry>> List(size_t bufferBytes) override;
  std::string KeyNameOf(const std::string& displayName) override;
  ConfigQuery QueryConfig(const std::string& keyName) override;
  std::optional<ServiceStatus> QueryStatus(const std::string& keyName) override;
  bool RequestStart(const std::string& keyName) override;
  bool RequestStop(const std::string& keyName) override;
  bool ChangeStartType(const std::string& keyName, StartType type) override;
  bool Create(const NewService& service) override;
  bool Delete(const std::string& keyName) override;

  // Test set-up.
  void SetManagerAvailable(bool available) { managerAvailable_ = available; }
  // The next start or stop stays pending for `polls` status queries, with this check-point
  // step (0 keeps the check-point constant) and wait hint.
  void SetPendingPhase(const std::string& keyName, int polls, int checkPointStep,
                       uint32_t waitHint);
  void SetState(const std::string& keyName, ServiceState state);
  // Makes the configuration query fail at a step, as for a service without access.
  void SetConfigError(const std::string& keyName, ConfigQueryError error);

 private:
  struct Entry {
    NewService config;
    ServiceStatus status;
    int pendingPolls = 0;
    int checkPointStep = 1;
    uint32_t pendingWaitHint = 0;
    ServiceState target = ServiceState::Stopped;
    bool markedForDelete = false;
    std::optional<ConfigQueryError> configError;
  };

  Entry* Find(const std::string& keyName);
  void BeginTransition(Entry& e, ServiceState pending, ServiceState target);

  Files& files_;
  std::map<std::string, Entry> table_;  // by lower-case key name
  bool managerAvailable_ = true;
};

}  // namespace morvanta::platform::fake

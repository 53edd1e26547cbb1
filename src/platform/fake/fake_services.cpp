#include "platform/fake/fake_services.h"
#include "platform/text.h"

#include "platform/fake/command_line.h"

namespace morvanta::platform::fake {
namespace {

// What one entry takes in an enumeration buffer: the fixed record and both names.
constexpr size_t kRecordBytes = 44;

}  // namespace

FakeServices::Entry* FakeServices::Find(const std::string& keyName) {
  auto it = table_.find(AsciiLower(keyName));
  return it == table_.end() ? nullptr : &it->second;
}

std::optional<std::vector<ServiceListEntry>> FakeServices::List(size_t bufferBytes) {
  if (!managerAvailable_) return std::nullopt;
  std::vector<ServiceListEntry> entries;
  size_t used = 0;
  for (const auto& s : table_) {
    used += kRecordBytes + s.second.config.keyName.size() + 1 +
            s.second.config.displayName.size() + 1;
    if (used > bufferBytes) break;
    entries.push_back({s.second.config.keyName, s.second.config.displayName,
                       s.second.status.state});
  }
  return entries;
}

std::string FakeServices::KeyNameOf(const std::string& displayName) {
  if (!managerAvailable_) return "";
  for (const auto& s : table_)
    if (EqualsNoCase(s.second.config.displayName, displayName)) return s.second.config.keyName;
  return "";
}

ConfigQuery FakeServices::QueryConfig(const std::string& keyName) {
  ConfigQuery q;
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e) return q;
  if (e->configError) {
    q.error = *e->configError;
    return q;
  }
  q.config = ServiceConfig{e->config.binaryPath, e->config.startType, e->config.displayName};
  return q;
}

std::optional<ServiceStatus> FakeServices::QueryStatus(const std::string& keyName) {
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e) return std::nullopt;
  bool pending = e->status.state == ServiceState::StartPending ||
                 e->status.state == ServiceState::StopPending;
  if (pending && e->pendingPolls > 0) {
    ServiceStatus seen = e->status;
    if (--e->pendingPolls == 0) {
      e->status = {e->target, 0, 0};
    } else {
      e->status.checkPoint += e->checkPointStep;
    }
    return seen;
  }
  if (e->markedForDelete && e->status.state == ServiceState::Stopped) {
    ServiceStatus last = e->status;
    table_.erase(AsciiLower(keyName));
    return last;
  }
  return e->status;
}

void FakeServices::BeginTransition(Entry& e, ServiceState pending, ServiceState target) {
  e.target = target;
  if (e.pendingPolls > 0) {
    e.status = {pending, 0, e.pendingWaitHint};
  } else {
    e.status = {target, 0, 0};
  }
}

bool FakeServices::RequestStart(const std::string& keyName) {
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e || e->markedForDelete || e->config.startType == StartType::Disabled) return false;
  if (e->status.state != ServiceState::Stopped) return false;
  if (!files_.FileExists(ProgramOf(e->config.binaryPath))) return false;
  BeginTransition(*e, ServiceState::StartPending, ServiceState::Running);
  return true;
}

bool FakeServices::RequestStop(const std::string& keyName) {
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e || e->status.state != ServiceState::Running) return false;
  BeginTransition(*e, ServiceState::StopPending, ServiceState::Stopped);
  return true;
}

bool FakeServices::ChangeStartType(const std::string& keyName, StartType type) {
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e || e->markedForDelete) return false;
  e->config.startType = type;
  return true;
}

bool FakeServices::Create(const NewService& service) {
  if (!managerAvailable_ || service.keyName.empty() || Find(service.keyName)) return false;
  Entry e;
  e.config = service;
  if (e.config.displayName.empty()) e.config.displayName = service.keyName;
  table_[AsciiLower(service.keyName)] = e;
  return true;
}

bool FakeServices::Delete(const std::string& keyName) {
  Entry* e = managerAvailable_ ? Find(keyName) : nullptr;
  if (!e || e->markedForDelete) return false;
  // A running service stays listed, marked for deletion, until it stops.
  if (e->status.state == ServiceState::Stopped)
    table_.erase(AsciiLower(keyName));
  else
    e->markedForDelete = true;
  return true;
}

void FakeServices::SetPendingPhase(const std::string& keyName, int polls, int checkPointStep,
                                   uint32_t waitHint) {
  if (Entry* e = Find(keyName)) {
    e->pendingPolls = polls;
    e->checkPointStep = checkPointStep;
    e->pendingWaitHint = waitHint;
  }
}

void FakeServices::SetState(const std::string& keyName, ServiceState state) {
  if (Entry* e = Find(keyName)) e->status = {state, 0, 0};
}

void FakeServices::SetConfigError(const std::string& keyName, ConfigQueryError error) {
  if (Entry* e = Find(keyName)) e->configError = error;
}

}  // namespace morvanta::platform::fake

#include "inspect/services.h"

#include <algorithm>
#include <exception>

#include "platform/text.h"
#include "platform/types.h"

namespace morvanta::inspect {

using platform::ServiceState;
using platform::StartType;

const char* const kProtectedServiceCaption = "Nevrask";

namespace {

std::string Hex4(uint16_t v, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out(4, '0');
  for (int i = 3; i >= 0; --i) {
    out[static_cast<size_t>(i)] = digits[v & 0xF];
    v = static_cast<uint16_t>(v >> 4);
  }
  return out;
}

const char* const kVersionKeys[] = {"CompanyName",    "FileDescription",  "FileVersion",
                                    "InternalName",   "LegalCopyright",   "OriginalFilename",
                                    "ProductName",    "ProductVersion"};

ServiceRunState RunStateOf(const std::optional<platform::ServiceStatus>& status) {
  if (!status) return ServiceRunState::Unknown;
  if (status->state == ServiceState::Paused) return ServiceRunState::Paused;
  if (status->state == ServiceState::Running) return ServiceRunState::Running;
  return ServiceRunState::Stopped;
}

// Requests the change, then polls until `target`, a failed query, a check-point that goes
// backwards, or the wait bound.
template <typename Request>
bool ChangeAndWait(platform::Platform& p, const std::string& keyName, ServiceState target,
                   Request request) {
  if (!request(keyName)) return false;
  auto status = p.services.QueryStatus(keyName);
  if (!status) return false;
  const uint32_t started = p.system.TickCount();
  uint64_t slept = 0;
  while (status->state != target) {
    const uint64_t elapsed =
        std::max<uint64_t>(static_cast<uint32_t>(p.system.TickCount() - started), slept);
    if (elapsed >= kServiceWaitBoundMs) return false;
    const uint32_t remaining = static_cast<uint32_t>(kServiceWaitBoundMs - elapsed);
    const uint32_t pause =
        std::min(std::max(status->waitHint, kServiceMinPollMs), remaining);
    const uint32_t checkPoint = status->checkPoint;
    p.system.Sleep(pause);
    slept += pause;
    auto next = p.services.QueryStatus(keyName);
    if (!next) break;
    status = next;
    if (status->checkPoint < checkPoint) break;
  }
  return status->state == target;
}

}  // namespace

std::string PathCellText(const ServiceRow& row, const std::string& listFailedText) {
  switch (row.kind) {
    case ServiceRowKind::Service: return row.imagePath;
    case ServiceRowKind::CannotOpen: return "Can not open service!";
    case ServiceRowKind::CannotGetInformation: return "Can not get information!";
    case ServiceRowKind::CannotQuery: return "Can not query information!";
    case ServiceRowKind::NotOnThisSystem: return "For Windows NT/2000/XP only!";
    case ServiceRowKind::ListFailed: return listFailedText;
  }
  return "";
}

std::string StateText(ServiceRunState state) {
  switch (state) {
    case ServiceRunState::Running: return "Running";
    case ServiceRunState::Stopped: return "Stopped";
    case ServiceRunState::Paused: return "Paused";
    case ServiceRunState::Unknown: return "Unknown";
  }
  return "";
}

std::string StatusCellText(const ServiceRow& row) {
  return row.IsComplete() ? StateText(row.state) : std::string();
}

std::string StartTypeCellText(const ServiceRow& row) {
  return row.IsComplete() ? StartTypeText(row.startType) : std::string();
}

std::string StartTypeText(StartType type) {
  if (type == StartType::Disabled) return "Disabled";
  if (type == StartType::Manual) return "Manual";
  return "Automatic";
}

std::optional<StartType> StartTypeFromText(const std::string& text) {
  std::string t;
  for (char c : text)
    if (c != '&') t += c;
  if (t == "Automatic") return StartType::Automatic;
  if (t == "Manual") return StartType::Manual;
  if (t == "Disabled") return StartType::Disabled;
  return std::nullopt;
}

std::string ServiceImageFile(const std::string& imagePath, bool appendExe) {
  std::string s = platform::TrimControls(imagePath);
  if (!s.empty() && s[0] == '"') {
    s[0] = ' ';
    s = platform::TrimControls(s);
  }
  size_t pos = s.find('"');
  if (pos != std::string::npos) return s.substr(0, pos);
  pos = s.find(".exe");
  if (pos != std::string::npos) return s.substr(0, pos + 4);
  pos = s.find(' ');
  if (pos != std::string::npos) return s.substr(0, pos) + (appendExe ? ".exe" : "");
  return s;
}

std::vector<std::pair<std::string, std::string>> ReadVersionStrings(platform::Platform& p,
                                                                    const std::string& path) {
  std::vector<std::pair<std::string, std::string>> out;
  if (path.empty() || !p.files.Exists(path)) return out;
  auto resource = p.system.OpenVersionResource(path);
  if (!resource) return out;
  auto translations = resource->Translations();
  if (translations.empty()) return out;
  const std::string block = "\\StringFileInfo\\" + Hex4(translations[0].first, true) +
                            Hex4(translations[0].second, true) + "\\";
  for (const char* key : kVersionKeys) {
    auto value = resource->QueryString(block + key);
    if (!value) break;
    if (!value->empty()) out.emplace_back(key, *value);
  }
  return out;
}

bool IsNonMicrosoftImage(platform::Platform& p, const std::string& imagePath) {
  std::string copyright;
  for (const auto& kv : ReadVersionStrings(p, ServiceImageFile(imagePath, true)))
    if (platform::AsciiLower(kv.first) == "legalcopyright") {
      copyright = kv.second;
      break;
    }
  return copyright.find("Microsoft Corp") == std::string::npos;
}

std::optional<std::vector<ServiceRow>> ListServices(platform::Platform& p,
                                                    common::MessagePump& pump) {
  auto entries = p.services.List(kServiceListBufferBytes);
  if (!entries) return std::nullopt;
  std::vector<ServiceRow> rows;
  for (const auto& entry : *entries) {
    pump.ProcessPendingMessages();
    ServiceRow row;
    row.displayName = entry.displayName;
    const std::string keyName = p.services.KeyNameOf(entry.displayName);
    auto query = p.services.QueryConfig(keyName);
    if (!query.config) {
      switch (query.error) {
        case platform::ConfigQueryError::CannotOpen:
          row.kind = ServiceRowKind::CannotOpen;
          break;
        case platform::ConfigQueryError::CannotGetSize:
          row.kind = ServiceRowKind::CannotGetInformation;
          break;
        case platform::ConfigQueryError::CannotQuery:
          row.kind = ServiceRowKind::CannotQuery;
          row.keyName = keyName;
          break;
      }
      rows.push_back(std::move(row));
      continue;
    }
    row.imagePath = query.config->binaryPath;
    if (!platform::TrimControls(row.imagePath).empty())
      row.nonMicrosoft = IsNonMicrosoftImage(p, row.imagePath);
    row.state = RunStateOf(p.services.QueryStatus(keyName));
    row.startType = query.config->startType;
    row.keyName = keyName;
    rows.push_back(std::move(row));
  }
  return rows;
}

ServiceListing LoadServiceListing(platform::Platform& p, common::MessagePump& pump) {
  ServiceListing listing;
  if ((p.system.PackedVersion() & 0x80000000u) != 0) {
    ServiceRow notice;
    notice.kind = ServiceRowKind::NotOnThisSystem;
    listing.rows.push_back(notice);
    listing.listEnabled = false;
    return listing;
  }
  if (auto rows = ListServices(p, pump)) {
    listing.rows = std::move(*rows);
  } else {
    ServiceRow notice;
    notice.kind = ServiceRowKind::ListFailed;
    listing.rows.push_back(notice);
  }
  return listing;
}

bool StartServiceAndWait(platform::Platform& p, const std::string& keyName) {
  return ChangeAndWait(p, keyName, ServiceState::Running,
                       [&](const std::string& k) { return p.services.RequestStart(k); });
}

bool StopServiceAndWait(platform::Platform& p, const std::string& keyName) {
  return ChangeAndWait(p, keyName, ServiceState::Stopped,
                       [&](const std::string& k) { return p.services.RequestStop(k); });
}

bool SetServiceStartType(platform::Platform& p, const std::string& keyName, StartType type) {
  return p.services.ChangeStartType(keyName, type);
}

std::string ServiceKeyNameOf(platform::Platform& p, const std::string& displayName) {
  return p.services.KeyNameOf(displayName);
}

bool StartServiceRow(platform::Platform& p, ServiceRow& row) {
  if (!row.IsComplete() || !StartServiceAndWait(p, row.keyName)) return false;
  row.state = ServiceRunState::Running;
  return true;
}

bool StopServiceRow(platform::Platform& p, ServiceRow& row) {
  if (!row.IsComplete() || !StopServiceAndWait(p, row.keyName)) return false;
  row.state = ServiceRunState::Stopped;
  return true;
}

bool RestartServiceRow(platform::Platform& p, ServiceRow& row) {
  StopServiceRow(p, row);
  return StartServiceRow(p, row);
}

bool SetStartTypeRow(platform::Platform& p, ServiceRow& row, StartType type) {
  if (!row.IsComplete() || !SetServiceStartType(p, row.keyName, type)) return false;
  row.startType = type;
  return true;
}

bool StopServiceByImagePath(platform::Platform& p, std::vector<ServiceRow>& rows,
                            const std::string& pathPrefix, common::MessagePump& pump) {
  // An empty prefix would match every path and stop whichever service is listed first.
  if (pathPrefix.empty()) return false;
  const std::string prefix = platform::AsciiLower(pathPrefix);
  try {
    for (auto& row : rows) {
      pump.ProcessPendingMessages();
      if (!row.IsComplete()) continue;
      if (!platform::StartsWith(platform::AsciiLower(row.imagePath), prefix)) continue;
      if (StopServiceRow(p, row)) return true;
    }
  } catch (const std::exception&) {
  }
  return false;
}

ServiceButtons ChangeCmdStatus(bool enable, const ServiceRow* row) {
  ServiceButtons b;
  if (!enable || !row || !row->IsComplete()) return b;
  const bool isProtected = row->displayName == kProtectedServiceCaption;
  if (row->startType != StartType::Disabled && !isProtected) {
    b.startupMode = true;
    const bool running = row->state == ServiceRunState::Running;
    b.stop = b.restart = running;
    b.start = !running;
  } else {
    b.startupMode = !isProtected;
  }
  return b;
}

}  // namespace morvanta::inspect

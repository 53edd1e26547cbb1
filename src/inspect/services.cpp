#include "inspect/services.h"

#include <algorithm>

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

std::string StateText(const std::optional<platform::ServiceStatus>& status) {
  if (!status) return "Unknown";
  if (status->state == ServiceState::Paused) return "Paused";
  if (status->state == ServiceState::Running) return "Running";
  return "Stopped";
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

bool HasKeyName(const ServiceRow& row) { return !row.SubItem(3).empty(); }

}  // namespace

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

std::optional<std::vector<ServiceRow>> ListServices(platform::Platform& p) {
  auto entries = p.services.List(kServiceListBufferBytes);
  if (!entries) return std::nullopt;
  std::vector<ServiceRow> rows;
  for (const auto& entry : *entries) {
    ServiceRow row;
    row.caption = entry.displayName;
    const std::string keyName = p.services.KeyNameOf(entry.displayName);
    auto query = p.services.QueryConfig(keyName);
    if (!query.config) {
      switch (query.error) {
        case platform::ConfigQueryError::CannotOpen:
          row.subItems = {"Can not open service!"};
          break;
        case platform::ConfigQueryError::CannotGetSize:
          row.subItems = {"Can not get information!"};
          break;
        case platform::ConfigQueryError::CannotQuery:
          row.subItems = {"Can not query information!", keyName};
          break;
      }
      rows.push_back(std::move(row));
      continue;
    }
    const std::string& image = query.config->binaryPath;
    if (!platform::TrimControls(image).empty()) row.nonMicrosoft = IsNonMicrosoftImage(p, image);
    row.subItems = {image, StateText(p.services.QueryStatus(keyName)),
                    StartTypeText(query.config->startType), keyName};
    rows.push_back(std::move(row));
  }
  return rows;
}

ServiceListing LoadServiceListing(platform::Platform& p, const std::string& failureText) {
  ServiceListing listing;
  if ((p.system.PackedVersion() & 0x80000000u) != 0) {
    listing.rows.push_back({"", {"For Windows NT/2000/XP only!"}, false});
    listing.listEnabled = false;
    return listing;
  }
  auto rows = ListServices(p);
  if (rows)
    listing.rows = std::move(*rows);
  else
    listing.rows.push_back({"", {failureText}, false});
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

namespace {

bool ChangeCell(ServiceRow& row, size_t index, const std::string& newText, bool ok) {
  if (ok) {
    if (row.subItems.size() <= index) row.subItems.resize(index + 1);
    row.subItems[index] = newText;
  }
  return ok;
}

}  // namespace

bool StartServiceRow(platform::Platform& p, ServiceRow& row, const std::string& runningText) {
  if (!HasKeyName(row)) return false;
  return ChangeCell(row, 1, runningText, StartServiceAndWait(p, row.SubItem(3)));
}

bool StopServiceRow(platform::Platform& p, ServiceRow& row, const std::string& stoppedText) {
  if (!HasKeyName(row)) return false;
  return ChangeCell(row, 1, stoppedText, StopServiceAndWait(p, row.SubItem(3)));
}

bool RestartServiceRow(platform::Platform& p, ServiceRow& row, const std::string& runningText,
                       const std::string& stoppedText) {
  StopServiceRow(p, row, stoppedText);
  return StartServiceRow(p, row, runningText);
}

bool SetStartTypeRow(platform::Platform& p, ServiceRow& row, StartType type) {
  if (!HasKeyName(row)) return false;
  return ChangeCell(row, 2, StartTypeText(type), SetServiceStartType(p, row.SubItem(3), type));
}

bool StopServiceByImagePath(platform::Platform& p, std::vector<ServiceRow>& rows,
                            const std::string& pathPrefix) {
  const std::string prefix = platform::AsciiLower(pathPrefix);
  for (auto& row : rows) {
    if (platform::AsciiLower(row.SubItem(0)).compare(0, prefix.size(), prefix) != 0) continue;
    if (!HasKeyName(row)) continue;
    if (StopServiceAndWait(p, row.SubItem(3))) {
      row.subItems[1] = "Stopped";
      return true;
    }
  }
  return false;
}

ServiceButtons ChangeCmdStatus(bool enable, const ServiceRow* row) {
  ServiceButtons b;
  if (!enable || !row || row->SubItem(1).empty() || row->SubItem(2).empty()) return b;
  const bool isProtected = row->caption == kProtectedServiceCaption;
  if (row->SubItem(2) != "Disabled" && !isProtected) {
    b.startupMode = true;
    const bool running = row->SubItem(1) == "Running";
    b.stop = b.restart = running;
    b.start = !running;
  } else {
    b.startupMode = !isProtected;
  }
  return b;
}

}  // namespace morvanta::inspect

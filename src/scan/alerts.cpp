#include "scan/alerts.h"

#include <limits>

#include "platform/text.h"
#include "platform/types.h"

namespace morvanta::scan {

bool AlertList::IsAlertPath(const std::string& path) const {
  return lowerPaths_.count(platform::AsciiLower(path)) != 0;
}

std::optional<size_t> AlertList::IndexOf(const std::string& path) const {
  auto it = lowerPaths_.find(platform::AsciiLower(path));
  if (it == lowerPaths_.end()) return std::nullopt;
  return it->second;
}

bool AlertList::AddAlert(const std::string& path, const std::string& threatName,
                         const std::string& digest, int32_t lineIndex, bool isWalkFile,
                         bool isWalkDir, bool isFullScanFile, bool isScanDir) {
  std::string key = platform::AsciiLower(path);
  if (lowerPaths_.count(key)) return false;
  const size_t index = alerts_.size();
  Alert alert;
  alert.Path = path;
  alert.ThreatName = threatName;
  alert.IsScanDir = isScanDir;
  alert.IsWalkDir = isWalkDir;
  alert.IsWalkFile = isWalkFile;
  alert.IsFullScanFile = isFullScanFile;
  alert.LineIndex = lineIndex;
  alert.Md5 = digest;
  alerts_.push_back(std::move(alert));
  try {
    lowerPaths_.emplace(std::move(key), index);
  } catch (...) {
    alerts_.pop_back();
    throw;
  }
  return true;
}

void AlertList::Clear() {
  alerts_.clear();
  lowerPaths_.clear();
}

void ScanSession::Reset() {
  Alerts.Clear();
  Skipped.Clear();
  AlertCounter = 0;
  Abort.Clear();
  Found = false;
  ReportHeaderWritten = false;
}

void ScanSession::CountUp() {
  if (AlertCounter < std::numeric_limits<int32_t>::max()) ++AlertCounter;
}

void ScanSession::CountDown() {
  if (AlertCounter > std::numeric_limits<int32_t>::min()) --AlertCounter;
}

}  // namespace morvanta::scan

#include "scan/scan_log.h"

#include <algorithm>

#include "platform/text.h"

namespace morvanta::scan {
namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return platform::AsciiLower(a) < platform::AsciiLower(b);
}

}  // namespace

bool ScanLogList::Add(const std::string& line) {
  if (Full()) return false;
  auto at = std::lower_bound(lines_.begin(), lines_.end(), line, LessNoCase);
  if (at != lines_.end() && platform::EqualsNoCase(*at, line)) return false;
  lines_.insert(at, line);
  return true;
}

std::optional<size_t> ScanLogList::Find(const std::string& name) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (platform::EqualsNoCase(lines_[i].substr(0, lines_[i].find('=')), name)) return i;
  return std::nullopt;
}

void ScanLogList::AppendTo(size_t index, const std::string& marker) {
  if (index < lines_.size()) lines_[index] += marker;
}

}  // namespace morvanta::scan

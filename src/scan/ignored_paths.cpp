#include "scan/ignored_paths.h"

#include <algorithm>

#include "platform/text.h"

namespace morvanta::scan {
namespace {

std::string Normal(const std::string& path) {
  std::string lower = platform::AsciiLower(path);
  while (!lower.empty() && lower.back() == '\\') lower.pop_back();
  return lower;
}

}  // namespace

IgnoredPaths::IgnoredPaths(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::string lower = Normal(path);
    if (!lower.empty()) lower_.push_back(std::move(lower));
  }
}

bool IgnoredPaths::Covers(const std::string& path) const {
  if (lower_.empty()) return false;
  // Compared in place: the full drive scan asks for every file it lists.
  size_t length = path.size();
  while (length > 0 && path[length - 1] == '\\') --length;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const std::string& listed : lower_) {
    if (length < listed.size()) continue;
    // The listed path ends where a component of the path ends.
    if (length > listed.size() && path[listed.size()] != '\\') continue;
    size_t i = 0;
    while (i < listed.size() && lower(path[i]) == listed[i]) ++i;
    if (i == listed.size()) return true;
  }
  return false;
}

void SkippedPaths::Add(const std::string& path) {
  std::string lower = platform::AsciiLower(path);
  if (std::find(lower_.begin(), lower_.end(), lower) != lower_.end()) return;
  lower_.push_back(std::move(lower));
  paths_.push_back(path);
}

}  // namespace morvanta::scan

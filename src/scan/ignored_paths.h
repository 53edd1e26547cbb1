// The folders and files the user asked the scans to leave alone, and what a run left alone.
#pragma once

#include <string>
#include <vector>

namespace morvanta::scan {

// A path is covered when it is one of the listed paths or lies inside one, compared without
// regard to letter case on whole path components: "C:\Tools" covers "C:\tools\a.exe" but
// not "C:\Toolsmith\a.exe". Trailing backslashes do not count.
class IgnoredPaths {
 public:
  IgnoredPaths() = default;
  explicit IgnoredPaths(const std::vector<std::string>& paths);
  bool Covers(const std::string& path) const;
  bool Empty() const { return lower_.empty(); }

 private:
  std::vector<std::string> lower_;  // lower-cased, without trailing backslashes
};

// What a run passed over because it was covered: each path once, in the order met (compared
// without regard to letter case).
class SkippedPaths {
 public:
  void Add(const std::string& path);
  const std::vector<std::string>& Paths() const { return paths_; }
  void Clear() {
    paths_.clear();
    lower_.clear();
  }

 private:
  std::vector<std::string> paths_;
  std::vector<std::string> lower_;
};

}  // namespace morvanta::scan

// The scan log list: what a quick scan found, for the log the user may send to the maker.
// At most 16 lines per scan, kept sorted without duplicates (both without regard to case)
// until the fix appends its outcomes to them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace morvanta::scan {

class ScanLogList {
 public:
  static constexpr size_t kCapacity = 16;

  void Clear() { lines_.clear(); }
  size_t Size() const { return lines_.size(); }
  bool Full() const { return lines_.size() >= kCapacity; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Puts a line in its sorted place; false when the list is full or holds it already.
  bool Add(const std::string& line);
  // The line whose name part (the text before its first "=") equals `name`, compared
  // without regard to case.
  std::optional<size_t> Find(const std::string& name) const;
  // Appends an outcome marker to a line; the list is not sorted again.
  void AppendTo(size_t index, const std::string& marker);

 private:
  std::vector<std::string> lines_;
};

}  // namespace morvanta::scan

#include "scan/name_range.h"
#include "platform/text.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "scan/text_fields.h"

namespace morvanta::scan {
namespace {

// The value of a run of decimal digits; nothing when it exceeds a 32-bit signed integer.
std::optional<int64_t> BoundValue(const std::string& digits) {
  int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  }
  return value;
}

}  // namespace

namespace {

// A range as its file name spells it: the text between the markers and its two bounds.
struct RangeSpec {
  std::string folder, fileName, spec, sd, ed, sl, el;
  int64_t kStart = 0, kEnd = 0;
  bool letterRange = false;
  int lStart = 0, lEnd = 0;
};

// Nothing with `result` NoRange or BadNumber.
std::optional<RangeSpec> ReadRange(const std::string& path, RangeResult& result) {
  RangeSpec r;
  r.folder = platform::FolderPart(path);
  r.fileName = platform::FileNamePart(path);
  const size_t first = r.fileName.find("??");
  if (first == std::string::npos) {
    result = RangeResult::NoRange;
    return std::nullopt;
  }
  const size_t last = r.fileName.find_last_of('?');
  r.spec = last >= first + 2 ? r.fileName.substr(first + 2, last - first - 1) : std::string();
  const std::string start = Field(r.spec, 0, '?');
  const std::string end = Field(r.spec, 1, '?');
  r.sd = DigitsOf(start);
  r.ed = DigitsOf(end);
  if (!r.sd.empty() && !r.ed.empty()) {
    auto s = BoundValue(r.sd), e = BoundValue(r.ed);
    if (!s || !e) {
      result = RangeResult::BadNumber;
      return std::nullopt;
    }
    r.kStart = *s;
    r.kEnd = *e;
  }
  r.sl = LettersOf(start);
  r.el = LettersOf(end);
  r.letterRange = r.sl.size() == 1 && r.el.size() == 1;
  r.lStart = r.letterRange ? LetterIndex(r.sl[0]) : 0;
  r.lEnd = r.letterRange ? LetterIndex(r.el[0]) : 0;
  return r;
}

// How often a do-while loop from `start` runs that goes on while the counter, raised once
// per round, is below a non-zero `end`.
uint64_t Rounds(int64_t start, int64_t end) {
  return end != 0 && end > start + 1 ? static_cast<uint64_t>(end - start) : 1;
}

}  // namespace

RangeResult ExpandNameRange(const std::string& path, const RangeReceiver& receive) {
  RangeResult result = RangeResult::Done;
  const auto range = ReadRange(path, result);
  if (!range) return result;
  const RangeSpec& r = *range;
  int l = r.lStart;
  do {
    std::string cur = r.letterRange ? ReplaceAll(r.spec, r.sl, LetterAt(l)) : r.spec;
    cur = ReplaceAll(cur, r.el, "");
    ++l;
    int64_t k = r.kStart;
    std::string prev = r.sd;
    do {
      cur = ReplaceAll(ReplaceAll(cur, r.ed, ""), "?", "");
      const std::string number = std::to_string(k);
      if (!prev.empty()) cur = ReplaceAll(cur, prev, number);
      prev = number;
      ++k;
      std::string name = ReplaceAll(
          r.spec.empty() ? r.fileName : ReplaceAll(r.fileName, r.spec, cur), "?", "");
      if (!receive(r.folder + name)) return RangeResult::Stopped;
    } while (r.kEnd != 0 && k < r.kEnd);
  } while (r.lEnd != 0 && l < r.lEnd);
  return RangeResult::Done;
}

std::optional<uint64_t> NameRangeSize(const std::string& path) {
  RangeResult result = RangeResult::Done;
  const auto range = ReadRange(path, result);
  if (!range) return std::nullopt;
  return Rounds(range->lStart, range->lEnd) * Rounds(range->kStart, range->kEnd);
}

}  // namespace morvanta::scan

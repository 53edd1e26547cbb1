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

RangeResult ExpandNameRange(const std::string& path, const RangeReceiver& receive) {
  const std::string folder = platform::FolderPart(path);
  const std::string fileName = platform::FileNamePart(path);
  size_t first = fileName.find("??");
  if (first == std::string::npos) return RangeResult::NoRange;
  size_t last = fileName.find_last_of('?');
  const std::string spec =
      last >= first + 2 ? fileName.substr(first + 2, last - first - 1) : std::string();
  const std::string start = Field(spec, 0, '?');
  const std::string end = Field(spec, 1, '?');

  const std::string sd = DigitsOf(start), ed = DigitsOf(end);
  int64_t kStart = 0, kEnd = 0;
  if (!sd.empty() && !ed.empty()) {
    auto s = BoundValue(sd), e = BoundValue(ed);
    if (!s || !e) return RangeResult::BadNumber;
    kStart = *s;
    kEnd = *e;
  }

  const std::string sl = LettersOf(start), el = LettersOf(end);
  const bool letterRange = sl.size() == 1 && el.size() == 1;
  int l = letterRange ? LetterIndex(sl[0]) : 0;
  const int lEnd = letterRange ? LetterIndex(el[0]) : 0;

  do {
    std::string cur = letterRange ? ReplaceAll(spec, sl, LetterAt(l)) : spec;
    cur = ReplaceAll(cur, el, "");
    ++l;
    int64_t k = kStart;
    std::string prev = sd;
    do {
      cur = ReplaceAll(ReplaceAll(cur, ed, ""), "?", "");
      const std::string number = std::to_string(k);
      if (!prev.empty()) cur = ReplaceAll(cur, prev, number);
      prev = number;
      ++k;
      std::string name = ReplaceAll(spec.empty() ? fileName : ReplaceAll(fileName, spec, cur),
                                    "?", "");
      if (!receive(folder + name)) return RangeResult::Stopped;
    } while (kEnd != 0 && k < kEnd);
  } while (lEnd != 0 && l < lEnd);
  return RangeResult::Done;
}

}  // namespace morvanta::scan

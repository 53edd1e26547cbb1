// Ranges of generated names: prefix "??" start "?" end "?" suffix, where each bound is a
// letter of the program alphabet, a number, or both ("x??a1?c3?.dll" gives xa1.dll,
// xa2.dll, xb1.dll, xb2.dll). Both ranges exclude their end.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace morvanta::scan {

enum class RangeResult {
  NoRange,    // the file name holds no "??"
  Done,       // every name was handed on
  Stopped,    // the receiver asked to stop
  BadNumber,  // a bound's number does not fit a 32-bit signed integer: no name is made
};

// Receives each concrete path; returns false to stop the enumeration.
using RangeReceiver = std::function<bool(const std::string& path)>;

// Hands the concrete paths of the range in `path`'s file name to `receive`, letters in the
// outer loop, numbers in the inner. A bound with more than one letter, or a letter in only
// one bound, leaves the letters as fixed text (the start bound's stay, the end bound's go).
RangeResult ExpandNameRange(const std::string& path, const RangeReceiver& receive);

// How many paths ExpandNameRange hands on for `path`, counted without making them; nothing
// when the file name holds no range or a bound's number does not fit.
std::optional<uint64_t> NameRangeSize(const std::string& path);

// The most names one range line of a shipped database may make: every name is a file test,
// and the database arrives over the network.
inline constexpr uint64_t kMaxRangeNames = 10000;

}  // namespace morvanta::scan

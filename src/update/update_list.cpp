#include "update/update_list.h"

#include <limits>

namespace morvanta::update {

namespace {

// Digits only, at least one, within 64 bits.
std::optional<uint64_t> ReadDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// The next line of `text` from `*at`, which moves past its end of line.
std::string NextLine(std::string_view text, size_t* at) {
  size_t end = *at;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  std::string line(text.substr(*at, end - *at));
  if (end < text.size() && text[end] == '\r') ++end;
  if (end < text.size() && text[end] == '\n') ++end;
  *at = end;
  return line;
}

}  // namespace

std::string PiecePath(uint64_t number) { return "/updr2/upd/" + std::to_string(number) + ".htm"; }

std::string SignaturePath(std::string_view path) {
  return std::string(path) + kSignatureSuffix;
}

std::optional<UpdateList> ReadUpdateList(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
  size_t at = 0;
  if (NextLine(text, &at) != kListMagic) return std::nullopt;
  UpdateList list;
  list.databaseDate = NextLine(text, &at);
  list.programVersion = NextLine(text, &at);
  NextLine(text, &at);  // line 4 carries nothing the program uses
  list.logUploadWanted = NextLine(text, &at) == "1";
  list.lowestLine = NextLine(text, &at);
  return list;
}

uint64_t PartialUpdateCounter(std::string_view dateLine) {
  constexpr std::string_view kMarker = kCounterMarker;
  const size_t at = dateLine.find(kMarker);
  if (at == std::string_view::npos) return 0;
  std::string digits;
  std::string_view rest = dateLine.substr(at);
  while (!rest.empty()) {
    if (rest.substr(0, kMarker.size()) == kMarker) {
      rest.remove_prefix(kMarker.size());
      continue;
    }
    if (rest.front() != ' ' && rest.front() != '.') digits += rest.front();
    rest.remove_prefix(1);
  }
  return ReadDecimal(digits).value_or(0);
}

uint64_t ReadLowestCounter(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return ReadDecimal(line).value_or(0);
}

DatabaseUpdatePlan PlanDatabaseUpdate(uint64_t localCounter, uint64_t serverCounter,
                                      std::string_view lowestLine) {
  DatabaseUpdatePlan plan;
  if (lowestLine.empty()) return plan;
  const uint64_t lowest = ReadLowestCounter(lowestLine);
  if (localCounter == serverCounter || localCounter == 0 || serverCounter == 0 || lowest == 0 ||
      lowest > localCounter) {
    return plan;
  }
  plan.partial = true;
  // A server behind the local database leaves first above last: nothing to fetch.
  if (serverCounter > localCounter) {
    plan.first = localCounter + 1;
    plan.last = serverCounter;
  }
  return plan;
}

DatabaseUpdatePlan PlanDatabaseUpdate(std::string_view localDateLine, const UpdateList& list) {
  return PlanDatabaseUpdate(PartialUpdateCounter(localDateLine),
                            PartialUpdateCounter(list.databaseDate), list.lowestLine);
}

}  // namespace morvanta::update

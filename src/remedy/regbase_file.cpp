#include "remedy/regbase_file.h"

#include <cctype>
#include <limits>

namespace morvanta::remedy {
namespace {

// Hands out the file's lines one at a time; past the end every line is empty, as a text
// file reader returns at its end.
class LineReader {
 public:
  LineReader(const uint8_t* data, size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  std::string Next() {
    if (pos_ >= text_.size()) return std::string();
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    std::string line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

 private:
  std::string text_;
  size_t pos_ = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<long long> ParseRegBaseInteger(const std::string& line) {
  size_t begin = 0, end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  bool negative = false;
  if (begin < end && (line[begin] == '+' || line[begin] == '-')) {
    negative = line[begin] == '-';
    ++begin;
  }
  if (begin == end) return std::nullopt;
  long long value = 0;
  constexpr long long kMax = std::numeric_limits<long long>::max();
  for (size_t i = begin; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (!std::isdigit(c)) return std::nullopt;
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

RegBaseList ParseRegBase(const uint8_t* data, size_t size) {
  RegBaseList list;
  LineReader reader(data, size);
  list.count = ParseRegBaseInteger(reader.Next());
  if (!list.count) return list;
  for (long long i = 0; i < *list.count; ++i) {
    auto root = ParseRegBaseInteger(reader.Next());
    if (!root) break;
    RegBaseRecord record;
    record.rootIndex = *root;
    record.keyPath = reader.Next();
    reader.Next();  // the record's third line is not interpreted
    list.records.push_back(std::move(record));
  }
  return list;
}

std::optional<RegBaseList> ReadRegBase(platform::Files& files, const std::string& path) {
  auto bytes = files.ReadAll(path);
  if (!bytes) return std::nullopt;
  return ParseRegBase(bytes->data(), bytes->size());
}

void WalkRegBase(platform::Registry& registry, const RegBaseList& list,
                 const RegBaseVisitor& visit, platform::RegAccess access) {
  for (const RegBaseRecord& record : list.records) {
    auto root = platform::RegRootFromIndex(record.rootIndex);
    if (!root) continue;
    auto key = registry.OpenKey(*root, record.keyPath, access);
    if (!key) continue;
    for (const std::string& name : key->ListValueNames()) {
      auto value = key->ReadValue(name);
      if (!value || !value->IsText()) continue;
      const std::string data = value->AsText();
      visit(RegBaseValue{record.rootIndex, *root, record.keyPath, name, data, *key});
    }
  }
}

bool WalkRegBaseFile(platform::Files& files, platform::Registry& registry,
                     const std::string& path, const RegBaseVisitor& visit,
                     platform::RegAccess access) {
  auto list = ReadRegBase(files, path);
  if (!list) return false;
  WalkRegBase(registry, *list, visit, access);
  return true;
}

}  // namespace morvanta::remedy

// "RegBase.rgk": the registry keys whose values start programs. Every reader walks the
// file the same way, from the top at every use, and stops silently where it cannot go on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"

namespace morvanta::remedy {

inline constexpr char kRegBaseFileName[] = "RegBase.rgk";

struct RegBaseRecord {
  long long rootIndex = 0;
  std::string keyPath;
};

// What a reading of the file yields: the count line (nothing when it is not an integer)
// and the records read before the first silent stop. Records whose root index is outside
// 0 to 4 are kept here; the walk skips them.
struct RegBaseList {
  std::optional<long long> count;
  std::vector<RegBaseRecord> records;
};

// Parses the file's bytes. Lines end in CR LF (a bare LF is accepted too).
RegBaseList ParseRegBase(const uint8_t* data, size_t size);

// Reads and parses the file; nothing when it cannot be opened or read.
std::optional<RegBaseList> ReadRegBase(platform::Files& files, const std::string& path);

// A decimal integer line as the file holds it: optional blanks around, an optional sign.
std::optional<long long> ParseRegBaseInteger(const std::string& line);

// One visited string value, with its key still open for the visitor's changes.
struct RegBaseValue {
  long long rootIndex;
  platform::RegRoot root;
  const std::string& keyPath;
  const std::string& name;
  const std::string& data;
  platform::RegistryKey& key;
};
using RegBaseVisitor = std::function<void(const RegBaseValue&)>;

// Visits the REG_SZ and REG_EXPAND_SZ values of every listed key that opens, in file order
// and registry order. Other types, unreadable values, keys that do not open and records
// with no root are passed over.
void WalkRegBase(platform::Registry& registry, const RegBaseList& list,
                 const RegBaseVisitor& visit, platform::RegAccess access = platform::RegAccess::All);

// Reads the file at `path` and walks it; false (and nothing visited) when the file cannot
// be read.
bool WalkRegBaseFile(platform::Files& files, platform::Registry& registry,
                     const std::string& path, const RegBaseVisitor& visit,
                     platform::RegAccess access = platform::RegAccess::All);

}  // namespace morvanta::remedy

#include "update/database_check.h"

#include <cstring>
#include <vector>

#include "database/container.h"
#include "database/threat_database.h"

namespace morvanta::update {

DatabaseCheck CheckDatabaseText(const uint8_t* text, size_t size) {
  namespace db = morvanta::database;
  if (!text || size < db::kDateLineBytes) return DatabaseCheck::NoDateLine;
  for (size_t i = 0; i < db::kDateLineLength; ++i) {
    if (text[i] == '\r' || text[i] == '\n') return DatabaseCheck::NoDateLine;
  }
  if (text[db::kDateLineLength] != '\r' || text[db::kDateLineLength + 1] != '\n') {
    return DatabaseCheck::NoDateLine;
  }
  // The end line follows the date line's CR LF or an entry's.
  static const char kEnd[] = "\r\n_end\r\n";
  constexpr size_t kEndSize = sizeof kEnd - 1;
  if (size < db::kDateLineLength + kEndSize ||
      std::memcmp(text + size - kEndSize, kEnd, kEndSize) != 0) {
    return DatabaseCheck::NoEndLine;
  }
  return DatabaseCheck::Usable;
}

DatabaseCheck CheckDatabaseFile(const uint8_t* data, size_t size) {
  static const uint8_t kNothing = 0;
  const std::vector<uint8_t> text =
      morvanta::database::DecodeContainer(data ? data : &kNothing, data ? size : 0);
  return CheckDatabaseText(text.data(), text.size());
}

const char* DatabaseCheckName(DatabaseCheck check) {
  switch (check) {
    case DatabaseCheck::Usable:
      return "usable";
    case DatabaseCheck::NoDateLine:
      return "no date line";
    case DatabaseCheck::NoEndLine:
      return "no end line";
  }
  return "unknown";
}

}  // namespace morvanta::update

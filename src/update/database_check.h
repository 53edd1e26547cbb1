// The check a new database must pass before it replaces "files.dat": a whole download, or
// the database merged from pieces. A failed, cut or forged download must never leave the
// program with a database it cannot read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvanta::update {

// A downloaded database or piece below this size is taken as nothing fetched.
inline constexpr uint64_t kSmallestDatabaseFile = 100;

enum class DatabaseCheck {
  Usable,
  NoDateLine,  // the text does not begin with a 33-character line and its CR LF
  NoEndLine,   // the text does not end with the "_end" line and its CR LF
};

// The decoded text, as the database holds it after a load or a merge.
DatabaseCheck CheckDatabaseText(const uint8_t* text, size_t size);
// A file's bytes, decoded the way the program loads "files.dat" (unscrambled, then
// decompressed when they are bzip2 data, the unscrambled bytes otherwise).
DatabaseCheck CheckDatabaseFile(const uint8_t* data, size_t size);

const char* DatabaseCheckName(DatabaseCheck check);

}  // namespace morvanta::update

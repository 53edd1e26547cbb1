// Input surface: the bytes of "files.dat" as the program loads them, and the decoded text
// as the scans read it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/message_catalog.h"
#include "database/container.h"
#include "database/threat_database.h"

namespace {

using morvanta::database::ThreatDatabase;

// Decoded text past this counts as a failed decompression here, so that a small input
// cannot take the run's memory.
constexpr size_t kDecodedLimit = size_t{8} << 20;

// Reads every line as a scan does. Each call before "_end" moves the position on, so more
// calls than bytes mean the reader is stuck.
void ReadThrough(ThreatDatabase& db) {
  db.Rewind();
  for (size_t calls = 0;; ++calls) {
    if (calls > db.Size() + 1) std::abort();
    if (db.ReadDatabaseLine() == "_end") break;
    if (db.Position() > db.Size()) std::abort();
  }
  static const morvanta::common::MessageCatalog catalog;
  db.DatabaseDate(catalog);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ThreatDatabase db(kDecodedLimit);
  // The file as it is: unscrambled, then bzip2 or the fallback.
  db.LoadBytes(data, size);
  ReadThrough(db);
  // The input scrambled first, so that the mutations reach the decompressor unchanged.
  const std::vector<uint8_t> scrambled = morvanta::database::Scramble(data, size);
  db.LoadBytes(scrambled.data(), scrambled.size());
  ReadThrough(db);
  // The input as decoded text.
  db.SetText(std::vector<uint8_t>(data, data + size));
  ReadThrough(db);
  return 0;
}

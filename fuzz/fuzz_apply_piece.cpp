// Input surface: a partial-update piece merged into a database. The first two bytes give
// the length of the database text; the rest after it is the piece's plain text, scrambled
// here as the download would hold it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "database/container.h"
#include "database/threat_database.h"

using morvanta::database::ThreatDatabase;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t split = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
  const std::vector<uint8_t> text(data + 2, data + 2 + split);
  const std::vector<uint8_t> plainPiece(data + 2 + split, data + size);
  const std::vector<uint8_t> piece =
      morvanta::database::PackPiece(plainPiece.data(), plainPiece.size());

  ThreatDatabase db;
  db.SetText(text);
  const bool merged = db.ApplyUpdatePieceBytes(piece.data(), piece.size());
  if (!merged && db.Content() != text) std::abort();  // a refused piece changes nothing
  if (merged) {
    using morvanta::database::kDateLineBytes;
    if (!std::equal(plainPiece.begin(), plainPiece.begin() + kDateLineBytes, db.Content().begin()))
      std::abort();
    if (db.Content().size() < text.size()) std::abort();
  }
  db.Rewind();
  for (size_t calls = 0; db.ReadDatabaseLine() != "_end"; ++calls) {
    if (calls > db.Size()) std::abort();
  }
  return 0;
}

// The database container on disk: the text compressed with bzip2 and then scrambled with the
// database key ("files.dat" as distributed), or the text scrambled without compression (an
// update piece, and "files.dat" as written back after a partial update).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace morvanta::database {

// The decompressor reads and writes in chunks of this size.
constexpr size_t kBzip2Chunk = 0x10000;
// Ceiling of a decoded text and of a database file: far above any real database, low
// enough that a damaged or hostile stream cannot exhaust memory. Past it, decompression
// counts as failed.
constexpr size_t kMaxDecodedSize = size_t{256} << 20;

// One bzip2 stream at level 9.
std::vector<uint8_t> Bzip2Compress(const uint8_t* data, size_t size);
// Exactly one bzip2 stream, nothing after it, at most `limit` bytes of output; nothing
// when the data are not bzip2, are damaged or truncated, or have trailing bytes.
std::optional<std::vector<uint8_t>> Bzip2Decompress(const uint8_t* data, size_t size,
                                                    size_t limit = kMaxDecodedSize);

// A scrambled copy of `data`, and a plain copy of scrambled data, with the program's key.
std::vector<uint8_t> Scramble(const uint8_t* data, size_t size);
std::vector<uint8_t> Unscramble(const uint8_t* data, size_t size);

// The file's bytes turned into the database text the way the program loads "files.dat":
// unscramble, then decompress; when decompression fails the unscrambled bytes are the text.
std::vector<uint8_t> DecodeContainer(const uint8_t* data, size_t size,
                                     size_t limit = kMaxDecodedSize);

// The distributed form of a text: bzip2, then scrambled.
std::vector<uint8_t> PackDatabase(const uint8_t* text, size_t size);
// An update piece, and the form a partial update writes back: scrambled only.
std::vector<uint8_t> PackPiece(const uint8_t* text, size_t size);

// For the signature tool, which accepts plain text as well as both container forms, and
// says when bytes are none of them.
enum class ContainerForm {
  PlainText,
  Packed,
  Scrambled,
  // A bzip2 stream that does not decode, or bytes that read as text neither as they are nor
  // unscrambled. The program itself would take such a file silently as its text.
  Damaged,
};
struct DecodedDatabase {
  ContainerForm form = ContainerForm::PlainText;
  std::vector<uint8_t> text;
};
// Packed when the unscrambled bytes are one bzip2 stream; Damaged when they begin like one
// but do not decode; otherwise whichever of the bytes as they are and the unscrambled bytes
// reads more like text (plain text on a tie), or Damaged when neither reads like text.
DecodedDatabase DecodeAnyForm(const uint8_t* data, size_t size);
const char* FormName(ContainerForm form);

}  // namespace morvanta::database

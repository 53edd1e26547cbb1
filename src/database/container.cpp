#include "database/container.h"

#include <bzlib.h>

#include <algorithm>
#include <climits>

#include "database/scramble.h"

namespace morvanta::database {
namespace {

// Owns a bzip2 decompressor state from init to end.
class Bzip2Decompressor {
 public:
  Bzip2Decompressor() { ok_ = BZ2_bzDecompressInit(&stream_, 0, 0) == BZ_OK; }
  ~Bzip2Decompressor() {
    if (ok_) BZ2_bzDecompressEnd(&stream_);
  }
  Bzip2Decompressor(const Bzip2Decompressor&) = delete;
  Bzip2Decompressor& operator=(const Bzip2Decompressor&) = delete;
  bool ok() const { return ok_; }
  bz_stream& stream() { return stream_; }

 private:
  bz_stream stream_{};
  bool ok_ = false;
};

class Bzip2Compressor {
 public:
  Bzip2Compressor() { ok_ = BZ2_bzCompressInit(&stream_, 9, 0, 0) == BZ_OK; }
  ~Bzip2Compressor() {
    if (ok_) BZ2_bzCompressEnd(&stream_);
  }
  Bzip2Compressor(const Bzip2Compressor&) = delete;
  Bzip2Compressor& operator=(const Bzip2Compressor&) = delete;
  bool ok() const { return ok_; }
  bz_stream& stream() { return stream_; }

 private:
  bz_stream stream_{};
  bool ok_ = false;
};

// libbz2 counts in unsigned int; feed it at most this much at a time.
constexpr size_t kFeed = UINT_MAX / 2;

char* InPointer(const uint8_t* p) {
  // libbz2 takes a non-const pointer for its input but never writes through it.
  return const_cast<char*>(reinterpret_cast<const char*>(p));
}

// How many bytes of a sample are printable ASCII, CR or LF: nearly all of a database text,
// about two in five of scrambled bytes.
size_t TextLikeBytes(const std::vector<uint8_t>& bytes) {
  const size_t sample = std::min<size_t>(bytes.size(), 4096);
  size_t count = 0;
  for (size_t i = 0; i < sample; ++i) {
    const uint8_t b = bytes[i];
    if (b == '\r' || b == '\n' || (b >= 0x20 && b < 0x7F)) ++count;
  }
  return count;
}

}  // namespace

std::vector<uint8_t> Bzip2Compress(const uint8_t* data, size_t size) {
  Bzip2Compressor compressor;
  if (!compressor.ok()) return {};
  bz_stream& s = compressor.stream();
  std::vector<uint8_t> out;
  uint8_t chunk[kBzip2Chunk];
  size_t fed = 0;
  for (;;) {
    if (s.avail_in == 0 && fed < size) {
      const size_t feed = std::min(kFeed, size - fed);
      s.next_in = InPointer(data + fed);
      s.avail_in = static_cast<unsigned>(feed);
      fed += feed;
    }
    // Once the last input is handed over the stream is finished; the input may not change
    // until the library reports the end.
    const int action = fed == size ? BZ_FINISH : BZ_RUN;
    s.next_out = reinterpret_cast<char*>(chunk);
    s.avail_out = sizeof chunk;
    const int rc = BZ2_bzCompress(&s, action);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - s.avail_out));
    if (rc == BZ_STREAM_END) return out;
    if (rc != BZ_RUN_OK && rc != BZ_FINISH_OK) return {};
  }
}

std::optional<std::vector<uint8_t>> Bzip2Decompress(const uint8_t* data, size_t size,
                                                    size_t limit) {
  Bzip2Decompressor decompressor;
  if (!decompressor.ok()) return std::nullopt;
  bz_stream& s = decompressor.stream();
  std::vector<uint8_t> out;
  uint8_t chunk[kBzip2Chunk];
  size_t fed = 0;
  for (;;) {
    if (s.avail_in == 0 && fed < size) {
      const size_t feed = std::min(kFeed, size - fed);
      s.next_in = InPointer(data + fed);
      s.avail_in = static_cast<unsigned>(feed);
      fed += feed;
    }
    s.next_out = reinterpret_cast<char*>(chunk);
    s.avail_out = sizeof chunk;
    const int rc = BZ2_bzDecompress(&s);
    const size_t produced = sizeof chunk - s.avail_out;
    if (rc != BZ_OK && rc != BZ_STREAM_END) return std::nullopt;  // not bzip2, or damaged
    if (produced > limit - out.size()) return std::nullopt;
    out.insert(out.end(), chunk, chunk + produced);
    if (rc == BZ_STREAM_END) {
      // Anything after the stream makes the whole decompression count as failed.
      if (s.avail_in > 0 || fed < size) return std::nullopt;
      return out;
    }
    // All input consumed and nothing more came out: the stream is truncated.
    if (s.avail_in == 0 && fed == size && produced == 0) return std::nullopt;
  }
}

std::vector<uint8_t> Scramble(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(size);
  ScrambleBytes(data, size, out.data(), kScrambleKey, size);
  return out;
}

std::vector<uint8_t> Unscramble(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(size);
  UnscrambleBytes(data, size, out.data(), kScrambleKey, size);
  return out;
}

std::vector<uint8_t> DecodeContainer(const uint8_t* data, size_t size, size_t limit) {
  std::vector<uint8_t> plain = Unscramble(data, size);
  if (auto text = Bzip2Decompress(plain.data(), plain.size(), limit)) return std::move(*text);
  return plain;
}

std::vector<uint8_t> PackDatabase(const uint8_t* text, size_t size) {
  const std::vector<uint8_t> compressed = Bzip2Compress(text, size);
  return Scramble(compressed.data(), compressed.size());
}

std::vector<uint8_t> PackPiece(const uint8_t* text, size_t size) { return Scramble(text, size); }

DecodedDatabase DecodeAnyForm(const uint8_t* data, size_t size) {
  std::vector<uint8_t> plain = Unscramble(data, size);
  if (auto text = Bzip2Decompress(plain.data(), plain.size())) {
    return {ContainerForm::Packed, std::move(*text)};
  }
  std::vector<uint8_t> raw(data, data + size);
  // "BZh" and the block size digit: a packed database whose stream is damaged.
  if (plain.size() >= 4 && plain[0] == 'B' && plain[1] == 'Z' && plain[2] == 'h' &&
      plain[3] >= '1' && plain[3] <= '9')
    return {ContainerForm::Damaged, std::move(plain)};
  const size_t sample = std::min<size_t>(size, 4096);
  const size_t plainText = TextLikeBytes(plain), rawText = TextLikeBytes(raw);
  // A database text is printable but for a few bytes of the code page beyond ASCII.
  if (std::max(plainText, rawText) * 10 < sample * 9)
    return {ContainerForm::Damaged, plainText > rawText ? std::move(plain) : std::move(raw)};
  if (plainText > rawText) return {ContainerForm::Scrambled, std::move(plain)};
  return {ContainerForm::PlainText, std::move(raw)};
}

const char* FormName(ContainerForm form) {
  switch (form) {
    case ContainerForm::PlainText:
      return "plain text";
    case ContainerForm::Packed:
      return "packed container (bzip2, scrambled)";
    case ContainerForm::Scrambled:
      return "scrambled text (not compressed)";
    case ContainerForm::Damaged:
      return "damaged container (neither a bzip2 stream that decodes nor text)";
  }
  return "";
}

}  // namespace morvanta::database

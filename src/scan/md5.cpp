#include "scan/md5.h"

#include <cstring>

namespace morvanta::scan {
namespace {

inline uint32_t RotateLeft(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

// Little-endian whatever the host; compilers make one load of it on x86.
inline uint32_t Load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void Store32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The four rounds' steps. Each step waits on the one before through `b`, so the functions are
// written to put as little as possible after `b` arrives:
//   F(b,c,d) = (b & c) | (~b & d)  as  d ^ (b & (c ^ d))
//   G(b,c,d) = (b & d) | (c & ~d)  as two additions, the two terms having no bit in common,
//                                  so c & ~d is added before b is there
//   H(b,c,d) = b ^ c ^ d
//   I(b,c,d) = c ^ (b | ~d)
#define MORVANTA_MD5_F(a, b, c, d, k, t, s)    \
  a += (d ^ (b & (c ^ d))) + x[k] + (t);       \
  a = RotateLeft(a, s) + b;
#define MORVANTA_MD5_G(a, b, c, d, k, t, s)    \
  a += x[k] + (t) + (~d & c);                  \
  a += d & b;                                  \
  a = RotateLeft(a, s) + b;
#define MORVANTA_MD5_H(a, b, c, d, k, t, s)    \
  a += (b ^ c ^ d) + x[k] + (t);               \
  a = RotateLeft(a, s) + b;
#define MORVANTA_MD5_I(a, b, c, d, k, t, s)    \
  a += (c ^ (b | ~d)) + x[k] + (t);            \
  a = RotateLeft(a, s) + b;

// Hashes `blocks` whole 64-byte blocks.
void Blocks(uint32_t state[4], const uint8_t* p, size_t blocks) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (; blocks > 0; --blocks, p += 64) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = Load32(p + 4 * i);
    const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

    MORVANTA_MD5_F(a, b, c, d, 0, 0xd76aa478u, 7)
    MORVANTA_MD5_F(d, a, b, c, 1, 0xe8c7b756u, 12)
    MORVANTA_MD5_F(c, d, a, b, 2, 0x242070dbu, 17)
    MORVANTA_MD5_F(b, c, d, a, 3, 0xc1bdceeeu, 22)
    MORVANTA_MD5_F(a, b, c, d, 4, 0xf57c0fafu, 7)
    MORVANTA_MD5_F(d, a, b, c, 5, 0x4787c62au, 12)
    MORVANTA_MD5_F(c, d, a, b, 6, 0xa8304613u, 17)
    MORVANTA_MD5_F(b, c, d, a, 7, 0xfd469501u, 22)
    MORVANTA_MD5_F(a, b, c, d, 8, 0x698098d8u, 7)
    MORVANTA_MD5_F(d, a, b, c, 9, 0x8b44f7afu, 12)
    MORVANTA_MD5_F(c, d, a, b, 10, 0xffff5bb1u, 17)
    MORVANTA_MD5_F(b, c, d, a, 11, 0x895cd7beu, 22)
    MORVANTA_MD5_F(a, b, c, d, 12, 0x6b901122u, 7)
    MORVANTA_MD5_F(d, a, b, c, 13, 0xfd987193u, 12)
    MORVANTA_MD5_F(c, d, a, b, 14, 0xa679438eu, 17)
    MORVANTA_MD5_F(b, c, d, a, 15, 0x49b40821u, 22)

    MORVANTA_MD5_G(a, b, c, d, 1, 0xf61e2562u, 5)
    MORVANTA_MD5_G(d, a, b, c, 6, 0xc040b340u, 9)
    MORVANTA_MD5_G(c, d, a, b, 11, 0x265e5a51u, 14)
    MORVANTA_MD5_G(b, c, d, a, 0, 0xe9b6c7aau, 20)
    MORVANTA_MD5_G(a, b, c, d, 5, 0xd62f105du, 5)
    MORVANTA_MD5_G(d, a, b, c, 10, 0x02441453u, 9)
    MORVANTA_MD5_G(c, d, a, b, 15, 0xd8a1e681u, 14)
    MORVANTA_MD5_G(b, c, d, a, 4, 0xe7d3fbc8u, 20)
    MORVANTA_MD5_G(a, b, c, d, 9, 0x21e1cde6u, 5)
    MORVANTA_MD5_G(d, a, b, c, 14, 0xc33707d6u, 9)
    MORVANTA_MD5_G(c, d, a, b, 3, 0xf4d50d87u, 14)
    MORVANTA_MD5_G(b, c, d, a, 8, 0x455a14edu, 20)
    MORVANTA_MD5_G(a, b, c, d, 13, 0xa9e3e905u, 5)
    MORVANTA_MD5_G(d, a, b, c, 2, 0xfcefa3f8u, 9)
    MORVANTA_MD5_G(c, d, a, b, 7, 0x676f02d9u, 14)
    MORVANTA_MD5_G(b, c, d, a, 12, 0x8d2a4c8au, 20)

    MORVANTA_MD5_H(a, b, c, d, 5, 0xfffa3942u, 4)
    MORVANTA_MD5_H(d, a, b, c, 8, 0x8771f681u, 11)
    MORVANTA_MD5_H(c, d, a, b, 11, 0x6d9d6122u, 16)
    MORVANTA_MD5_H(b, c, d, a, 14, 0xfde5380cu, 23)
    MORVANTA_MD5_H(a, b, c, d, 1, 0xa4beea44u, 4)
    MORVANTA_MD5_H(d, a, b, c, 4, 0x4bdecfa9u, 11)
    MORVANTA_MD5_H(c, d, a, b, 7, 0xf6bb4b60u, 16)
    MORVANTA_MD5_H(b, c, d, a, 10, 0xbebfbc70u, 23)
    MORVANTA_MD5_H(a, b, c, d, 13, 0x289b7ec6u, 4)
    MORVANTA_MD5_H(d, a, b, c, 0, 0xeaa127fau, 11)
    MORVANTA_MD5_H(c, d, a, b, 3, 0xd4ef3085u, 16)
    MORVANTA_MD5_H(b, c, d, a, 6, 0x04881d05u, 23)
    MORVANTA_MD5_H(a, b, c, d, 9, 0xd9d4d039u, 4)
    MORVANTA_MD5_H(d, a, b, c, 12, 0xe6db99e5u, 11)
    MORVANTA_MD5_H(c, d, a, b, 15, 0x1fa27cf8u, 16)
    MORVANTA_MD5_H(b, c, d, a, 2, 0xc4ac5665u, 23)

    MORVANTA_MD5_I(a, b, c, d, 0, 0xf4292244u, 6)
    MORVANTA_MD5_I(d, a, b, c, 7, 0x432aff97u, 10)
    MORVANTA_MD5_I(c, d, a, b, 14, 0xab9423a7u, 15)
    MORVANTA_MD5_I(b, c, d, a, 5, 0xfc93a039u, 21)
    MORVANTA_MD5_I(a, b, c, d, 12, 0x655b59c3u, 6)
    MORVANTA_MD5_I(d, a, b, c, 3, 0x8f0ccc92u, 10)
    MORVANTA_MD5_I(c, d, a, b, 10, 0xffeff47du, 15)
    MORVANTA_MD5_I(b, c, d, a, 1, 0x85845dd1u, 21)
    MORVANTA_MD5_I(a, b, c, d, 8, 0x6fa87e4fu, 6)
    MORVANTA_MD5_I(d, a, b, c, 15, 0xfe2ce6e0u, 10)
    MORVANTA_MD5_I(c, d, a, b, 6, 0xa3014314u, 15)
    MORVANTA_MD5_I(b, c, d, a, 13, 0x4e0811a1u, 21)
    MORVANTA_MD5_I(a, b, c, d, 4, 0xf7537e82u, 6)
    MORVANTA_MD5_I(d, a, b, c, 11, 0xbd3af235u, 10)
    MORVANTA_MD5_I(c, d, a, b, 2, 0x2ad7d2bbu, 15)
    MORVANTA_MD5_I(b, c, d, a, 9, 0xeb86d391u, 21)

    a += a0;
    b += b0;
    c += c0;
    d += d0;
  }
  state[0] = a;
  state[1] = b;
  state[2] = c;
  state[3] = d;
}

#undef MORVANTA_MD5_F
#undef MORVANTA_MD5_G
#undef MORVANTA_MD5_H
#undef MORVANTA_MD5_I

}  // namespace

void Md5::Update(const uint8_t* data, size_t size) {
  if (size == 0) return;
  length_ += size;
  if (buffered_ > 0) {
    const size_t take = size < 64 - buffered_ ? size : 64 - buffered_;
    std::memcpy(buffer_ + buffered_, data, take);
    buffered_ += take;
    data += take;
    size -= take;
    if (buffered_ < 64) return;
    Blocks(state_, buffer_, 1);
    buffered_ = 0;
  }
  // Whole blocks straight from the caller's bytes, without a copy.
  const size_t blocks = size / 64;
  Blocks(state_, data, blocks);
  data += blocks * 64;
  size -= blocks * 64;
  if (size > 0) {
    std::memcpy(buffer_, data, size);
    buffered_ = size;
  }
}

std::array<uint8_t, Md5::kDigestSize> Md5::Final() {
  const uint64_t bits = length_ * 8;
  // A 1 bit, zeros up to 56 bytes into a block, then the length in bits, low byte first.
  uint8_t tail[128] = {0x80};
  const size_t padding = (buffered_ < 56 ? 56 : 120) - buffered_;
  uint8_t length[8];
  Store32(length, static_cast<uint32_t>(bits));
  Store32(length + 4, static_cast<uint32_t>(bits >> 32));
  std::memcpy(tail + padding, length, sizeof length);
  const uint64_t fed = length_;
  Update(tail, padding + sizeof length);
  length_ = fed;
  std::array<uint8_t, kDigestSize> digest;
  for (int i = 0; i < 4; ++i) Store32(digest.data() + 4 * i, state_[i]);
  return digest;
}

}  // namespace morvanta::scan

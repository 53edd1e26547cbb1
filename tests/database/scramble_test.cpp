#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "database/scramble.h"

namespace morvanta::database {
namespace {

using Buffer = std::vector<uint8_t>;

// Computed independently from the routine's definition (a few lines of Python) with the
// program's key. A routine that keeps the sum at 16 bits differs on the bytes where plain
// byte + low key byte passes 255; one that advances the key on the scrambled byte differs
// from the second byte on.
TEST(Scramble, KnownVectors) {
  struct Case {
    const char* name;
    Buffer plain;
    Buffer scrambled;
  };
  const Case cases[] = {
      {"empty", {}, {}},
      // No sum passes 255: the 16-bit variant agrees; the scrambled-byte variant does not
      // (0xC3 0xC5 0xC5 0xC5).
      {"zeros", {0, 0, 0, 0}, {0xC3, 0x78, 0xEC, 0x6B}},
      // A 16-bit sum gives 0x97 0x0A 0xEF 0xE6 0xC3 0x36 0x07 0xCE.
      {"text",
       {'T', 'h', 'r', 'e', 'a', 't', '\r', '\n'},
       {0x97, 0x0A, 0x14, 0xE6, 0x0A, 0x36, 0xDE, 0xCE}},
      // Every sum passes 255: a 16-bit sum gives 0x3B 0x47 0xE2 0xA6 0xC9 0x3C 0x3B 0x83.
      {"high bytes",
       {0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF},
       {0x3B, 0x7E, 0xE2, 0xDD, 0x02, 0x77, 0x70, 0xBA}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t n = c.plain.size();
    Buffer out(n, 0xEE);
    EXPECT_TRUE(ScrambleBytes(c.plain.data(), n, out.data(), kScrambleKey, n));
    EXPECT_EQ(out, c.scrambled);
    Buffer back(n, 0xEE);
    EXPECT_TRUE(UnscrambleBytes(c.scrambled.data(), n, back.data(), kScrambleKey, n));
    EXPECT_EQ(back, c.plain);
  }
}

TEST(Scramble, RoundTripRestoresEveryBufferInPlaceAndApart) {
  Buffer all(256);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint8_t>(i);
  std::vector<Buffer> inputs = {{}, {0x41}, all};
  uint32_t seed = 12345;
  for (size_t size : {2u, 255u, 4096u}) {
    Buffer b(size);
    for (auto& byte : b) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    inputs.push_back(b);
  }
  for (const auto& plain : inputs) {
    SCOPED_TRACE(plain.size());
    const size_t n = plain.size();
    Buffer scrambled(n);
    ASSERT_TRUE(ScrambleBytes(plain.data(), n, scrambled.data(), kScrambleKey, n));
    Buffer again(n);
    // Every call starts from the start value; nothing is carried from the call before.
    ASSERT_TRUE(ScrambleBytes(plain.data(), n, again.data(), kScrambleKey, n));
    EXPECT_EQ(again, scrambled);

    Buffer back(n);
    ASSERT_TRUE(UnscrambleBytes(scrambled.data(), n, back.data(), kScrambleKey, n));
    EXPECT_EQ(back, plain);

    Buffer inPlace = plain;
    ASSERT_TRUE(ScrambleBytes(inPlace.data(), n, inPlace.data(), kScrambleKey, n));
    EXPECT_EQ(inPlace, scrambled);
    ASSERT_TRUE(UnscrambleBytes(inPlace.data(), n, inPlace.data(), kScrambleKey, n));
    EXPECT_EQ(inPlace, plain);
  }
}

TEST(Scramble, LengthMismatchWritesNothing) {
  const Buffer source = {1, 2, 3, 4, 5};
  struct Case {
    size_t length;
    size_t check;
  };
  for (const auto& c : {Case{5, 4}, Case{4, 5}, Case{0, 1}, Case{1, 0}}) {
    SCOPED_TRACE(std::to_string(c.length) + " vs " + std::to_string(c.check));
    Buffer out(5, 0xEE);
    EXPECT_FALSE(ScrambleBytes(source.data(), c.length, out.data(), kScrambleKey, c.check));
    EXPECT_EQ(out, Buffer(5, 0xEE));
    EXPECT_FALSE(UnscrambleBytes(source.data(), c.length, out.data(), kScrambleKey, c.check));
    EXPECT_EQ(out, Buffer(5, 0xEE));
  }
}

// The key advances on the plain bytes, so the same plain tail scrambles differently behind
// each different first byte.
TEST(Scramble, LaterBytesDependOnEarlierPlainBytes) {
  std::set<Buffer> tails;
  for (int first = 0; first < 256; ++first) {
    const Buffer plain = {static_cast<uint8_t>(first), 'a', 'b', 'c'};
    Buffer out(plain.size());
    ASSERT_TRUE(ScrambleBytes(plain.data(), plain.size(), out.data(), kScrambleKey, plain.size()));
    tails.insert(Buffer(out.begin() + 1, out.end()));
  }
  EXPECT_EQ(tails.size(), 256u);
}

}  // namespace
}  // namespace morvanta::database

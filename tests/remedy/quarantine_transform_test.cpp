// The quarantine's transform against known answers: Crypto++'s RIPEMD-256 and Blowfish (as
// this build links them) against their published vectors, and the stored bytes of two small
// files against values worked out without this code (quarantine_reference.py, plain Python
// from the algorithm descriptions, itself checked against the same vectors and against
// another Blowfish). Round trips at the sizes around a block, and cutting into pieces.
#include <gtest/gtest.h>

#include <cryptopp/blowfish.h>
#include <cryptopp/ripemd.h>

#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>
#include <vector>

#include "remedy/quarantine_transform.h"

namespace morvanta::remedy {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromHex(const std::string& hex) {
  Bytes bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string ToHex(const uint8_t* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    hex += digits[data[i] >> 4];
    hex += digits[data[i] & 15];
  }
  return hex;
}
std::string ToHex(const Bytes& bytes) { return ToHex(bytes.data(), bytes.size()); }

TEST(QuarantineCipher, Ripemd256GivesThePublishedDigests) {
  const struct {
    std::string text;
    const char* digest;
  } cases[] = {
      {"", "02BA4C4E5F8ECD1877FC52D64D30E37A2D9774FB1E5D026380AE0168E3C5522D"},
      {"a", "F9333E45D857F5D90A91BAB70A1EBA0CFB1BE4B0783C9ACFCD883A9134692925"},
      {"abc", "AFBD6E228B9D8CBBCEF5CA2D03E6DBA10AC0BC7DCBE4680E1E42D2E975459B65"},
      {"message digest", "87E971759A1CE47A514D5C914C392C9018C7C46BC14465554AFCDF54A5070C0E"},
      {"abcdefghijklmnopqrstuvwxyz",
       "649D3034751EA216776BF9A18ACC81BC7896118A5197968782DD1FD97D8D5133"},
      {std::string(1000000, 'a'), "AC953744E10E31514C150D4D8D7B677342E33399788296E43AE4850CE4F97978"},
  };
  for (const auto& c : cases) {
    uint8_t digest[CryptoPP::RIPEMD256::DIGESTSIZE];
    CryptoPP::RIPEMD256().CalculateDigest(digest, reinterpret_cast<const uint8_t*>(c.text.data()),
                                          c.text.size());
    EXPECT_EQ(ToHex(digest, sizeof digest), c.digest) << c.text.substr(0, 20);
  }
}

TEST(QuarantineCipher, BlowfishGivesThePublishedBlocks) {
  // Key, plain block, cipher block.
  const char* cases[][3] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      // Longer keys, up to 24 bytes, over one block.
      {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
  };
  for (const auto& c : cases) {
    const Bytes key = FromHex(c[0]), plain = FromHex(c[1]);
    uint8_t out[8], back[8];
    CryptoPP::Blowfish::Encryption(key.data(), key.size()).ProcessBlock(plain.data(), out);
    EXPECT_EQ(ToHex(out, 8), c[2]) << c[0];
    CryptoPP::Blowfish::Decryption(key.data(), key.size()).ProcessBlock(out, back);
    EXPECT_EQ(ToHex(back, 8), c[1]) << c[0];
  }
}

TEST(QuarantineCipher, StartValueIsTheEncryptionOfAllOnes) {
  const QuarantineCipher cipher("12345678");
  EXPECT_EQ(ToHex(cipher.StartValue().data(), 8), "3C716667201E25FE");
}

Bytes Transformed(const QuarantineCipher& cipher, QuarantineTransform::Direction direction,
                  Bytes data, size_t piece = 0) {
  QuarantineTransform transform(cipher, direction);
  if (piece == 0) piece = data.size();
  for (size_t at = 0; at < data.size(); at += piece)
    transform.Process(data.data() + at, std::min(piece, data.size() - at));
  if (data.empty()) transform.Process(data.data(), 0);
  return data;
}

constexpr auto kStore = QuarantineTransform::Direction::Store;
constexpr auto kRestore = QuarantineTransform::Direction::Restore;

TEST(QuarantineTransform, StoredBytesAreTheReferenceValues) {
  const QuarantineCipher cipher("12345678");
  Bytes counting;
  for (uint8_t i = 0; i < 29; ++i) counting.push_back(i);
  const std::string hello = "Hello, world!";
  const struct {
    Bytes source;
    const char* stored;
  } cases[] = {
      {counting, "631C550383F251171A48B8816A724304C518DA7DEFF2BF575B2A6BC385"},
      {Bytes(hello.begin(), hello.end()), "FC09EFC877EE75A3BF088E9063"},
  };
  for (const auto& c : cases) {
    const Bytes stored = Transformed(cipher, kStore, c.source);
    EXPECT_EQ(ToHex(stored), c.stored);
    EXPECT_EQ(Transformed(cipher, kRestore, stored), c.source);
  }
}

TEST(QuarantineTransform, RoundTripsKeepEverySizeAndByte) {
  const QuarantineCipher cipher;  // the program's own passphrase
  for (size_t size : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{13}, size_t{1048579}}) {
    Bytes source(size);
    for (size_t i = 0; i < size; ++i) source[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
    const Bytes stored = Transformed(cipher, kStore, source);
    ASSERT_EQ(stored.size(), size);
    if (size >= 8) {
      EXPECT_NE(stored, source);
    }
    EXPECT_EQ(Transformed(cipher, kRestore, stored), source) << size;
  }
}

TEST(QuarantineTransform, PiecesOfWholeBlocksGiveTheSameBytes) {
  const QuarantineCipher cipher("12345678");
  Bytes source(1000 * 8 + 5);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i ^ (i >> 3));
  for (auto direction : {kStore, kRestore}) {
    const Bytes whole = Transformed(cipher, direction, source);
    for (size_t piece : {size_t{8}, size_t{2048}, size_t{65536}})
      EXPECT_EQ(Transformed(cipher, direction, source, piece), whole) << piece;
  }
}

TEST(QuarantineTransform, ADifferentPassphraseGivesOtherBytes) {
  const Bytes source(64, 0x5A);
  EXPECT_NE(Transformed(QuarantineCipher("12345678"), kStore, source),
            Transformed(QuarantineCipher("12345679"), kStore, source));
}

}  // namespace
}  // namespace morvanta::remedy

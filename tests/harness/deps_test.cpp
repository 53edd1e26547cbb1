// The libraries the product links work in this build: Crypto++ digests, bzip2 round trips.
#include <bzlib.h>
// MD5 is kept by Crypto++ among its weak algorithms; file digests still use it.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/hex.h>
#include <cryptopp/md5.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string Md5Hex(const std::string& data) {
  CryptoPP::Weak1::MD5 md5;
  CryptoPP::byte digest[CryptoPP::Weak1::MD5::DIGESTSIZE];
  md5.CalculateDigest(digest, reinterpret_cast<const CryptoPP::byte*>(data.data()), data.size());
  std::string hex;
  CryptoPP::HexEncoder encoder(new CryptoPP::StringSink(hex), false);
  encoder.Put(digest, sizeof digest);
  encoder.MessageEnd();
  return hex;
}

TEST(Dependencies, CryptoppMd5KnownAnswers) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Dependencies, Bzip2RoundTrip) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "%%wt%%\\agent" + std::to_string(i) + ".exe\r\n";
  std::vector<char> packed(text.size() + text.size() / 100 + 600);
  unsigned packedSize = static_cast<unsigned>(packed.size());
  ASSERT_EQ(BZ2_bzBuffToBuffCompress(packed.data(), &packedSize, text.data(),
                                     static_cast<unsigned>(text.size()), 9, 0, 0),
            BZ_OK);
  EXPECT_LT(packedSize, text.size() / 4);
  std::vector<char> unpacked(text.size());
  unsigned unpackedSize = static_cast<unsigned>(unpacked.size());
  ASSERT_EQ(BZ2_bzBuffToBuffDecompress(unpacked.data(), &unpackedSize, packed.data(), packedSize,
                                       0, 0),
            BZ_OK);
  EXPECT_EQ(std::string(unpacked.data(), unpackedSize), text);
}

}  // namespace

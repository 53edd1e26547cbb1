#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "update/signature.h"
#include "update_test_paths.h"
#include "../database/test_util.h"

namespace morvanta::update {
namespace {

using database::testing::ReadHostFile;

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::array<uint8_t, 32> Key(const std::string& hex) {
  const auto key = KeyFromHex(hex);
  EXPECT_TRUE(key.has_value()) << hex;
  return key.value_or(std::array<uint8_t, 32>{});
}

// RFC 8032, section 7.1, tests 1 and 2.
struct KnownAnswer {
  const char* secret;
  const char* publicKey;
  const char* message;
  const char* signature;
};
const KnownAnswer kKnownAnswers[] = {
    {"9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
     "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
     "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
     "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
    {"4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb",
     "3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c", "72",
     "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
     "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00"},
};

TEST(UpdateSignature, KnownAnswers) {
  for (const auto& v : kKnownAnswers) {
    SCOPED_TRACE(v.publicKey);
    const PrivateKey secret = Key(v.secret);
    const PublicKey publicKey = Key(v.publicKey);
    const auto message = FromHex(v.message);
    const auto expected = FromHex(v.signature);
    EXPECT_EQ(PublicKeyOf(secret), publicKey);
    const Signature sig = SignUpdateFile(message.data(), message.size(), secret);
    EXPECT_EQ(std::vector<uint8_t>(sig.begin(), sig.end()), expected);
    EXPECT_TRUE(VerifyUpdateSignature(message.data(), message.size(), expected.data(),
                                      expected.size(), publicKey));
  }
}

TEST(UpdateSignature, OnlyTheSignedBytesWithTheRightKeyVerify) {
  const KeyPair pair = GenerateUpdateKeyPair();
  const KeyPair other = GenerateUpdateKeyPair();
  ASSERT_NE(pair.publicKey, other.publicKey);
  EXPECT_EQ(PublicKeyOf(pair.privateKey), pair.publicKey);
  const std::string text = "Morvanta Pro\r\nThreat database 2026-01-12, Upd 1\r\n";
  const std::vector<uint8_t> data(text.begin(), text.end());
  const Signature sig = SignUpdateFile(data.data(), data.size(), pair.privateKey);
  ASSERT_TRUE(VerifyUpdateSignature(data.data(), data.size(), sig.data(), sig.size(),
                                    pair.publicKey));
  EXPECT_FALSE(VerifyUpdateSignature(data.data(), data.size(), sig.data(), sig.size(),
                                     other.publicKey));

  for (const size_t at : {size_t{0}, data.size() / 2, data.size() - 1}) {
    SCOPED_TRACE(at);
    auto tampered = data;
    tampered[at] ^= 0x01;
    EXPECT_FALSE(VerifyUpdateSignature(tampered.data(), tampered.size(), sig.data(),
                                       sig.size(), pair.publicKey));
    Signature badSig = sig;
    badSig[at % badSig.size()] ^= 0x80;
    EXPECT_FALSE(VerifyUpdateSignature(data.data(), data.size(), badSig.data(), badSig.size(),
                                       pair.publicKey));
  }
  // Cut or lengthened: bytes added at the end or lost there.
  auto longer = data;
  longer.push_back('\n');
  EXPECT_FALSE(VerifyUpdateSignature(longer.data(), longer.size(), sig.data(), sig.size(),
                                     pair.publicKey));
  EXPECT_FALSE(VerifyUpdateSignature(data.data(), data.size() - 1, sig.data(), sig.size(),
                                     pair.publicKey));
  // A signature file of another length is no signature.
  std::vector<uint8_t> padded(sig.begin(), sig.end());
  padded.push_back(0);
  for (const size_t size : {size_t{0}, size_t{63}, size_t{65}}) {
    EXPECT_FALSE(VerifyUpdateSignature(data.data(), data.size(), padded.data(), size,
                                       pair.publicKey))
        << size;
  }
  EXPECT_FALSE(VerifyUpdateSignature(data.data(), data.size(), nullptr, 64, pair.publicKey));
}

TEST(UpdateSignature, EmptyFilesAreSignedToo) {
  const KeyPair pair = GenerateUpdateKeyPair();
  const Signature sig = SignUpdateFile(nullptr, 0, pair.privateKey);
  EXPECT_TRUE(VerifyUpdateSignature(nullptr, 0, sig.data(), sig.size(), pair.publicKey));
  const uint8_t one = 0;
  EXPECT_FALSE(VerifyUpdateSignature(&one, 1, sig.data(), sig.size(), pair.publicKey));
}

// The repository's development key pair belongs together, and the default build trusts it,
// so the tests can sign what the program accepts.
TEST(UpdateSignature, BuiltInKeyIsTheDevelopmentKey) {
  const auto privateFile = ReadHostFile(kDevPrivateKeyFile);
  const auto publicFile = ReadHostFile(kDevPublicKeyFile);
  const auto secret = ReadPrivateKeyFile(privateFile.data(), privateFile.size());
  const auto publicKey = ReadPublicKeyFile(publicFile.data(), publicFile.size());
  ASSERT_TRUE(secret.has_value());
  ASSERT_TRUE(publicKey.has_value());
  EXPECT_EQ(PublicKeyOf(*secret), *publicKey);
  if (!UpdatePublicKeyIsDevelopmentKey()) {
    // A tree configured with the maker's key trusts nothing the development key signs.
    EXPECT_NE(UpdatePublicKey(), *publicKey);
    GTEST_SKIP() << "built with the maker's update key";
  }
  EXPECT_EQ(UpdatePublicKey(), *publicKey);

  const std::string text = "signed by the development key";
  const auto* data = reinterpret_cast<const uint8_t*>(text.data());
  const Signature sig = SignUpdateFile(data, text.size(), *secret);
  EXPECT_TRUE(VerifyUpdateSignature(data, text.size(), sig.data(), sig.size()));
}

TEST(UpdateKeyFile, WrittenFilesReadBack) {
  const KeyPair pair = GenerateUpdateKeyPair();
  const std::string privateText = PrivateKeyFileText(pair.privateKey);
  const std::string publicText = PublicKeyFileText(pair.publicKey);
  EXPECT_EQ(ReadPrivateKeyFile(reinterpret_cast<const uint8_t*>(privateText.data()),
                               privateText.size()),
            pair.privateKey);
  EXPECT_EQ(ReadPublicKeyFile(reinterpret_cast<const uint8_t*>(publicText.data()),
                              publicText.size()),
            pair.publicKey);
  EXPECT_NE(privateText.find(KeyToHex(pair.privateKey) + "\n"), std::string::npos);
}

TEST(UpdateKeyFile, Forms) {
  const std::string hex = "035bbc0c3dca5c85821c133469172770dcceab56b2ae19482cff86d907f01cd5";
  std::string upper = hex;
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {hex + "\n", true},
      {hex, true},
      {"# a comment\n\n" + hex + "\r\n# another\n", true},
      {"  " + hex + "\t\r\n", true},
      {upper + "\n", true},
      {"", false},
      {"# only a comment\n", false},
      {hex.substr(1) + "\n", false},
      {hex + "0\n", false},
      {hex.substr(0, 63) + "g\n", false},
      {hex + "\n" + hex + "\n", false},
      {hex.substr(0, 32) + " " + hex.substr(32) + "\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto* data = reinterpret_cast<const uint8_t*>(c.text.data());
    const auto key = ReadPublicKeyFile(data, c.text.size());
    EXPECT_EQ(key.has_value(), c.valid);
    if (key) {
      EXPECT_EQ(KeyToHex(*key), hex);
    }
  }
}

}  // namespace
}  // namespace morvanta::update

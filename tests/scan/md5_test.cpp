// The MD5 behind every file digest: known answers at the padding's edges, agreement with
// Crypto++'s MD5 at every length around the block size and at every alignment, pieces of any
// size, and the low-32-bit rule for files of 4 GiB and more.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>

#include "platform/fake/fake_files.h"
#include "scan/file_digest.h"
#include "scan/md5.h"

namespace morvanta::scan {
namespace {

std::string Hex(const uint8_t* digest, size_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 0x0F];
  }
  return text;
}

std::string Reference(const uint8_t* data, size_t size) {
  CryptoPP::Weak1::MD5 md5;
  md5.Update(data, size);
  uint8_t digest[CryptoPP::Weak1::MD5::DIGESTSIZE];
  md5.Final(digest);
  return Hex(digest, sizeof digest);
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

TEST(Md5, KnownAnswersWhereThePaddingChangesShape) {
  // 55 bytes leave room for the length in the last block, 56 do not; 64 is a whole block.
  const std::pair<size_t, const char*> vectors[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"},  {56, "3b0c8ac703f828b04c6c197006d17218"},
      {63, "b06521f39153d618550606be297466d5"},  {64, "014842d480b571495a4a0363793f7367"},
      {65, "c743a45e0d2e6a95cb859adae0248435"},  {127, "020406e1d05cdc2aa287641f7ae2cc39"},
      {128, "e510683b3f5ffe4093d021808bc6ff70"},
  };
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.first);
    const std::string text(v.first, 'a');
    EXPECT_EQ(DigestBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()), v.second);
  }
}

TEST(Md5, AgreesWithCryptoppAtEveryLengthAndAlignment) {
  const std::vector<uint8_t> bytes = RandomBytes(400, 7);
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t size = 0; size + offset <= 300; ++size) {
      SCOPED_TRACE("offset " + std::to_string(offset) + ", size " + std::to_string(size));
      ASSERT_EQ(DigestBytes(bytes.data() + offset, size), Reference(bytes.data() + offset, size));
    }
  }
  const std::vector<uint8_t> large = RandomBytes((1u << 20) + 37, 11);
  EXPECT_EQ(DigestBytes(large.data(), large.size()), Reference(large.data(), large.size()));
}

TEST(Md5, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
  const std::vector<uint8_t> bytes = RandomBytes(200000, 3);
  const std::string whole = Reference(bytes.data(), bytes.size());
  const size_t patterns[][6] = {{1, 1, 1, 1, 1, 1}, {63, 1, 64, 65, 0, 127}, {7, 4096, 3, 60, 64, 1000},
                                {64, 64, 64, 64, 64, 64}, {100000, 5, 0, 99995, 0, 0}};
  for (const auto& pattern : patterns) {
    Md5 md5;
    size_t at = 0, i = 0;
    while (at < bytes.size()) {
      size_t piece = pattern[i++ % 6];
      if (piece > bytes.size() - at) piece = bytes.size() - at;
      md5.Update(bytes.data() + at, piece);
      at += piece;
    }
    const auto digest = md5.Final();
    EXPECT_EQ(Hex(digest.data(), digest.size()), whole) << "first piece " << pattern[0];
  }
}

// A mapping that claims a size its bytes do not have: only the low 32 bits of it are read.
class ClaimedSizeView : public platform::MappedFile {
 public:
  ClaimedSizeView(const std::string& bytes, size_t claimed) : bytes_(bytes), claimed_(claimed) {}
  const uint8_t* Data() const override { return reinterpret_cast<const uint8_t*>(bytes_.data()); }
  size_t Size() const override { return claimed_; }

 private:
  std::string bytes_;
  size_t claimed_;
};

class ClaimedSizeFiles : public platform::fake::FakeFiles {
 public:
  std::unique_ptr<platform::MappedFile> MapReadOnly(const std::string&) override {
    return std::make_unique<ClaimedSizeView>("abc", claimed);
  }
  size_t claimed = 0;
};

TEST(Md5, FilesOfFourGibibytesAndMoreFeedTheLow32BitsOfTheirSize) {
  if (sizeof(size_t) < 8) GTEST_SKIP() << "no sizes past 4 GiB here";
  ClaimedSizeFiles files;
  files.claimed = static_cast<size_t>((uint64_t{1} << 32) + 3);
  EXPECT_EQ(FileDigest(files, "C:\\huge.bin"), "900150983cd24fb0d6963f7d28e17f72");  // "abc"
  files.claimed = static_cast<size_t>(uint64_t{1} << 32);
  EXPECT_EQ(ReadFileDigest(files, "C:\\huge.bin"), std::string(kEmptyDigest));
  files.claimed = 3;
  EXPECT_EQ(FileDigest(files, "C:\\small.bin"), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
}  // namespace morvanta::scan

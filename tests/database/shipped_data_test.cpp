// The data files the build puts beside the program: "files.dat" packed from data/files.txt
// by tools/pack_database.py, and "RegBase.rgk".
#include <gtest/gtest.h>

// MD5 is kept by Crypto++ among its weak algorithms; file digests still use it.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/hex.h>
#include <cryptopp/md5.h>

#include <algorithm>
#include <string>
#include <vector>

#include "database/container.h"
#include "scan/lint.h"
#include "database/threat_database.h"
#include "shipped_paths.h"
#include "test_util.h"

namespace morvanta::database {
namespace {

using testing::ReadHostFile;
using testing::Text;

TEST(ShippedData, PackedDatabaseLoadsToTheSourceText) {
  const auto text = ReadHostFile(kShippedFilesTxt);
  const auto packed = ReadHostFile(kShippedFilesDat);
  ASSERT_FALSE(text.empty());
  ASSERT_FALSE(packed.empty());
  // The build packs with Python; the program's loader must read it, and the library's own
  // packing must agree with it.
  ThreatDatabase db;
  db.LoadBytes(packed.data(), packed.size());
  EXPECT_EQ(Text(db.Content()), Text(text));
  EXPECT_EQ(DecodeAnyForm(packed.data(), packed.size()).form, ContainerForm::Packed);
  const auto ours = PackDatabase(text.data(), text.size());
  EXPECT_EQ(Text(DecodeContainer(ours.data(), ours.size())), Text(text));
}

TEST(ShippedData, TextPassesTheChecks) {
  const auto text = ReadHostFile(kShippedFilesTxt);
  const auto problems = scan::LintDatabaseText(text.data(), text.size());
  for (const auto& p : problems) ADD_FAILURE() << "files.txt:" << p.line << ": " << p.message;
}

TEST(ShippedData, ListsTheDigestOfTheTestFile) {
  const std::string eicar = "X5O!P%@AP[4\\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*";
  ASSERT_EQ(eicar.size(), 68u);
  CryptoPP::Weak1::MD5 md5;
  std::string digest;
  CryptoPP::byte raw[CryptoPP::Weak1::MD5::DIGESTSIZE];
  md5.CalculateDigest(raw, reinterpret_cast<const CryptoPP::byte*>(eicar.data()), eicar.size());
  CryptoPP::HexEncoder hex(new CryptoPP::StringSink(digest), false);
  hex.Put(raw, sizeof raw);
  hex.MessageEnd();
  const std::string text = Text(ReadHostFile(kShippedFilesTxt));
  EXPECT_NE(text.find("\r\n/" + digest + "/[EICAR-Test-File]::\r\n"), std::string::npos) << digest;
}

// Read as the program's readers walk it: a count, then records of root index, key path and
// a free line; nothing after them.
TEST(ShippedData, RegBaseHoldsWellFormedRecords) {
  const std::string text = Text(ReadHostFile(kShippedRegBase));
  ASSERT_FALSE(text.empty());
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  const int count = std::stoi(lines[0]);
  ASSERT_GT(count, 0);
  ASSERT_EQ(lines.size(), 1u + 3u * count);
  for (int i = 0; i < count; ++i) {
    const std::string& root = lines[1 + 3 * i];
    const std::string& key = lines[2 + 3 * i];
    SCOPED_TRACE(key);
    EXPECT_TRUE(root.size() == 1 && root[0] >= '0' && root[0] <= '4') << root;
    EXPECT_FALSE(key.empty());
    EXPECT_NE(key.front(), '\\');
    EXPECT_NE(key.back(), '\\');
    EXPECT_EQ(key.find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace morvanta::database

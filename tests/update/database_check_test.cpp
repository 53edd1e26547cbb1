#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/container.h"
#include "update/database_check.h"
#include "../database/test_util.h"

namespace morvanta::update {
namespace {

using database::testing::Bytes;
using database::testing::CrLf;
using database::testing::DateLine;

const std::string kGood = CrLf({DateLine('2'), "[Start]", "[Worm.A]:%%wt%%\\a.exe", "_end"});

DatabaseCheck CheckText(const std::string& text) {
  return CheckDatabaseText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

DatabaseCheck CheckFile(const std::vector<uint8_t>& bytes) {
  return CheckDatabaseFile(bytes.data(), bytes.size());
}

TEST(DatabaseCheck, Texts) {
  struct Case {
    std::string text;
    DatabaseCheck expected;
  };
  const Case cases[] = {
      {kGood, DatabaseCheck::Usable},
      {CrLf({DateLine('2'), "_end"}), DatabaseCheck::Usable},
      {"", DatabaseCheck::NoDateLine},
      {CrLf({"Threat database 2026-01-12", "_end"}), DatabaseCheck::NoDateLine},
      {CrLf({DateLine('2') + "x", "_end"}), DatabaseCheck::NoDateLine},
      {DateLine('2') + "\n[Start]\r\n_end\r\n", DatabaseCheck::NoDateLine},
      {kGood.substr(0, kGood.size() - 1), DatabaseCheck::NoEndLine},
      {kGood.substr(0, kGood.size() - 8), DatabaseCheck::NoEndLine},
      {CrLf({DateLine('2'), "[Start]"}), DatabaseCheck::NoEndLine},
      {CrLf({DateLine('2'), "[Start]", "x_end"}), DatabaseCheck::NoEndLine},
      {CrLf({DateLine('2')}), DatabaseCheck::NoEndLine},
      {kGood + "\r\n", DatabaseCheck::NoEndLine},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckText(c.text), c.expected) << c.text;
  }
  EXPECT_EQ(CheckDatabaseText(nullptr, 0), DatabaseCheck::NoDateLine);
}

TEST(DatabaseCheck, FilesAsTheProgramLoadsThem) {
  const auto text = Bytes(kGood);
  const auto packed = database::PackDatabase(text.data(), text.size());
  const auto piece = database::PackPiece(text.data(), text.size());
  EXPECT_EQ(CheckFile(packed), DatabaseCheck::Usable);
  EXPECT_EQ(CheckFile(piece), DatabaseCheck::Usable);

  // A whole download cut short: the bzip2 stream fails, and its unscrambled bytes are no
  // text.
  for (const size_t keep : {packed.size() - 1, packed.size() / 2, size_t{10}, size_t{0}}) {
    const std::vector<uint8_t> cut(packed.begin(), packed.begin() + static_cast<long>(keep));
    EXPECT_NE(CheckFile(cut), DatabaseCheck::Usable) << keep;
  }
  // The plain text itself is not a container: unscrambled it is garbage.
  EXPECT_NE(CheckFile(text), DatabaseCheck::Usable);
  std::vector<uint8_t> garbage(3000);
  uint32_t state = 7;
  for (auto& b : garbage) {
    state = state * 1103515245u + 12345u;
    b = static_cast<uint8_t>(state >> 16);
  }
  EXPECT_NE(CheckFile(garbage), DatabaseCheck::Usable);
  EXPECT_EQ(CheckDatabaseFile(nullptr, 0), DatabaseCheck::NoDateLine);
}

TEST(DatabaseCheck, Names) {
  EXPECT_STREQ(DatabaseCheckName(DatabaseCheck::Usable), "usable");
  EXPECT_STREQ(DatabaseCheckName(DatabaseCheck::NoDateLine), "no date line");
  EXPECT_STREQ(DatabaseCheckName(DatabaseCheck::NoEndLine), "no end line");
}

}  // namespace
}  // namespace morvanta::update

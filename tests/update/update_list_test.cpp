#include <gtest/gtest.h>

#include <string>

#include "update/update_list.h"

namespace morvanta::update {
namespace {

std::optional<UpdateList> Read(const std::string& text) {
  return ReadUpdateList(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

const std::string kDate = "Threat database 2026-01-12, Upd 7";

TEST(UpdateListRead, SixLines) {
  const auto list =
      Read("Morvanta Pro\r\n" + kDate + "\r\n" + kProgramVersion + "\r\nanything\r\n1\r\n3\r\n");
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(list->databaseDate, kDate);
  EXPECT_EQ(list->programVersion, kProgramVersion);
  EXPECT_TRUE(list->logUploadWanted);
  EXPECT_EQ(list->lowestLine, "3");
}

TEST(UpdateListRead, LineEndsAndMissingLines) {
  struct Case {
    std::string text;
    std::string date, version, lowest;
    bool logUpload;
  };
  const Case cases[] = {
      {"Morvanta Pro\nD\nV\n\n1\n5\n", "D", "V", "5", true},
      {"Morvanta Pro\rD\rV\r\r1\r5", "D", "V", "5", true},
      {"Morvanta Pro\r\nD\nV\r\n4\n0\r\n", "D", "V", "", false},
      {"Morvanta Pro\r\nD\r\nV\r\n\r\n1 \r\n\r\n", "D", "V", "", false},
      {"Morvanta Pro", "", "", "", false},
      {"Morvanta Pro\r\nD", "D", "", "", false},
      {"Morvanta Pro\r\nD\r\nV\r\n\r\n1", "D", "V", "", true},
      {"Morvanta Pro\r\nD\r\nV\r\n\r\n11\r\n 7 \r\nmore\r\n", "D", "V", " 7 ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto list = Read(c.text);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->databaseDate, c.date);
    EXPECT_EQ(list->programVersion, c.version);
    EXPECT_EQ(list->lowestLine, c.lowest);
    EXPECT_EQ(list->logUploadWanted, c.logUpload);
  }
}

TEST(UpdateListRead, FirstLineMustBeExact) {
  for (const std::string text : {"", "\r\n", "morvanta pro\r\n", "Morvanta Pro \r\n",
                                 " Morvanta Pro\r\n", "Morvanta Pro v7\r\n", "Morvanta\r\nPro\r\n",
                                 "<html>Morvanta Pro</html>\r\n"}) {
    EXPECT_FALSE(Read(text).has_value()) << text;
  }
  EXPECT_FALSE(ReadUpdateList(nullptr, 0).has_value());
}

TEST(PartialUpdateCounter, Rule) {
  struct Case {
    const char* line;
    uint64_t counter;
  };
  const Case cases[] = {
      {"Threat database 2026-01-12, Upd 7", 7},
      {"Threat database 2026-01-12, Upd 1.2", 12},
      {"Threat database 2026-01-12, Upd 1 2 .3", 123},
      {"Threat database 2026-01-12, Upd 0", 0},
      {"Threat database 2026-01-12, Upd 007", 7},
      {"Threat database 2026-01-12", 0},
      {"Threat database 2026-01-12, Upd ", 0},
      {"Threat database 2026-01-12, Upd x", 0},
      {"Threat database 2026-01-12, Upd 7b", 0},
      {"Threat database 2026-01-12, Upd -7", 0},
      {"Threat database 2026-01-12,Upd 7", 0},
      {"Threat database 2026-01-12, upd 7", 0},
      {"Threat database 2026-01-12, Upd 4, Upd 2", 42},
      {", Upd , Upd 9", 9},
      {"a, Upd 5 (Upd 6)", 0},
      {", Upd 18446744073709551615", 18446744073709551615u},
      {", Upd 18446744073709551616", 0},
      {", Upd 99999999999999999999999999", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PartialUpdateCounter(c.line), c.counter) << c.line;
  }
}

TEST(PartialUpdateCounter, LowestLine) {
  struct Case {
    const char* line;
    uint64_t lowest;
  };
  const Case cases[] = {{"3", 3}, {" 3 ", 3}, {"", 0}, {"x", 0}, {"3x", 0}, {"-3", 0},
                        {"+3", 0}, {"1.2", 0}, {"18446744073709551616", 0}};
  for (const auto& c : cases) EXPECT_EQ(ReadLowestCounter(c.line), c.lowest) << c.line;
}

TEST(DatabaseUpdatePlan, PartialOrWhole) {
  struct Case {
    uint64_t local, server;
    const char* lowest;
    bool partial;
    uint64_t first, last;
    size_t pieces;
  };
  const Case cases[] = {
      {5, 7, "3", true, 6, 7, 2},       // the missing pieces, in order
      {5, 7, "5", true, 6, 7, 2},       // lowest equal to local still serves it
      {5, 7, "6", false, 0, 0, 0},      // lowest above local: whole
      {0, 7, "3", false, 0, 0, 0},      // local without a counter: whole
      {5, 0, "3", false, 0, 0, 0},      // server without a counter: whole
      {5, 7, "", false, 0, 0, 0},       // no line 6: whole
      {5, 7, "0", false, 0, 0, 0},      // lowest 0: whole
      {5, 7, "x", false, 0, 0, 0},      // lowest not a number reads 0: whole
      {7, 7, "3", false, 0, 0, 0},      // equal counters, different date lines: whole
      {7, 5, "3", true, 1, 0, 0},       // server behind local: nothing fetched
      {UINT64_MAX, 5, "3", true, 1, 0, 0},
      {5, 6, "1", true, 6, 6, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.local) + " " + std::to_string(c.server) + " '" + c.lowest + "'");
    const DatabaseUpdatePlan plan = PlanDatabaseUpdate(c.local, c.server, c.lowest);
    EXPECT_EQ(plan.partial, c.partial);
    EXPECT_EQ(plan.PieceCount(), c.pieces);
    if (c.partial) {
      EXPECT_EQ(plan.first, c.first);
      EXPECT_EQ(plan.last, c.last);
    }
  }
}

TEST(DatabaseUpdatePlan, FromDateLines) {
  UpdateList list;
  list.databaseDate = "Threat database 2026-01-14, Upd 7";
  list.lowestLine = "3";
  const auto plan = PlanDatabaseUpdate("Threat database 2026-01-12, Upd 5", list);
  EXPECT_TRUE(plan.partial);
  EXPECT_EQ(plan.first, 6u);
  EXPECT_EQ(plan.last, 7u);
  EXPECT_FALSE(PlanDatabaseUpdate("Threat database 2026-01-12 (no counter)", list).partial);
  list.databaseDate = "Threat database 2026-01-14, Upd 1.2";
  EXPECT_EQ(PlanDatabaseUpdate("Threat database 2026-01-12, Upd 5", list).last, 12u);
}

TEST(SitePaths, ServerPaths) {
  EXPECT_EQ(PiecePath(6), "/updr2/upd/6.htm");
  EXPECT_EQ(PiecePath(1234567), "/updr2/upd/1234567.htm");
  EXPECT_EQ(SignaturePath(kListPath), "/updr2/list.htm.sig");
  EXPECT_EQ(SignaturePath(PiecePath(7)), "/updr2/upd/7.htm.sig");
  EXPECT_STREQ(kProgramVersion, "Morvanta Pro v7 - SE (Build date: 20.10.2011)");
}

}  // namespace
}  // namespace morvanta::update

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "common/message_catalog.h"

namespace morvanta::common {
namespace {

std::vector<std::string> Snapshot(const MessageCatalog& c) {
  std::vector<std::string> all;
  for (int i = 0; i < MessageCatalog::kSize; ++i) all.push_back(c.Text(i));
  return all;
}

// Callers append values straight after these, or compare against them, so every byte counts.
TEST(MessageCatalog, DefaultsOthersRelyOn) {
  struct Case {
    int index;
    const char* text;
  };
  const Case cases[] = {
      {2, "Error"},
      {5, ": Infected file ("},
      {18, "Click on \"Fix\" button to fix selected tasks."},
      {21, "Alert"},
      {23, "Information"},
      {28, "Question"},
      {35, "Clean...[%f sec]"},
      {59, "Would you like to scan your computer for Viruses, Malwares, Worms, Spyware & Adware?"},
      {60, "Do you want to fix selected alerts?"},
      {61, "Morvanta Pro v4 only supports Microsoft Windows XP, Vista and Win7 platform."},
      {62, "Last Update: "},
      {72, "Active processes ("},
      {74, "Scan your computer for viruses."},
      {82, "Scan your computer for viruses."},
      {89, "Refresh Windows startup list."},
      {128, "Would you like to scan all files on your computer for complete cleaning "
            "(This might take few minutes)."},
      {147, "Some dangerous files has been found on your computer. For safely reasons please "
            "click on <Scan> button for full scan process of all drives And files in you "
            "computer. Note: This might take couple of minutes."},
      {179, "Build log about"},
      {180, "Startup "},
      {192, " (No file)"},
      {198, "Services: ("},
  };
  MessageCatalog c;
  for (const auto& k : cases) EXPECT_EQ(c.Text(k.index), k.text) << "entry " << k.index;
}

TEST(MessageCatalog, OddBytesAndTheEmptySlot) {
  MessageCatalog c;
  // Two Windows-1252 right single quotation marks, not ASCII apostrophes.
  const std::string expected = std::string("Your database is out of date, do you wan") +
                               "\x92\x92" + "t to upgrade it?";
  EXPECT_EQ(c.Text(104), expected);
  EXPECT_EQ(c.Text(169), "");
  // Nothing else in the built-in texts leaves ASCII.
  for (int i = 0; i < MessageCatalog::kSize; ++i) {
    if (i == 104) continue;
    for (unsigned char ch : c.Text(i)) EXPECT_LT(ch, 0x80) << "entry " << i;
  }
}

TEST(MessageCatalog, EqualDefaultsAreSeparateSlots) {
  const std::vector<std::vector<int>> groups = {
      {1, 125}, {3, 126}, {129, 136}, {186, 188, 190, 195}, {191, 196}};
  for (const auto& group : groups) {
    for (int changed : group) {
      MessageCatalog c;
      for (int other : group) ASSERT_EQ(c.Text(other), c.Text(group[0])) << other;
      const std::string before = c.Text(changed);
      c.Set(changed, "translated");
      for (int other : group)
        EXPECT_EQ(c.Text(other), other == changed ? "translated" : before)
            << "set " << changed << ", read " << other;
    }
  }
}

TEST(MessageCatalog, LanguageFileOrder) {
  const auto& order = MessageCatalog::LanguageFileOrder();
  ASSERT_EQ(order.size(), 179u);

  std::set<int> seen(order.begin(), order.end());
  EXPECT_EQ(seen.size(), order.size()) << "duplicate index";
  std::set<int> expected;
  for (int i = 0; i < MessageCatalog::kLanguageEntries; ++i)
    if (i != 169) expected.insert(i);
  EXPECT_EQ(seen, expected);

  // Where the file order departs from index order.
  const struct {
    size_t position;
    int index;
  } fixed[] = {{0, 0},    {20, 20},   {21, 128},  {22, 21},   {27, 26},   {28, 129},
               {29, 130}, {30, 27},   {47, 44},   {48, 131},  {50, 133},  {51, 45},
               {63, 57},  {64, 136},  {65, 137},  {66, 58},   {67, 59},   {68, 134},
               {69, 135}, {70, 60},   {137, 127}, {138, 138}, {168, 168}, {169, 170},
               {178, 179}};
  for (const auto& f : fixed) EXPECT_EQ(order[f.position], f.index) << "position " << f.position;
}

TEST(MessageCatalog, OutOfRangeIsHarmless) {
  MessageCatalog c;
  const auto before = Snapshot(c);
  for (int index : {-1, MessageCatalog::kSize, INT_MIN, INT_MAX}) {
    c.Set(index, "stray");
    EXPECT_EQ(c.Text(index), "") << index;
  }
  EXPECT_EQ(Snapshot(c), before);
}

TEST(MessageCatalog, FillDefaultsUndoesEveryChange) {
  const auto defaults = Snapshot(MessageCatalog());
  MessageCatalog c;
  for (int i = 0; i < MessageCatalog::kSize; ++i) c.Set(i, "_end");
  c.FillDefaults();
  EXPECT_EQ(Snapshot(c), defaults);
  EXPECT_EQ(c.Text(169), "");
}

}  // namespace
}  // namespace morvanta::common

// The RegBase.rgk walk: the records it reads, where it stops, and which values it visits.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "remedy/regbase_file.h"

namespace morvanta::remedy {
namespace {

using platform::RegRoot;
using platform::RegValue;

RegBaseList Parse(const std::string& text) {
  return ParseRegBase(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::vector<std::pair<long long, std::string>> Records(const RegBaseList& list) {
  std::vector<std::pair<long long, std::string>> out;
  for (const auto& r : list.records) out.emplace_back(r.rootIndex, r.keyPath);
  return out;
}

TEST(RegBaseParse, RecordsAndSilentStops) {
  using R = std::vector<std::pair<long long, std::string>>;
  struct Case {
    const char* name;
    std::string text;
    bool countRead;
    R records;
  } cases[] = {
      {"empty file", "", false, {}},
      {"count zero", "0\r\n", true, {}},
      {"count not a number", "two\r\n1\r\nA\r\n\r\n", false, {}},
      {"two records", "2\r\n1\r\nSoftware\\A\r\nnote\r\n2\r\nSoftware\\B\r\n\r\n", true,
       {{1, "Software\\A"}, {2, "Software\\B"}}},
      {"third line any text", "1\r\n1\r\nK\r\n123 whatever\r\n", true, {{1, "K"}}},
      {"lines after the count are not read", "1\r\n1\r\nK\r\n\r\n2\r\nL\r\n\r\n", true,
       {{1, "K"}}},
      {"count larger than the records", "3\r\n1\r\nK\r\n\r\n", true, {{1, "K"}}},
      {"root index not a number ends", "3\r\n1\r\nK\r\n\r\nx\r\nL\r\n\r\n4\r\nM\r\n\r\n", true,
       {{1, "K"}}},
      {"bare LF line ends", "1\n3\nK\n\n", true, {{3, "K"}}},
      {"root out of range kept for the walk", "1\r\n7\r\nK\r\n\r\n", true, {{7, "K"}}},
      {"blanks around numbers", " 1 \r\n 2\r\nK\r\n\r\n", true, {{2, "K"}}},
      {"negative count", "-1\r\n1\r\nK\r\n\r\n", true, {}},
      {"overflowing count", "99999999999999999999\r\n1\r\nK\r\n\r\n", false, {}},
  };
  for (const auto& c : cases) {
    RegBaseList list = Parse(c.text);
    EXPECT_EQ(list.count.has_value(), c.countRead) << c.name;
    EXPECT_EQ(Records(list), c.records) << c.name;
  }
}

class RegBaseWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    auto key = machine_.registry.CreateKey(RegRoot::CurrentUser, "Software\\Run1");
    key->WriteValue("text", RegValue::FromString("c:\\a.exe"));
    key->WriteValue("number", RegValue::FromDword(7));
    key->WriteValue("expand", RegValue::FromString("%windir%\\b.exe", platform::RegType::ExpandString));
    key->WriteValue("binary", RegValue::FromBinary({1, 2, 3}));
    key->WriteValue("multi", RegValue::FromMultiString({"x", "y"}));
    key->WriteValue("empty", RegValue::FromString(""));
    machine_.registry.CreateKey(RegRoot::LocalMachine, "Software\\Run2")
        ->WriteValue("lm", RegValue::FromString("c:\\lm.exe"));
  }

  // root index, key, name, data of every visit, from a file with this text.
  std::vector<std::tuple<long long, std::string, std::string, std::string>> Walk(
      const std::string& text) {
    machine_.files.PutFile("C:\\prog\\RegBase.rgk", text);
    std::vector<std::tuple<long long, std::string, std::string, std::string>> seen;
    WalkRegBaseFile(machine_.files, machine_.registry, "C:\\prog\\RegBase.rgk",
                    [&](const RegBaseValue& v) {
                      seen.emplace_back(v.rootIndex, v.keyPath, v.name, v.data);
                    });
    return seen;
  }

  platform::fake::FakePlatform machine_;
};

TEST_F(RegBaseWalk, VisitsOnlyTextValuesOfKeysThatOpen) {
  auto seen = Walk(
      "5\r\n1\r\nSoftware\\Missing\r\n\r\n9\r\nSoftware\\Run1\r\nno root\r\n1\r\nSoftware\\Run1\r\n"
      "\r\n-1\r\nSoftware\\Run2\r\n\r\n2\r\nSoftware\\Run2\r\n\r\n");
  using V = std::tuple<long long, std::string, std::string, std::string>;
  EXPECT_EQ(seen, (std::vector<V>{V{1, "Software\\Run1", "text", "c:\\a.exe"},
                                  V{1, "Software\\Run1", "expand", "%windir%\\b.exe"},
                                  V{1, "Software\\Run1", "empty", ""},
                                  V{2, "Software\\Run2", "lm", "c:\\lm.exe"}}));
}

TEST_F(RegBaseWalk, MissingFileVisitsNothingAndSaysSo) {
  bool visited = false;
  EXPECT_FALSE(WalkRegBaseFile(machine_.files, machine_.registry, "C:\\prog\\absent.rgk",
                               [&](const RegBaseValue&) { visited = true; }));
  EXPECT_FALSE(visited);
}

TEST_F(RegBaseWalk, AStopKeepsWhatWasVisitedBeforeIt) {
  auto seen = Walk("3\r\n2\r\nSoftware\\Run2\r\n\r\nHKCU\r\nSoftware\\Run1\r\n\r\n");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(std::get<2>(seen[0]), "lm");
}

}  // namespace
}  // namespace morvanta::remedy

// The index file's text: five lines an entry, and what a damaged file still yields.
#include <gtest/gtest.h>

#include <string>

#include "remedy/quarantine_index.h"

namespace morvanta::remedy {
namespace {

const TQFileList kEvil = {"C:\\Bad\\evil.exe", "C:\\Prog\\Quarantine\\evil.exe", "Trojan.Evil",
                          "10.12.2026, 12:00:00", "0123456789abcdef0123456789abcdef"};
const TQFileList kByHand = {"D:\\tool.dll", "C:\\Prog\\Quarantine\\tool.dll", "Unknown",
                            "10.12.2026, 12:00:01", ""};

TEST(QuarantineIndexText, FormatsFiveCrLfLinesAnEntryAndReadsThemBack) {
  const QuarantineIndex index = {kEvil, kByHand};
  const std::string text = FormatQuarantineIndex(index);
  EXPECT_EQ(text,
            "C:\\Bad\\evil.exe\r\nC:\\Prog\\Quarantine\\evil.exe\r\nTrojan.Evil\r\n"
            "10.12.2026, 12:00:00\r\n0123456789abcdef0123456789abcdef\r\n"
            "D:\\tool.dll\r\nC:\\Prog\\Quarantine\\tool.dll\r\nUnknown\r\n10.12.2026, 12:00:01\r\n\r\n");
  EXPECT_EQ(ParseQuarantineIndex(text), index);
  EXPECT_EQ(FormatQuarantineIndex({}), "");
}

TEST(QuarantineIndexText, DamagedFilesYieldTheEntriesTheyHave) {
  const std::string whole = FormatQuarantineIndex({kEvil, kByHand});
  const struct {
    const char* what;
    std::string text;
    QuarantineIndex expected;
  } cases[] = {
      {"empty", "", {}},
      {"last entry cut after its task name",
       whole.substr(0, whole.find("Unknown\r\n") + 9),
       {kEvil, {kByHand.SourcePath, kByHand.StoredPath, "Unknown", "", ""}}},
      {"cut in the middle of a line, without its end",
       whole.substr(0, whole.find("Quarantine\\tool")),
       {kEvil, {kByHand.SourcePath, "C:\\Prog\\", "", "", ""}}},
      {"a lone source path", "C:\\x.exe", {{"C:\\x.exe", "", "", "", ""}}},
      {"blank lines at the end make no entry", whole + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n", {kEvil, kByHand}},
      {"LF and CR line ends", "a\nb\rc\nd\ne\n", {{"a", "b", "c", "d", "e"}}},
      {"a NUL byte stays in its field", std::string("a\0b\r\n", 5), {{std::string("a\0b", 3), "", "", "", ""}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseQuarantineIndex(c.text), c.expected) << c.what;
}

}  // namespace
}  // namespace morvanta::remedy

#include "scan/name_patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/name_range.h"
#include "scan/text_fields.h"
#include "scan_fixture.h"

namespace morvanta::scan {
namespace {

TEST(TextFields, FieldsAreDelimiterTerminated) {
  const struct {
    const char* text;
    char delimiter;
    int count;
    std::vector<const char*> fields;  // fields 0, 1, 2, 3
  } cases[] = {
      {"a;b;c", ';', 2, {"a", "b", "", ""}},
      {"a;b;c;", ';', 3, {"a", "b", "c", ""}},
      {"a;;b;", ';', 3, {"a", "", "b", ""}},
      {"", ';', 0, {"", "", "", ""}},
      {";", ';', 1, {"", "", "", ""}},
      {"xAyaz", 'a', 2, {"x", "y", "", ""}},  // the delimiter ignores letter case
      {"0123!.exe!", '!', 2, {"0123", ".exe", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FieldCount(c.text, c.delimiter), c.count);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Field(c.text, i, c.delimiter), c.fields[i]) << i;
  }
  EXPECT_EQ(Field("a;b;", -1, ';'), "");
}

TEST(TextFields, ProgramAlphabetPutsRBeforeSBeforeQ) {
  const std::pair<char, int> indexes[] = {{'a', 1},  {'p', 16}, {'r', 17}, {'s', 18},
                                          {'q', 19}, {'t', 20}, {'z', 26}, {'A', 0},
                                          {'1', 0},  {'\0', 0}, {'\xe9', 0}};
  for (const auto& i : indexes) EXPECT_EQ(LetterIndex(i.first), i.second) << i.first;
  const std::pair<int, const char*> letters[] = {{1, "a"},  {16, "p"}, {17, "r"}, {18, "s"},
                                                 {19, "q"}, {25, "y"}, {26, ""},  {0, ""},
                                                 {-3, ""}, {1000, ""}};
  for (const auto& l : letters) EXPECT_EQ(LetterAt(l.first), l.second) << l.first;
  EXPECT_EQ(LettersOf("Ab1-c?Z9z"), "bcz");
  EXPECT_EQ(DigitsOf("a1b22?3x"), "1223");
}

struct RangeCase {
  const char* path;
  RangeResult result;
  std::vector<std::string> names;
};

std::vector<std::string> RangeOf(const std::string& path, RangeResult* result,
                                 size_t cap = 1000) {
  std::vector<std::string> names;
  *result = ExpandNameRange(path, [&](const std::string& p) {
    names.push_back(p);
    return names.size() < cap;
  });
  return names;
}

TEST(NameRange, BothRangesExcludeTheirEnd) {
  const RangeCase cases[] = {
      {"C:\\w\\x??a1?c3?.dll", RangeResult::Done,
       {"C:\\w\\xa1.dll", "C:\\w\\xa2.dll", "C:\\w\\xb1.dll", "C:\\w\\xb2.dll"}},
      {"C:\\w\\??a1?c4?", RangeResult::Done,
       {"C:\\w\\a1", "C:\\w\\a2", "C:\\w\\a3", "C:\\w\\b1", "C:\\w\\b2", "C:\\w\\b3"}},
      // Program alphabet order: p r s q, never t.
      {"k??p?t?.exe", RangeResult::Done, {"kp.exe", "kr.exe", "ks.exe", "kq.exe"}},
      {"??q?r?", RangeResult::Done, {"q"}},
      // Numbers without leading zeros.
      {"n??08?11?.sys", RangeResult::Done, {"n8.sys", "n9.sys", "n10.sys"}},
      {"??9?3?", RangeResult::Done, {"9"}},
      // Only the start has digits: they become 0; only the end has digits: they go.
      {"??a7?c?", RangeResult::Done, {"a0", "b0"}},
      {"??a?c7?", RangeResult::Done, {"a", "b"}},
      // Letters outside the format stay as fixed text.
      {"f??ab1?cd4?", RangeResult::Done, {"fab1", "fab2", "fab3"}},
      {"f??a1?4?", RangeResult::Done, {"fa1", "fa2", "fa3"}},
      {"??y?z?", RangeResult::Done, {"y"}},
      {"??z?z?", RangeResult::Done, {""}},  // z is position 26: no letter stands for it
      // Degenerate forms.
      {"abc??", RangeResult::Done, {"abc"}},
      {"a??b", RangeResult::Done, {"ab"}},
      {"C:\\w\\plain.exe", RangeResult::NoRange, {}},
      {"C:\\a??b\\plain?.exe", RangeResult::NoRange, {}},
      // Bounds that do not fit a 32-bit signed integer make no names.
      {"??1?99999999999999999999999?", RangeResult::BadNumber, {}},
      {"??2147483648?2147483649?", RangeResult::BadNumber, {}},
      {"??2147483645?2147483647?", RangeResult::Done, {"2147483645", "2147483646"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    RangeResult result;
    EXPECT_EQ(RangeOf(c.path, &result), c.names);
    EXPECT_EQ(result, c.result);
  }
}

TEST(NameRange, TheSizeIsCountedWithoutMakingTheNames) {
  const char* ranges[] = {"C:\\w\\x??a1?c3?.dll", "??a1?c4?", "k??p?t?.exe", "??q?r?",
                          "n??08?11?.sys", "??9?3?", "??a7?c?", "??a?c7?", "f??ab1?cd4?",
                          "??y?z?", "abc??", "a??b", "??1?50?", "??a1?e9?"};
  for (const char* path : ranges) {
    RangeResult result;
    EXPECT_EQ(NameRangeSize(path), RangeOf(path, &result).size()) << path;
  }
  EXPECT_EQ(NameRangeSize("??1?2147483647?"), 2147483646u);
  EXPECT_EQ(NameRangeSize("??a1?z2147483647?"), 25ull * 2147483646ull);  // z: letters a to y
  EXPECT_FALSE(NameRangeSize("C:\\w\\plain.exe"));
  EXPECT_FALSE(NameRangeSize("??1?99999999999?"));
}

TEST(NameRange, ReceiverStopsTheEnumeration) {
  RangeResult result;
  auto names = RangeOf("??1?2000000000?", &result, 3);
  EXPECT_EQ(result, RangeResult::Stopped);
  EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "3"}));
  names = RangeOf("??1?50?", &result);
  ASSERT_EQ(names.size(), 49u);
  EXPECT_EQ(names.back(), "49");
}

class NamePatternTest : public ::testing::Test {
 protected:
  NamePatternTest() {
    machine.Fake().files.MakeFolders("C:\\w");
    machine.Fake().files.MakeFolders("C:\\x");
  }
  MatchList Match(const std::string& path) {
    return MatchNamePattern(machine.Get(), objects, path);
  }
  void Running(const std::string& path) {
    machine.PutProgram(path);
    objects.Lines().push_back("Proc " + path + "[0123456789abcdef0123456789abcdef][15]");
  }
  testing::FakeMachine machine;
  FixedRunningObjects objects;
};

TEST_F(NamePatternTest, EachLinesPathIsWorkedOutOncePerLine) {
  Running("C:\\w\\svch0st.exe");
  EXPECT_EQ(objects.ResolvedPath(machine.Get(), 0), "c:\\w\\svch0st.exe");
  // The file goes; the line as it was keeps its answer while the list stays as it is ...
  machine.Fake().files.DeleteFile("C:\\w\\svch0st.exe");
  EXPECT_EQ(objects.ResolvedPath(machine.Get(), 0), "c:\\w\\svch0st.exe");
  // ... and another line in its place is worked out anew.
  objects.Lines()[0] = "Proc C:\\w\\other.exe[0123456789abcdef0123456789abcdef][15]";
  EXPECT_EQ(objects.ResolvedPath(machine.Get(), 0), "");
}

TEST_F(NamePatternTest, WildcardListingListsFilesOnly) {
  auto& files = machine.Fake().files;
  files.PutFile("C:\\w\\ab1.exe", "1");
  files.PutFile("C:\\w\\AB2.EXE", "2");
  files.PutFile("C:\\w\\abc.dll", "3");
  files.PutFile("C:\\w\\xab.exe", "4");
  files.MakeFolders("C:\\w\\abdir.exe");
  EXPECT_EQ(WildcardListing(files, "C:\\w\\ab<>.exe"), "C:\\w\\ab1.exe;C:\\w\\AB2.EXE;");
  EXPECT_EQ(WildcardListing(files, "C:\\w\\<>"),
            "C:\\w\\ab1.exe;C:\\w\\AB2.EXE;C:\\w\\abc.dll;C:\\w\\xab.exe;");
  EXPECT_EQ(WildcardListing(files, "C:\\w\\zz<>.exe"), "");
  EXPECT_EQ(WildcardListing(files, "C:\\missing\\<>"), "");
  EXPECT_EQ(WildcardListing(files, ""), "");
  // A write time without a local DOS date and time is passed over.
  files.SetClock(0);
  files.PutFile("C:\\w\\ab0.exe", "0");
  EXPECT_EQ(WildcardListing(files, "C:\\w\\ab<>.exe"), "C:\\w\\ab1.exe;C:\\w\\AB2.EXE;");
}

TEST(CharsetTest, SetsAndOrderedLiterals) {
  const struct {
    const char* spec;
    const char* candidate;
    bool matches;
  } cases[] = {
      {"0123456789!.exe!", "123.exe", true},
      {"0123456789!.exe!", "12x.exe", false},
      {"0123456789!.exe!", "123", false},  // the literal must be there
      {"0123456789!.exe!", ".exe", true},  // an empty rest passes
      {"0123456789", "5512", true},
      {"0123456789", "55.2", false},
      {"abc!x!y!", "abxcy", true},
      {"abc!y!x!", "abxcy", false},  // literals must appear in order
      {"abc!x!x!", "axbx", false},   // each literal's first position counts
      {"abc!!", "abc", false},       // an empty literal never hits
      {"ABC", "abc", false},         // letters match only when written in lower case
      {"", "", true},
      {"", "a", false},
      {"!", "", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CharsetCandidateMatches(c.spec, c.candidate), c.matches)
        << c.spec << " / " << c.candidate;
}

TEST_F(NamePatternTest, CharsetWithAStemMatchesTheFolderFiles) {
  auto& files = machine.Fake().files;
  files.PutFile("C:\\w\\abc123.exe", "x");
  files.PutFile("C:\\w\\ABC77.EXE", "x");
  files.PutFile("C:\\w\\abc12x.exe", "x");
  files.PutFile("C:\\w\\abc5.dll", "x");
  EXPECT_EQ(Match("C:\\w\\abc&0123456789!.exe!"), "C:\\w\\abc123.exe;C:\\w\\abc77.exe;");
  EXPECT_EQ(Match("C:\\w\\zzz&0123456789!.exe!"), "");
}

TEST_F(NamePatternTest, CharsetWithoutAStemMatchesRunningProgramsInThePatternFolder) {
  Running("c:\\p\\5512.exe");
  Running("c:\\p\\55x2.exe");
  EXPECT_EQ(Match("C:\\w\\&0123456789!.exe!"), "C:\\w\\5512.exe;");
}

TEST_F(NamePatternTest, DiamondMatchesRunningProgramsInThePatternFolder) {
  Running("C:\\w\\abcdef.exe");
  Running("C:\\x\\abcxyz.exe");
  Running("C:\\w\\sub\\abc.exe");
  objects.Lines().push_back("Proc c:\\w\\abcgone.exe[x][0]");  // resolves to nothing
  EXPECT_EQ(Match("c:\\W\\abc<>.exe"), "c:\\w\\abcdef.exe;");
  EXPECT_EQ(Match("C:\\w\\ABC<>.exe"), "");  // the stem must stand in the line as written
  EXPECT_EQ(Match("C:\\w\\<>.exe"), "");     // an empty stem matches nothing
}

TEST_F(NamePatternTest, OrderedPartsMatchInOrderInThePatternFolder) {
  Running("C:\\w\\svchxost.exe");
  Running("C:\\w\\chsv.exe");
  Running("C:\\x\\svch.exe");
  Running("C:\\w\\SVCH.com");
  EXPECT_EQ(Match("C:\\w\\sv?ch?.exe"), "c:\\w\\svchxost.exe;c:\\w\\svch.com;");
  EXPECT_EQ(Match("C:\\w\\sv??ch?"), "");  // an empty part never matches
  EXPECT_EQ(Match("C:\\w\\s?s?"), "c:\\w\\svchxost.exe;c:\\w\\chsv.exe;c:\\w\\svch.com;");
}

TEST_F(NamePatternTest, RandomSuffixFindsTheSiblingAnywhere) {
  Running("c:\\x\\servicesa.exe");
  machine.PutProgram("c:\\x\\services.exe");
  Running("c:\\x\\aba.exe");
  machine.PutProgram("c:\\x\\ab.exe");
  Running("c:\\x\\lonelya.exe");
  EXPECT_EQ(Match("C:\\w\\randomA.exe"), "c:\\x\\servicesa.exe;c:\\x\\services.exe;");
  EXPECT_EQ(Match("C:\\X\\randomA"),
            "c:\\x\\servicesa.exe;c:\\x\\servicesa.exe;c:\\x\\services.exe;");
}

TEST_F(NamePatternTest, KindIsChosenInOrderAndPlainNamesMatchNothing) {
  machine.Fake().files.PutFile("C:\\w\\ab&1.txt", "x");
  Running("C:\\w\\ab&x.exe");
  // "<>" wins over "&" and "?".
  EXPECT_EQ(Match("C:\\w\\ab<>&?"), "c:\\w\\ab&x.exe;");
  EXPECT_EQ(Match("C:\\w\\plain.exe"), "");
  EXPECT_EQ(Match("C:\\w\\randoma.exe"), "");
  EXPECT_EQ(Match(""), "");
}

}  // namespace
}  // namespace morvanta::scan

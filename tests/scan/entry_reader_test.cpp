#include "scan/entry_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_fixture.h"

namespace morvanta::scan {
namespace {

constexpr char kDigest[] = "0123456789abcdef0123456789abcdef";

class ParseEntryLineTest : public ::testing::Test {
 protected:
  ParseEntryLineTest() { machine.Fake().folders.SetTempPath("C:\\Temp\\"); }
  DatabaseEntry Parse(const std::string& line, const std::string& base = "") {
    return ParseEntryLine(machine.Get(), line, base);
  }
  testing::FakeMachine machine;
};

struct EntryCase {
  std::string line;
  const char* base;
  EntryKind kind;
  const char* target;
  const char* threat;
  const char* digest;
  const char* folder;
  const char* path;
};

TEST_F(ParseEntryLineTest, EveryLineForm) {
  const std::string md5 = std::string("/") + kDigest + "/";
  const EntryCase cases[] = {
      // File entries, with and without a base folder, with default names.
      {"[]:abc.exe", "C:\\WINDOWS\\system32", EntryKind::File, "abc.exe", "Sys32.abc", "",
       "C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\abc.exe"},
      {"[]:abc.exe", "C:\\WINDOWS\\system32\\   ", EntryKind::File, "abc.exe", "Sys32.abc", "",
       "C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\system32\\abc.exe"},
      {"[Threat.A]:%%WinTemp%%\\abc.exe  ", "", EntryKind::File, "C:\\Temp\\abc.exe",
       "Threat.A", "", "", "C:\\Temp\\abc.exe"},
      {"[]:%%wt%%\\noext", "", EntryKind::File, "C:\\Temp\\noext", "Sys32.%%wt%%\\noext", "",
       "", "C:\\Temp\\noext"},
      {"[]:%%wt%%\\a.b\\c.d.exe", "", EntryKind::File, "C:\\Temp\\a.b\\c.d.exe", "Sys32.c.d",
       "", "", "C:\\Temp\\a.b\\c.d.exe"},
      {"[]:sub.dir\\noext", "", EntryKind::File, "sub.dir\\noext", "Sys32.sub", "", "",
       "sub.dir\\noext"},
      // Folder entries: the text before the double backslash names the folder.
      {"[X]:%%wt%%\\sub\\\\", "", EntryKind::Folder, "", "X", "", "C:\\Temp\\sub",
       "C:\\Temp\\sub"},
      {"[]:Bad App\\\\", "C:\\PF", EntryKind::Folder, "", "Sys32.Bad App", "",
       "C:\\PF\\Bad App", "C:\\PF\\Bad App"},
      {"[]:x\\", "C:\\PF\\", EntryKind::Folder, "", "Sys32.", "", "C:\\PF\\", "C:\\PF\\"},
      // Digest entries, and digests in front of file and folder entries.
      {md5 + "[Threat.C]::", "C:\\base", EntryKind::Digest, "", "Threat.C", kDigest,
       "", ""},
      {md5 + "[]::", "", EntryKind::Digest, "", "", kDigest, "", ""},
      {md5 + "[Threat.E]:%%wt%%\\abc.exe", "", EntryKind::File, "C:\\Temp\\abc.exe",
       "Threat.E", kDigest, "", "C:\\Temp\\abc.exe"},
      {md5 + "[F]:%%wt%%\\d\\\\", "", EntryKind::Folder, "", "F", kDigest,
       "C:\\Temp\\d", "C:\\Temp\\d"},
      // Outside the grammar, never rejected.
      {"noname.exe", "", EntryKind::File, "noname.exe", "Sys32.noname", "", "", "noname.exe"},
      {"/abc[Y]:z.exe", "", EntryKind::File, "z.exe", "Y", "", "", "z.exe"},
      {"[Z]", "", EntryKind::File, "[Z]", "Z", "", "", "[Z]"},
      {"]x[:a.exe", "", EntryKind::File, "a.exe", "Sys32.a", "", "", "a.exe"},
      {"", "", EntryKind::File, "", "Sys32.", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    DatabaseEntry e = Parse(c.line, c.base);
    EXPECT_EQ(KindOf(e), c.kind);
    EXPECT_EQ(e.Target, c.target);
    EXPECT_EQ(e.ThreatName, c.threat);
    EXPECT_EQ(e.Digest, c.digest);
    EXPECT_EQ(e.Folder, c.folder);
    EXPECT_EQ(DerivedPath(e), c.path);
  }
}

TEST_F(ParseEntryLineTest, BaseFolderTokensExpandToo) {
  DatabaseEntry e = Parse("[]:a.exe", "%%wt%%\\sub");
  EXPECT_EQ(e.Folder, "C:\\Temp\\sub");
  EXPECT_EQ(ParseEntryTemplates("[]:a.exe", "%%wt%%\\sub").Folder, "%%wt%%\\sub");
}

TEST(EntryLineMarker, NoSubstitutionMarkerIsRemovedEverywhere) {
  const struct {
    const char* line;
    const char* text;
    bool marked;
  } cases[] = {
      {"/0/[Threat.D]:%%wt%%\\abc.exe", "[Threat.D]:%%wt%%\\abc.exe", true},
      {"[D]:/0/x/0/.exe", "[D]:x.exe", true},
      {"[D]:x.exe", "[D]:x.exe", false},
      {"/0[D]:x.exe", "/0[D]:x.exe", false},
  };
  for (const auto& c : cases) {
    EntryLine e = StripNoSubstitutionMarker(c.line);
    EXPECT_EQ(e.text, c.text) << c.line;
    EXPECT_EQ(e.noProcessSubstitution, c.marked) << c.line;
  }
}

class EntryLineReaderTest : public ::testing::Test {
 protected:
  EntryLineReaderTest() {
    machine.Fake().folders.SetWindowsDirectory("C:\\WINDOWS");
    machine.Fake().folders.SetSystemDirectory("C:\\WINDOWS\\system32");
    machine.SetCurrentVersionValue("ProgramFilesDir",
                                   platform::RegValue::FromString("C:\\Program Files"));
  }
  // The entry lines with the base folder in force for each, as "base|line|marked".
  std::vector<std::string> Read(const std::vector<std::string>& lines) {
    std::string text = "Date line of 33 characters......\r\n";
    for (const auto& l : lines) text += l + "\r\n";
    text += "_end\r\n";
    database.SetText(std::vector<uint8_t>(text.begin(), text.end()));
    EntryLineReader reader(database, machine.Get());
    reader.Start();
    std::vector<std::string> seen;
    while (auto line = reader.Next())
      seen.push_back(reader.BaseFolder() + "|" + line->text +
                     (line->noProcessSubstitution ? "|0" : ""));
    return seen;
  }
  testing::FakeMachine machine;
  database::ThreatDatabase database;
};

TEST_F(EntryLineReaderTest, SectionLinesSetTheBaseFolderInOrder) {
  using Lines = std::vector<std::string>;
  const struct {
    Lines in;
    Lines out;
  } cases[] = {
      {{"[]:a.exe"}, {"|[]:a.exe"}},
      {{"[Win32Root]\\system", "[]:a.exe", "[]:b.exe"},
       {"C:\\WINDOWS\\system|[]:a.exe", "C:\\WINDOWS\\system|[]:b.exe"}},
      {{"[System32Root]\\drivers", "[]:a.exe", "[Start]", "[]:b.exe"},
       {"C:\\WINDOWS\\system32\\drivers|[]:a.exe", "|[]:b.exe"}},
      {{"[ProgramFiles32Root]\\Some App", "/0/[]:a.exe"},
       {"C:\\Program Files\\Some App|[]:a.exe|0"}},
      // All four in order in front of one entry: the last root wins.
      {{"[Start]", "[Win32Root]\\w", "[System32Root]\\s", "[ProgramFiles32Root]\\p", "[]:a"},
       {"C:\\Program Files\\p|[]:a"}},
      // Out of order, the second section line is taken as an entry line.
      {{"[System32Root]", "[Win32Root]\\x", "[]:a"},
       {"C:\\WINDOWS\\system32|[Win32Root]\\x", "C:\\WINDOWS\\system32|[]:a"}},
      {{"[Win32Root]", "[Start]"}, {"C:\\WINDOWS|[Start]"}},
      // Markers are case-sensitive and must stand at the first character.
      {{"[start]", " [Win32Root]"}, {"|[start]", "| [Win32Root]"}},
      // A section line right before the end line ends the reading.
      {{"[]:a", "[Win32Root]\\x"}, {"|[]:a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in.front());
    EXPECT_EQ(Read(c.in), c.out);
  }
}

TEST_F(EntryLineReaderTest, StartRewindsAndClearsTheBaseFolder) {
  Read({"[Win32Root]", "[]:a"});
  EntryLineReader reader(database, machine.Get());
  reader.Start();
  EXPECT_EQ(reader.BaseFolder(), "");
  ASSERT_TRUE(reader.Next());
  EXPECT_EQ(reader.BaseFolder(), "C:\\WINDOWS");
  EXPECT_FALSE(reader.Next());
  EXPECT_FALSE(reader.Next());
}

}  // namespace
}  // namespace morvanta::scan

// The keyboard filter list and its removal, and the INI lines with their toggle, on the fake.
#include <gtest/gtest.h>

#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "page_test_util.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using platform::RegRoot;
using platform::RegType;
using platform::RegValue;
using platform::fake::FakePlatform;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(UpperFilterWalk, NamesBehindTheFirst) {
  using S = std::string;
  struct Case {
    std::string data;
    std::vector<std::string> names;
  } cases[] = {
      {S("kbdclass\0\0", 10), {}},
      {S("kbdclass\0spy\0\0", 14), {"spy"}},
      {S("kbdclass\0 spy \0logger\0\0", 24), {"spy", "logger"}},
      // a one-letter first name: the walk starts on its NUL
      {S("k\0spy\0\0", 7), {"spy"}},
      // no final NUL: the padding blanks name nothing
      {S("kbdclass\0spy\0", 13), {"spy"}},
      {S("kbdclass", 8), {}},
      {S("\0\0", 2), {}},
      {S(""), {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpperFilterNamesAfterFirst(Bytes(c.data)), c.names) << c.data.size();
  // a name running to the end of the buffer is still taken
  std::string full = S("a\0", 2) + std::string(kUpperFiltersBufferBytes - 2, 'x');
  EXPECT_EQ(UpperFilterNamesAfterFirst(Bytes(full)),
            std::vector<std::string>{std::string(kUpperFiltersBufferBytes - 2, 'x')});
}

class KeyboardFilterTest : public ::testing::Test {
 protected:
  void SetFilters(const std::vector<std::string>& names) {
    SetValue(RegValue::FromMultiString(names));
  }
  void SetValue(const RegValue& v) {
    auto key = fake.registry.CreateKey(RegRoot::LocalMachine, kKeyboardClassKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteValue("UpperFilters", v));
  }
  std::optional<RegValue> Value() {
    auto key = fake.registry.OpenKey(RegRoot::LocalMachine, kKeyboardClassKey,
                                     platform::RegAccess::Read);
    return key ? key->ReadValue("UpperFilters") : std::nullopt;
  }
  FakePlatform fake;
  platform::Platform p = fake.Get();
  ScriptedPrompts prompts{false};
  const std::string sys = "C:\\windows\\system32";
};

TEST_F(KeyboardFilterTest, Listing) {
  auto listing = ListKeyboardFilters(p);  // no key
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_TRUE(listing.notice);
  EXPECT_EQ(listing.rows[0].name, "No Keyboard Filter driver found!");

  SetFilters({"kbdclass"});
  listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(listing.rows[0].name, "No Keyboard Filter driver found!");

  fake.files.PutFile(sys + "\\Drivers\\spy.sys", "driver");
  fake.files.PutFile(sys + "\\spy.sys", "driver");
  fake.files.PutFile(sys + "\\logger.sys", "driver");
  SetFilters({"kbdclass", "spy", "logger", "ghost"});
  listing = ListKeyboardFilters(p);
  EXPECT_FALSE(listing.notice);
  ASSERT_EQ(listing.rows.size(), 3u);
  EXPECT_EQ(listing.rows[0].file, sys + "\\Drivers\\spy.sys");
  EXPECT_EQ(listing.rows[1].file, sys + "\\logger.sys");
  EXPECT_EQ(listing.rows[2].name, "ghost");
  EXPECT_EQ(listing.rows[2].file, "");
  EXPECT_EQ(FilterPathCellText(listing.rows[2]), "File not found");
  EXPECT_EQ(FilterPathCellText(listing.rows[0]), sys + "\\Drivers\\spy.sys");
}

TEST_F(KeyboardFilterTest, UnreadableValuesAreANoticeRow) {
  struct Case {
    RegValue value;
    bool notice;
    size_t rows;
  } cases[] = {
      {RegValue::FromMultiString({"kbdclass", std::string(300, 'x')}), true, 1},
      {RegValue::FromString("kbdclass"), true, 1},
      {RegValue::FromDword(1), true, 1},
      {RegValue::FromBinary(Bytes(std::string("kbdclass\0bin\0\0", 14))), false, 1},
  };
  for (const auto& c : cases) {
    SetValue(c.value);
    auto listing = ListKeyboardFilters(p);
    EXPECT_EQ(listing.notice, c.notice);
    ASSERT_EQ(listing.rows.size(), c.rows);
    if (c.notice) {
      EXPECT_EQ(listing.rows[0].name, "UpperFilters can not be read!");
    }
  }
}

TEST_F(KeyboardFilterTest, RemovalAsksRewritesAndRenames) {
  fake.files.PutFile(sys + "\\Drivers\\spy.sys", "driver");
  SetFilters({"kbdclass", "spy", "logger"});
  auto listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 2u);
  const KeyboardFilterRow spy = listing.rows[0];

  // the default answer is No: nothing changes
  EXPECT_EQ(RemoveKeyboardFilter(p, spy, prompts, listing), FilterRemoval::Refused);
  ASSERT_EQ(prompts.shown.size(), 1u);
  const auto& asked = prompts.shown[0];
  EXPECT_EQ(asked.text, "Disable [spy] ?");
  EXPECT_EQ(asked.kind, PromptKind::Irreversible);
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"kbdclass", "spy", "logger"}).data);

  prompts.Answer({true});
  EXPECT_EQ(RemoveKeyboardFilter(p, spy, prompts, listing), FilterRemoval::Removed);
  EXPECT_EQ(Value()->type, RegType::MultiString);
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"kbdclass", "logger"}).data);
  EXPECT_TRUE(fake.files.FileExists(sys + "\\Drivers\\spy.sys.del"));
  EXPECT_FALSE(fake.files.Exists(sys + "\\Drivers\\spy.sys"));
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(listing.rows[0].name, "logger");

  // the last one: the first name stays alone, a "File not found" has nothing to rename
  prompts.Answer({true});
  EXPECT_EQ(RemoveKeyboardFilter(p, listing.rows[0], prompts, listing), FilterRemoval::Removed);
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"kbdclass"}).data);
  EXPECT_EQ(listing.rows[0].name, "No Keyboard Filter driver found!");
}

TEST_F(KeyboardFilterTest, ADriverStillRegisteredIsNeverRenamed) {
  // The same driver twice, once as the first name in other letters: removing the listed one
  // leaves the first, which still loads the file.
  fake.files.PutFile(sys + "\\Drivers\\kbdspy.sys", "driver");
  SetFilters({"KbdSpy", "kbdspy", "logger"});
  auto listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 2u);
  prompts.Answer({true});
  EXPECT_EQ(RemoveKeyboardFilter(p, listing.rows[0], prompts, listing), FilterRemoval::StillListed);
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"KbdSpy", "logger"}).data);
  EXPECT_TRUE(fake.files.FileExists(sys + "\\Drivers\\kbdspy.sys"));
  EXPECT_FALSE(fake.files.Exists(sys + "\\Drivers\\kbdspy.sys.del"));
}

TEST_F(KeyboardFilterTest, ARowWithoutItsFileTouchesNoFile) {
  // A file whose name is the placeholder text must survive the removal of a "File not
  // found" row.
  fake.files.PutFile("File not found", "a user's file");
  SetFilters({"kbdclass", "ghost"});
  auto listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 1u);
  prompts.Answer({true});
  EXPECT_EQ(RemoveKeyboardFilter(p, listing.rows[0], prompts, listing), FilterRemoval::Removed);
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"kbdclass"}).data);
  EXPECT_TRUE(fake.files.FileExists("File not found"));
  EXPECT_FALSE(fake.files.Exists("File not found.del"));
}

TEST_F(KeyboardFilterTest, NoWriteAccessAsksNothing) {
  SetFilters({"kbdclass", "spy"});
  fake.registry.DenyWrite(RegRoot::LocalMachine, kKeyboardClassKey);
  auto listing = ListKeyboardFilters(p);
  prompts.Answer({true});
  EXPECT_EQ(RemoveKeyboardFilter(p, listing.rows[0], prompts, listing), FilterRemoval::NoAccess);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Value()->data, RegValue::FromMultiString({"kbdclass", "spy"}).data);
}

class IniTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& path) {
    auto data = fake.files.ReadAll(path);
    return data ? std::string(data->begin(), data->end()) : "<missing>";
  }
  std::vector<std::string> Lines(const IniListing& l) {
    std::vector<std::string> out;
    for (const auto& r : l.rows) out.push_back((r.ticked ? "+" : "-") + r.line);
    return out;
  }
  FakePlatform fake;
  platform::Platform p = fake.Get();
  ScriptedPrompts prompts{false};
  const std::string win = "C:\\windows\\win.ini";
};

TEST_F(IniTest, ListingPicksLoadRunDeviceLines) {
  fake.files.PutFile(win,
                     "[windows]\r\n  LOAD=C:\\A.EXE  \r\n;run=b.exe\nrun=\r\nDevice=x\r; load=c\r\n"
                     "loader=1\r\n[other]\r\nrun=d.exe");
  auto listing = ListIniLines(p, "Win.ini", prompts);
  ASSERT_TRUE(listing);
  EXPECT_FALSE(listing->notice);
  EXPECT_EQ(Lines(*listing), (std::vector<std::string>{"+load=c:\\a.exe", "-;run=b.exe", "+run=",
                                                      "+device=x", "+loader=1", "+run=d.exe"}));
}

TEST_F(IniTest, PlaceholderMissingFileAndUnknownWindowsFolder) {
  fake.files.PutFile(win, "[windows]\r\nfoo=1\r\n");
  auto listing = ListIniLines(p, "win.ini", prompts);
  ASSERT_TRUE(listing);
  EXPECT_TRUE(listing->notice);
  EXPECT_EQ(Lines(*listing), std::vector<std::string>{"+No additional driver found!"});
  EXPECT_FALSE(IniLineAfterCheck(listing->rows[0], true));  // the placeholder changes nothing

  listing = ListIniLines(p, "system.ini", prompts);  // no such file
  ASSERT_TRUE(listing);
  EXPECT_TRUE(listing->notice);
  ASSERT_EQ(listing->rows.size(), 1u);
  EXPECT_EQ(listing->rows[0].line, "Can not read C:\\windows\\system.ini!");

  fake.folders.SetWindowsDirectory("");
  EXPECT_FALSE(ListIniLines(p, "win.ini", prompts));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Error get Windows Dir!");
  EXPECT_EQ(prompts.shown[0].kind, PromptKind::Warning);
  EXPECT_EQ(prompts.shown[0].caption, "Scan INI files...");
  EXPECT_FALSE(ChangeIniLine(p, "win.ini", "run=", ";run=", prompts));
  EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST(IniCheckRule, WhatAClickWrites) {
  struct Case {
    const char* line;
    bool tickedNow;
    std::optional<std::string> want;
  } cases[] = {
      {";run=a.exe", true, "run=a.exe"},
      {"run=a.exe", false, ";run=a.exe"},
      {"run=a.exe", true, std::nullopt},
      {";run=a.exe", false, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(IniLineAfterCheck({c.line, !c.tickedNow}, c.tickedNow), c.want);
}

TEST_F(IniTest, ToggleRewritesEveryMatchingLineInPlace) {
  fake.files.PutFile(win, "[windows]\r\n  RUN=C:\\Tool.exe \r\nload=\r\nrun=c:\\tool.exe\nlast");
  auto listing = ListIniLines(p, "win.ini", prompts);
  ASSERT_TRUE(listing);
  const IniRow run = listing->rows[0];
  auto disabled = IniLineAfterCheck(run, false);
  ASSERT_TRUE(disabled);
  EXPECT_TRUE(ChangeIniLine(p, "win.ini", run.line, *disabled, prompts));
  EXPECT_EQ(Read(win), "[windows]\r\n;run=c:\\tool.exe\r\nload=\r\n;run=c:\\tool.exe\r\nlast\r\n");
  EXPECT_FALSE(fake.files.Exists(win + ".new"));
  listing = ListIniLines(p, "win.ini", prompts);
  EXPECT_EQ(Lines(*listing),
            (std::vector<std::string>{"-;run=c:\\tool.exe", "+load=", "-;run=c:\\tool.exe"}));

  EXPECT_TRUE(ChangeIniLine(p, "win.ini", ";run=c:\\tool.exe", "run=c:\\tool.exe", prompts));
  listing = ListIniLines(p, "win.ini", prompts);
  EXPECT_EQ(Lines(*listing),
            (std::vector<std::string>{"+run=c:\\tool.exe", "+load=", "+run=c:\\tool.exe"}));
}

TEST_F(IniTest, AFailedRewriteKeepsTheFile) {
  const std::string original = "[windows]\r\nrun=a.exe\r\n";
  fake.files.PutFile(win, original);
  {
    // the file is held open: it cannot be moved out of the way
    auto held = fake.files.Open(win, platform::OpenMode::Read);
    ASSERT_TRUE(held);
    EXPECT_FALSE(ChangeIniLine(p, "win.ini", "run=a.exe", ";run=a.exe", prompts));
  }
  EXPECT_EQ(Read(win), original);
  EXPECT_FALSE(fake.files.Exists(win + ".new"));

  // the ".new" file cannot be created
  fake.files.MakeFolders(win + ".new");
  EXPECT_FALSE(ChangeIniLine(p, "win.ini", "run=a.exe", ";run=a.exe", prompts));
  EXPECT_EQ(Read(win), original);
  ASSERT_TRUE(fake.files.RemoveDirectory(win + ".new"));

  // the disk fills up while the new content is written
  fake.files.SetFreeSpace(4);
  EXPECT_FALSE(ChangeIniLine(p, "win.ini", "run=a.exe", ";run=a.exe", prompts));
  EXPECT_EQ(Read(win), original);
  EXPECT_FALSE(fake.files.Exists(win + ".new"));
  fake.files.SetFreeSpace(std::nullopt);
  EXPECT_TRUE(ChangeIniLine(p, "win.ini", "run=a.exe", ";run=a.exe", prompts));
  EXPECT_EQ(Read(win), "[windows]\r\n;run=a.exe\r\n");
}

}  // namespace
}  // namespace morvanta::inspect

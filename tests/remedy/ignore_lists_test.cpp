// The ignore list files in their layouts, what a damaged file still yields, the rules the
// scans and removals ask, and on every machine: loading, the atomic save, and a Run value
// the registry list names surviving the startup value removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_test.h"
#include "platform/text.h"
#include "remedy/ignore_lists.h"
#include "remedy/process_ending.h"
#include "scan/ignored_paths.h"

namespace morvanta::remedy {
namespace {

using platform::RegRoot;
using platform::RegValue;

FileIgnoreList ParseFiles(const std::string& text) {
  return ParseFileIgnoreList(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
RegIgnoreList ParseRegistry(const std::string& text) {
  return ParseRegIgnoreList(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

const TFileIgnoreList kOdd = {"D:\\Odd", "File", "one", -7, 2147483647, "two", true, false};
const TRegIgnoreList kRunValue = {2, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tool",
                                  "kept on purpose", "c:\\tools\\tool.exe /s", true};

TEST(IgnoreListFiles, FieldsGoInTheFileOrderWithCrLfLines) {
  const FileIgnoreList files = {TFileIgnoreList::Folder("C:\\Tools"), kOdd};
  EXPECT_EQ(FormatFileIgnoreList(files),
            "2\r\n"
            "Folder\r\nC:\\Tools;\r\n\r\n\r\n0\r\n0\r\n0\r\n1\r\n"
            "File\r\nD:\\Odd\r\none\r\ntwo\r\n-7\r\n2147483647\r\n1\r\n0\r\n");
  EXPECT_EQ(ParseFiles(FormatFileIgnoreList(files)), files);
  const RegIgnoreList registry = {kRunValue, {0, "", "", "", "", false}};
  EXPECT_EQ(FormatRegIgnoreList(registry),
            "2\r\n"
            "2\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Run\r\nTool\r\nkept on purpose\r\n"
            "c:\\tools\\tool.exe /s\r\n1\r\n"
            "0\r\n\r\n\r\n\r\n\r\n0\r\n");
  EXPECT_EQ(ParseRegistry(FormatRegIgnoreList(registry)), registry);
  EXPECT_EQ(FormatFileIgnoreList({}), "0\r\n");
  EXPECT_EQ(FormatRegIgnoreList({}), "0\r\n");
  EXPECT_EQ(kRunValue.DisplayLine(),
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Tool");
  EXPECT_EQ((TRegIgnoreList{9, "K", "V", "", "", false}).DisplayLine(), "\\K\\V");
}

TEST(IgnoreListFiles, DamagedFilesYieldTheEntriesBeforeTheDamage) {
  const std::string two = FormatFileIgnoreList({TFileIgnoreList::Folder("C:\\A"), kOdd});
  const std::string body = two.substr(3);  // without the count line
  const struct {
    const char* what;
    std::string text;
    size_t entries;
  } cases[] = {
      {"empty", "", 0},
      {"no count", "Folder\r\nC:\\A;\r\n", 0},
      {"count 0 with entries after it", "0\r\n" + body, 0},
      {"negative count", "-3\r\n" + body, 0},
      {"count larger than the lines", "5\r\n" + body, 2},
      {"absurd count", "2000000000\r\n" + body, 2},
      {"count beyond 32 bits", "99999999999999999999\r\n" + body, 2},
      {"second entry cut short", two.substr(0, two.size() - 6), 1},
      {"a number that does not read", "2\r\n" + body.substr(0, body.find("-7")) + "x7\r\n", 1},
      {"LF line ends", "1\nFolder\nC:\\A;\n\n\n0\n0\n0\n1\n", 1},
      {"no end on the last line", "1\r\nFolder\r\nC:\\A;\r\n\r\n\r\n0\r\n0\r\n0\r\n1", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFiles(c.text).size(), c.entries) << c.what;
  // A flag other than "1" reads as false.
  EXPECT_FALSE(ParseFiles("1\r\nk\r\np\r\n\r\n\r\n0\r\n0\r\nyes\r\n2\r\n").at(0).SpareFlag2);

  const std::string reg = FormatRegIgnoreList({kRunValue, kRunValue});
  EXPECT_EQ(ParseRegistry("9\r\n" + reg.substr(3)).size(), 2u);
  EXPECT_EQ(ParseRegistry(reg.substr(0, reg.size() - 3)).size(), 1u);
  EXPECT_EQ(ParseRegistry("1\r\nHKLM\r\nkey\r\nname\r\n\r\n\r\n0\r\n").size(), 0u);
  EXPECT_EQ(ParseRegIgnoreList(nullptr, 0).size(), 0u);
}

TEST(IgnoreListRules, PathsAreTheFieldsOfEachEntry) {
  IgnoreLists lists;
  lists.files = {TFileIgnoreList::Folder("C:\\Tools"), TFileIgnoreList::Folder("D:\\")};
  for (const char* path : {"E:\\One;E:\\Two\\;", "F:\\single.exe", ";  ;"}) {
    lists.files.push_back(TFileIgnoreList::Folder(""));
    lists.files.back().EntryPath = path;
  }
  EXPECT_EQ(lists.IgnoredPaths(),
            (std::vector<std::string>{"C:\\Tools", "D:", "E:\\One", "E:\\Two", "F:\\single.exe"}));
}

TEST(IgnoreListRules, APathIsCoveredOnWholeComponentsWithoutRegardToCase) {
  const scan::IgnoredPaths ignored({"C:\\Tools", "d:\\", "E:\\Keep\\me.exe"});
  const struct {
    const char* path;
    bool covered;
  } cases[] = {
      {"C:\\Tools", true},           {"c:\\TOOLS\\", true},
      {"C:\\tools\\a\\b.exe", true}, {"C:\\Toolsmith", false},
      {"C:\\Toolsmith\\a.exe", false}, {"C:\\Tool", false},
      {"C:\\", false},               {"D:\\anything\\x.dll", true},
      {"D:", true},                  {"E:\\Keep\\ME.EXE", true},
      {"E:\\Keep\\me.exe.bak", false}, {"E:\\Keep", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ignored.Covers(c.path), c.covered) << c.path;
  EXPECT_FALSE(scan::IgnoredPaths().Covers("C:\\Tools"));
  EXPECT_TRUE(scan::IgnoredPaths({"", "\\"}).Empty());

  scan::SkippedPaths skipped;
  for (const char* path : {"C:\\Tools\\a", "c:\\tools\\A", "C:\\Tools\\b"}) skipped.Add(path);
  EXPECT_EQ(skipped.Paths(), (std::vector<std::string>{"C:\\Tools\\a", "C:\\Tools\\b"}));
}

TEST(IgnoreListRules, AValueIsNamedByRootKeyAndNameWithoutRegardToCase) {
  IgnoreLists lists;
  lists.registry = {kRunValue};
  const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  EXPECT_TRUE(lists.IgnoresValue(2, run, "tool"));
  EXPECT_TRUE(lists.IgnoresValue(2, run + "\\", "TOOL"));
  EXPECT_FALSE(lists.IgnoresValue(1, run, "Tool"));
  EXPECT_FALSE(lists.IgnoresValue(2, run + "Once", "Tool"));
  EXPECT_FALSE(lists.IgnoresValue(2, run, "Tool2"));
  EXPECT_FALSE(IgnoreLists{}.IgnoresValue(2, run, "Tool"));
}

MORVANTA_CONTRACT_SUITE(IgnoreListsOnMachine);

TEST_P(IgnoreListsOnMachine, LoadingLeavesAListWhoseFileIsMissingAndSavingReplacesWhole) {
  auto p = P();
  const std::string folder = M().Scratch() + "\\";
  IgnoreLists lists;
  lists.files = {TFileIgnoreList::Folder("C:\\Kept")};
  lists.Load(p.files, folder);  // neither file: both lists as they were
  ASSERT_EQ(lists.files.size(), 1u);

  ASSERT_TRUE(lists.Save(p.files, folder));
  EXPECT_FALSE(p.files.Exists(folder + kFileIgnoreFileName + std::string(".new")));
  const auto saved = p.files.ReadAll(folder + kRegIgnoreFileName);
  ASSERT_TRUE(saved);
  EXPECT_EQ(std::string(saved->begin(), saved->end()), "0\r\n");

  lists.files.push_back(TFileIgnoreList::Folder("C:\\Kept"));
  ASSERT_TRUE(lists.Save(p.files, folder));
  IgnoreLists again;
  again.registry = {kRunValue};
  again.Load(p.files, folder);
  EXPECT_EQ(again.files, lists.files);
  EXPECT_TRUE(again.registry.empty());  // its file holds none

  // A save that cannot be done leaves the file as it was.
  ASSERT_TRUE(p.files.CreateDirectory(folder + kFileIgnoreFileName + std::string(".new")));
  lists.files.clear();
  EXPECT_FALSE(lists.Save(p.files, folder));
  again.Load(p.files, folder);
  EXPECT_EQ(again.files.size(), 2u);
  EXPECT_TRUE(p.files.RemoveDirectory(folder + kFileIgnoreFileName + std::string(".new")));
}

TEST_P(IgnoreListsOnMachine, AnIgnoredRunValueSurvivesTheStartupValueRemoval) {
  auto p = P();
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string regBase = M().ScratchPath("RegBase.rgk");
  ASSERT_TRUE(p.files.WriteAll(regBase, "1\r\n1\r\n" + run + "\r\nRun\r\n"));
  const std::string file = M().ScratchPath("mvkept.exe");
  const std::string kept = "MorvantaIgnored-" + M().Tag(), gone = "MorvantaRemoved-" + M().Tag();
  {
    auto key = p.registry.CreateKey(RegRoot::CurrentUser, run);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteValue(kept, RegValue::FromString("\"" + file + "\" /start")));
    ASSERT_TRUE(key->WriteValue(gone, RegValue::FromString("\"" + file + "\"")));
  }
  IgnoreLists lists;
  lists.registry = {{1, platform::AsciiUpper(run) + "\\", platform::AsciiLower(kept), "", "", false}};
  const bool deleted = DeleteRegBaseValues(p.files, p.registry, regBase, file, lists);
  auto key = p.registry.OpenKey(RegRoot::CurrentUser, run, platform::RegAccess::All);
  ASSERT_TRUE(key);
  const bool keptThere = key->ReadValue(kept).has_value();
  const bool goneThere = key->ReadValue(gone).has_value();
  key->DeleteValue(kept);
  key->DeleteValue(gone);
  EXPECT_TRUE(deleted);
  EXPECT_TRUE(keptThere);
  EXPECT_FALSE(goneThere);
}

}  // namespace
}  // namespace morvanta::remedy

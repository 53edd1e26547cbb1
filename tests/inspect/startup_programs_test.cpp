// The tool window's startup programs: the derived program path, the place codes, moves
// between the live and "_Bak" keys, removal, and the Startup folder listing, on every
// machine (the real Run keys and Startup folder under Wine, with names of the test's own).
#include <gtest/gtest.h>

#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"
#include "inspect/startup_programs.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using platform::RegRoot;
using platform::RegValue;

TEST(DerivedProgramPath, TheFourShapesOfACommand) {
  struct Case {
    const char* command;
    const char* path;
  } cases[] = {
      // quoted program path followed by a switch
      {"\"C:\\Program Files\\Tray Tool\\TRAY.exe\" /background", "c:\\program files\\tray tool\\tray.exe"},
      // a quote after leading blanks is not dropped, only cut at its closing twin
      {"  \"C:\\A B\\x.EXE\"", "\"c:\\a b\\x.exe"},
      // rundll32, a library and its entry point
      {"RUNDLL32.EXE C:\\WINDOWS\\system32\\Helper.DLL,Start 1", "c:\\windows\\system32\\helper.dll"},
      {"rundll32.exe shell32.dll", "shell32.dll"},
      {"rundll32.exe", ""},
      // unquoted path with a blank after ".exe"
      {"C:\\Tools\\Agent.Exe -min -quiet.exe x", "c:\\tools\\agent.exe"},
      // none of these: lower-cased and trimmed
      {"\t C:\\Tools\\Agent.EXE \r\n", "c:\\tools\\agent.exe"},
      {"C:\\Program Files\\app.exe", "c:\\program files\\app.exe"},
      {"", ""},
      {"\"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DerivedProgramPath(c.command), c.path) << c.command;
}

TEST(StartupPlaceCodes, RootAndKeyOfEveryCode) {
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string services = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
  struct Case {
    const char* code;
    RegRoot root;
    std::string key;
  } cases[] = {
      {"HKCU", RegRoot::CurrentUser, run},
      {"HKCU_B", RegRoot::CurrentUser, run + "_Bak"},
      {"HKCU_S", RegRoot::CurrentUser, services},
      {"HKCU_S_B", RegRoot::CurrentUser, services + "_Bak"},
      {"HKLM", RegRoot::LocalMachine, run},
      {"HKLM_B", RegRoot::LocalMachine, run + "_Bak"},
      {"HKLM_S", RegRoot::LocalMachine, services},
      {"HKLM_S_B", RegRoot::LocalMachine, services + "_Bak"},
  };
  ASSERT_EQ(RegistryPlaceCodes().size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(std::string(RegistryPlaceCodes()[i]), c.code);
    EXPECT_EQ(RootOfCode(c.code), c.root) << c.code;
    EXPECT_EQ(KeyOfCode(c.code), c.key) << c.code;
  }
  EXPECT_EQ(RootOfCode("CU"), RegRoot::CurrentUser);
  EXPECT_EQ(RootOfCode("LM"), RegRoot::LocalMachine);
}

TEST(StartupCheckChange, OnlyAChangedBoxMovesAValue) {
  EXPECT_EQ(CheckChangeOf(true, false), CheckChange::Enable);
  EXPECT_EQ(CheckChangeOf(false, true), CheckChange::Disable);
  EXPECT_EQ(CheckChangeOf(true, true), CheckChange::None);
  EXPECT_EQ(CheckChangeOf(false, false), CheckChange::None);
}

MORVANTA_CONTRACT_SUITE(StartupPrograms);

// Values of the test's own in the real Run keys, removed from all four keys afterwards.
class RunValues {
 public:
  RunValues(platform::Registry& registry, const std::string& tag) : registry_(registry) {
    name_ = "MorvantaTest-" + tag;
  }
  ~RunValues() {
    for (const char* code : {"HKCU", "HKCU_B", "HKLM", "HKLM_B"})
      if (auto key = registry_.OpenKey(RootOfCode(code), KeyOfCode(code), platform::RegAccess::All))
        key->DeleteValue(name_);
  }
  const std::string& Name() const { return name_; }
  void Put(const std::string& code, const std::string& data) {
    auto key = registry_.CreateKey(RootOfCode(code), KeyOfCode(code));
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteValue(name_, RegValue::FromString(data)));
  }
  std::optional<std::string> Get(const std::string& code) {
    auto key = registry_.OpenKey(RootOfCode(code), KeyOfCode(code), platform::RegAccess::Read);
    if (!key) return std::nullopt;
    auto v = key->ReadValue(name_);
    if (!v || !v->IsText()) return std::nullopt;
    return v->AsText();
  }
  std::optional<StartupRegEntry> Listed(const std::string& code) {
    for (const auto& e : LoadFromReg(registry_, code))
      if (e.name == name_) return e;
    return std::nullopt;
  }

 private:
  platform::Registry& registry_;
  std::string name_;
};

TEST_P(StartupPrograms, DisablingAndEnablingMovesBetweenRunAndRunBak) {
  auto p = P();
  for (std::string code : {"HKCU", "HKLM"}) {
    RunValues v(p.registry, code + M().Tag());
    const std::string command = "\"C:\\Mv Test\\Tray.exe\" /min";
    v.Put(code, command);
    v.Put(code + "_B", "stale copy");  // a same-named value in the target is overwritten

    auto listed = v.Listed(code);
    ASSERT_TRUE(listed) << code;
    EXPECT_TRUE(listed->enabled);
    EXPECT_EQ(listed->programPath, "c:\\mv test\\tray.exe");

    StartupRegEntry row = *listed;
    EXPECT_EQ(ChangeReg(p.registry, row, /*ticked=*/false, false), ChangeResult::Done);
    EXPECT_FALSE(v.Get(code)) << code;
    EXPECT_EQ(v.Get(code + "_B"), command) << code;
    auto disabled = v.Listed(code + "_B");
    ASSERT_TRUE(disabled);
    EXPECT_FALSE(disabled->enabled);

    // The row keeps its code; the check state gives the direction, the marker the source.
    row.enabled = false;
    EXPECT_EQ(ChangeReg(p.registry, row, /*ticked=*/true, false), ChangeResult::Done);
    EXPECT_EQ(v.Get(code), command) << code;
    EXPECT_FALSE(v.Get(code + "_B")) << code;
  }
}

TEST_P(StartupPrograms, RemovingLeavesNoCopyInEitherKey) {
  auto p = P();
  for (bool ticked : {true, false}) {
    RunValues v(p.registry, std::string(ticked ? "on" : "off") + M().Tag());
    v.Put("HKCU", "c:\\one.exe");
    v.Put("HKCU_B", "c:\\one.exe");
    const std::string code = ticked ? "HKCU" : "HKCU_B";
    auto row = v.Listed(code);
    ASSERT_TRUE(row);
    EXPECT_EQ(ChangeReg(p.registry, *row, ticked, /*remove=*/true), ChangeResult::Done);
    EXPECT_FALSE(v.Get("HKCU")) << ticked;
    EXPECT_FALSE(v.Get("HKCU_B")) << ticked;
  }
}

TEST_P(StartupPrograms, StartupFolderListsShortcutTargetsAndPlainFiles) {
  auto p = P();
  // Asking for the folder makes the shell record it under "Shell Folders" too.
  const std::string startup = p.folders.SpecialFolder(platform::csidl::Startup);
  platform::RegistryObject reg(p.registry);
  if (!M().IsReal()) {
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true));
    reg.WriteString("Startup", M().Scratch());
  }
  ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", false));
  const std::string folder = reg.ReadString("Startup").value_or("");
  reg.CloseKey();
  if (folder.empty()) GTEST_SKIP() << "no Startup folder recorded on this machine";
  p.files.CreateDirectory(folder);

  const std::string tag = M().Tag();
  const std::string target = M().ScratchPath("target" + tag + ".exe");
  ASSERT_TRUE(p.files.WriteAll(target, "MZ target"));
  const std::string link = folder + "\\MvTest" + tag + ".lnk";
  const std::string plain = folder + "\\MvTest" + tag + ".ini";
  ASSERT_TRUE(p.shell.CreateShortcut(link, target));
  ASSERT_TRUE(p.files.WriteAll(plain, "[settings]\r\n"));

  auto entries = LoadFromDir(p, "CU");
  p.files.DeleteFile(link);
  p.files.DeleteFile(plain);

  auto find = [&](const std::string& name) -> const StartupFolderEntry* {
    for (const auto& e : entries)
      if (e.fileName == name) return &e;
    return nullptr;
  };
  const auto* l = find("MvTest" + tag + ".lnk");
  ASSERT_TRUE(l);
  EXPECT_TRUE(platform::EqualsNoCase(l->target, target)) << l->target;
  EXPECT_EQ(l->code, "CU");
  EXPECT_EQ(l->fullPath, link);
  const auto* f = find("MvTest" + tag + ".ini");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->target, plain);
  EXPECT_TRUE(std::none_of(entries.begin(), entries.end(), [](const StartupFolderEntry& e) {
    return e.fileName == "." || e.fileName == "..";
  }));
}

TEST(StartupProgramsFake, NonTextValuesAreLeftOutAndMissingPlacesAddNothing) {
  platform::fake::FakePlatform m;
  auto key = m.registry.CreateKey(RegRoot::LocalMachine, KeyOfCode("HKLM_S_B"));
  key->WriteValue("bin", RegValue::FromBinary({1, 2}));
  key->WriteValue("num", RegValue::FromDword(3));
  key->WriteValue("txt", RegValue::FromString("c:\\svc.exe"));
  auto all = LoadAllFromReg(m.registry);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].name, "txt");
  EXPECT_EQ(all[0].code, "HKLM_S_B");
  EXPECT_FALSE(all[0].enabled);
  EXPECT_TRUE(LoadAllFromDirs(m.Get()).empty());  // no Shell Folders values
}

TEST(StartupProgramsFake, AMoveThatCannotWriteKeepsTheValueWhereItWas) {
  struct Case {
    const char* name;
    void (platform::fake::FakeRegistry::*fail)(RegRoot, const std::string&);
  } cases[] = {{"target does not open", &platform::fake::FakeRegistry::DenyWrite},
               {"write fails", &platform::fake::FakeRegistry::FailValueChanges}};
  for (const auto& c : cases) {
    platform::fake::FakePlatform m;
    m.registry.CreateKey(RegRoot::LocalMachine, KeyOfCode("HKLM"))
        ->WriteValue("a", RegValue::FromString("c:\\a.exe"));
    m.registry.CreateKey(RegRoot::LocalMachine, KeyOfCode("HKLM_B"));
    (m.registry.*c.fail)(RegRoot::LocalMachine, KeyOfCode("HKLM_B"));
    const StartupRegEntry row = LoadFromReg(m.registry, "HKLM").at(0);
    EXPECT_EQ(ChangeReg(m.registry, row, false, false), ChangeResult::Failed) << c.name;
    ASSERT_EQ(LoadFromReg(m.registry, "HKLM").size(), 1u) << c.name;
    EXPECT_EQ(LoadFromReg(m.registry, "HKLM")[0].command, "c:\\a.exe") << c.name;
  }
}

TEST(StartupProgramsFake, AStaleRowMovesNothing) {
  platform::fake::FakePlatform m;
  auto live = m.registry.CreateKey(RegRoot::CurrentUser, KeyOfCode("HKCU"));
  live->WriteValue("a", RegValue::FromString("c:\\a.exe"));
  const StartupRegEntry row = LoadFromReg(m.registry, "HKCU").at(0);
  // Changed behind the list's back, then deleted (as the main window's page can).
  live->WriteValue("a", RegValue::FromString("c:\\other.exe"));
  EXPECT_EQ(ChangeReg(m.registry, row, false, false), ChangeResult::Stale);
  EXPECT_EQ(ChangeReg(m.registry, row, true, true), ChangeResult::Stale);
  EXPECT_EQ(LoadFromReg(m.registry, "HKCU").at(0).command, "c:\\other.exe");
  EXPECT_TRUE(LoadFromReg(m.registry, "HKCU_B").empty());
  live->DeleteValue("a");
  EXPECT_EQ(ChangeReg(m.registry, row, false, false), ChangeResult::Stale);
  EXPECT_TRUE(LoadFromReg(m.registry, "HKCU_B").empty());
}

TEST(StartupProgramsFake, AnExpandableValueKeepsItsTypeOnTheMove) {
  platform::fake::FakePlatform m;
  m.registry.CreateKey(RegRoot::CurrentUser, KeyOfCode("HKCU"))
      ->WriteValue("e", RegValue::FromString("%ProgramFiles%\\e.exe", platform::RegType::ExpandString));
  ASSERT_EQ(ChangeReg(m.registry, LoadFromReg(m.registry, "HKCU").at(0), false, false),
            ChangeResult::Done);
  auto moved = m.registry.OpenKey(RegRoot::CurrentUser, KeyOfCode("HKCU_B"), platform::RegAccess::Read)
                   ->ReadValue("e");
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->type, platform::RegType::ExpandString);
}

}  // namespace
}  // namespace morvanta::inspect
